#ifndef QUILLMARK_BENCH_PREDICTORERRORTABLE_H
#define QUILLMARK_BENCH_PREDICTORERRORTABLE_H

#include "StrokeFile.h"

#include <string>
#include <vector>

struct NamedRecording
{
    std::string name;
    std::vector<RecordedStroke> strokes;
};

// Prints the pen predictor's misses at 8, 16 and 33 ms on each recording: median and 90th
// percentile, predicted against predicting nothing, over every sample and over the samples where
// the pen was stopping or turning.
void printPredictorErrorTable(const std::vector<NamedRecording> &recordings);

#endif
