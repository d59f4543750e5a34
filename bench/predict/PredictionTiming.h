#ifndef QUILLMARK_BENCH_PREDICTIONTIMING_H
#define QUILLMARK_BENCH_PREDICTIONTIMING_H

#include "StrokeFile.h"

// Prints, per engine, what a sample costs early (samples 100-199) and late (9,900-9,999) in a
// long stroke: the real call alone; the real call with a 16 ms prediction drawn (the previous one
// taken back, the predicted samples drawn), without and with the library's predictor; and the
// predictor alone. Each sample's time is its smallest over runs on fresh engines; medians and
// 99th percentiles are taken over those.
void printPredictionTiming(const RecordedStroke &stroke, int runs);

#endif
