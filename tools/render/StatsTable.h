#ifndef QUILLMARK_RENDER_STATSTABLE_H
#define QUILLMARK_RENDER_STATSTABLE_H

// Per-engine figures of a run and the table that prints them.

#include "EngineDrawing.h"

#include <string>

struct EngineStats
{
    std::string engine;
    size_t strokes = 0;
    size_t samples = 0;
    // Samples of the calls that reported a change, plus the sample that opens each stroke.
    size_t accepted = 0;
    size_t elements = 0;
    // Time per sample: a call's time shared evenly among the samples it handed over (a closing
    // call that repeats a sample adds to that sample).
    double meanMicros = 0;
    double p99Micros = 0;  // nearest rank
    double maxMicros = 0;
    double repaintedArea = 0;    // sum of the reported rectangles' areas
    double fullRepaintArea = 0;  // the drawing's bounds repainted for every sample
};

EngineStats engineStats(const EngineDrawing &drawing);

// One row per engine under a header line.
std::string statsTable(const std::vector<EngineStats> &rows);

#endif
