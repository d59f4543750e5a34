#ifndef QUILLMARK_BENCH_STROKETIMING_H
#define QUILLMARK_BENCH_STROKETIMING_H

// Feeds recorded strokes to a subject sample by sample, several times over, and keeps the time
// of every phase call.

#include "StrokeFeed.h"

#include <functional>
#include <vector>

struct TimingLimits
{
    int runs = 5;              // repetitions of the whole input, each on fresh engines
    double budgetSeconds = 20; // no further repetition starts once it would exceed this
    double runCapSeconds = 90; // a repetition is cut off here (only the first can get so far)
    // When the budget allows fewer runs than asked for, the first `earlyPrefix` samples are still
    // timed `runs` times: repetitions that stop after them are cheap at any cost per sample.
    size_t earlyPrefix = 0;
};

struct InputTimes
{
    // Per sample (the strokes one after the other), the smallest time over the repetitions.
    std::vector<double> micros;
    // Every complete repetition's times, sample by sample.
    std::vector<std::vector<double>> runTimes;
    int runs = 0;       // complete repetitions
    int prefixRuns = 0; // repetitions of the first earlyPrefix samples, the complete ones included
    bool cutOff = false;  // the first repetition hit runCapSeconds; micros holds what it reached
    // The last repetition's engine after its last stroke, and the last rectangle it reported.
    std::unique_ptr<StrokeFeed> finalFeed;
    QRectF finalDirty;
};

// Feeds samples [0, n) of stroke to feed (startCreate, creating, ..., endCreate) and hands each
// call to visit; stops early when visit returns false. A paced feed gets each sample no earlier
// than its recorded time after the first sample. Returns the number of samples fed.
size_t feedStroke(StrokeFeed &feed, const RecordedStroke &stroke, size_t n, bool paced,
                  const std::function<bool(const TimedCall &)> &visit);

// Feeds each stroke to a fresh engine (startCreate, creating, ..., endCreate), at most
// maxSamples samples of each (the last of them gets the end call), paced if the subject is.
InputTimes timeStrokes(const Subject &subject, const std::vector<RecordedStroke> &strokes,
                       size_t maxSamples, const TimingLimits &limits);

#endif
