#ifndef QUILLMARK_PREDICTIONERROR_H
#define QUILLMARK_PREDICTIONERROR_H

// How far the pen predictor's guesses land from where the pen really was, over recorded strokes:
// for each sample (as the newest one) whose stroke goes on for the horizon, the position the
// recording gives horizonMs later (interpolated between its samples) is compared with the last
// predicted sample and with the newest sample itself (predicting nothing). Used by the
// predictor's benchmark table and by its tests.

#include "StrokeFile.h"

#include <vector>

struct PredictionMiss
{
    double predicted = 0;   // distance of the last predicted sample from the real position
    double held = 0;        // distance of the newest sample (no prediction) from it
    double pressure = 0;    // |predicted pressure - real pressure|
    bool stopping = false;  // the pen covers less than 0.3 of what its last step's speed would
    bool turning = false;   // the pen's way ahead turns more than 60 degrees from its last step
};

// The misses of OxPenPredictor at horizonMs over every stroke.
std::vector<PredictionMiss> predictionMisses(const std::vector<RecordedStroke> &strokes,
                                             double horizonMs);

// The value at quantile q (0 to 1) of values, nearest rank; 0 for none.
double quantile(std::vector<double> values, double q);

#endif
