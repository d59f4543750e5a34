#ifndef OXPENPREDICTOR_H
#define OXPENPREDICTOR_H

#include "OxInkPoint.h"
#include "QuillmarkExport.h"

#include <vector>

// Where the pen will be over the next few milliseconds, guessed from the samples of the stroke so
// far: ink drawn there hides part of the time between the pen touching a point and its ink on the
// screen. A pure function: it keeps nothing between calls or strokes and reads only the last
// kFitSamples samples, so a call costs the same early and late in a stroke.
//
// Use: after each real sample, predict(samples, count, horizonMs) with the stroke's samples so
// far (oldest first; x, y, time in ms on any clock, pressure 0 to 1). It returns one predicted
// sample per kFrameMs of horizon (at least one), evenly spaced in time up to horizonMs after the
// last sample, each with its position, time stamp and pressure.
//
// How: a least-squares parabola through the last samples (after a pause, only those after it),
// taken at the recent mean interval so that time stamps rounded to a coarse clock do not jolt the
// speed; carried forward from the last sample, and held back where the motion gives reason:
//   - a slowing pen stops where the parabola's speed reaches zero instead of turning back;
//   - a last step shorter than the steps before it shrinks the guess (by the square of the ratio);
//   - a sharp turn between the last two steps shrinks it, to nothing at 120 degrees;
//   - the guess never goes farther than the fastest recent step would carry the pen.
// Pressure follows half its recent slope, bounded to 0..1. On the recorded strokes of data/ the
// guess 16 ms ahead lies at about 0.4 of the distance the pen really travels, and never farther
// off in the 90th percentile than not guessing (bench/predict prints the table).
//
// Bad input gives no samples: a horizon that is not a finite number in (0, kMaxHorizonMs], no
// samples, or a sample among the last kFitSamples with a coordinate, time or pressure that is not
// finite. A single sample, or samples that all share one time stamp, give the last sample held.
class QUILLMARK_EXPORT OxPenPredictor
{
public:
    // Longer horizons guess too far to be of use.
    static constexpr double kMaxHorizonMs = 100;
    // One predicted sample per display frame of horizon.
    static constexpr double kFrameMs = 16;
    // The fit reads this many samples: at 100 to 240 Hz, the last 20 to 50 ms.
    static constexpr int kFitSamples = 5;

    static std::vector<OxInkPoint> predict(const OxInkPoint *samples, int count, double horizonMs);
    static std::vector<OxInkPoint> predict(const std::vector<OxInkPoint> &samples,
                                           double horizonMs);
    // Whether horizonMs is one predict() accepts.
    static bool isUsableHorizon(double horizonMs);
};

#endif
