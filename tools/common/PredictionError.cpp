#include "PredictionError.h"

#include "OxPenPredictor.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
// The pen is stopping when it covers less than this share of what its last step's speed would
// carry it, and turning when its way ahead leaves its last step by more than kTurningDeg.
constexpr double kStoppingShare = 0.3;
constexpr double kTurningDeg = 60.0;
// Shorter moves have no direction worth measuring.
constexpr double kMinMove = 0.5;

struct Position
{
    double x, y, pressure;
};

// Where the recording puts the pen at time ms: between the last sample stamped at or before it
// and the next one.
Position positionAt(const RecordedStroke &stroke, double ms)
{
    size_t j = 0;
    while (j + 1 < stroke.size() && double(stroke[j + 1].timeMs) <= ms)
        ++j;
    const RecordedSample &a = stroke[j];
    if (j + 1 >= stroke.size())
        return {a.x, a.y, a.pressure};
    const RecordedSample &b = stroke[j + 1];
    const double span = double(b.timeMs - a.timeMs);
    const double f = span > 0 ? (ms - double(a.timeMs)) / span : 1.0;
    return {a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f,
            a.pressure + (b.pressure - a.pressure) * f};
}

OxInkPoint inkPoint(const RecordedSample &s)
{
    return OxInkPoint(float(s.x), float(s.y), double(s.timeMs), s.pressure, 0, 0);
}
} // namespace

std::vector<PredictionMiss> predictionMisses(const std::vector<RecordedStroke> &strokes,
                                             double horizonMs)
{
    std::vector<PredictionMiss> misses;
    for (const RecordedStroke &stroke : strokes) {
        std::vector<OxInkPoint> seen;
        for (size_t i = 0; i < stroke.size(); ++i) {
            seen.push_back(inkPoint(stroke[i]));
            const double when = double(stroke[i].timeMs) + horizonMs;
            if (when > double(stroke.back().timeMs))
                break;
            const Position real = positionAt(stroke, when);
            const std::vector<OxInkPoint> guess = OxPenPredictor::predict(seen, horizonMs);
            if (guess.empty())
                continue;
            const OxInkPoint &last = seen.back();
            PredictionMiss miss;
            miss.predicted = std::hypot(guess.back().x - real.x, guess.back().y - real.y);
            miss.held = std::hypot(last.x - real.x, last.y - real.y);
            miss.pressure = std::fabs(guess.back().pressure - real.pressure);
            if (i > 0) {
                const double sx = stroke[i].x - stroke[i - 1].x, sy = stroke[i].y - stroke[i - 1].y;
                const double step = std::hypot(sx, sy);
                const double interval =
                    std::max(double(stroke[i].timeMs - stroke[i - 1].timeMs), 1.0);
                const double speed = step / interval;
                miss.stopping = speed > 0.2 && miss.held < kStoppingShare * speed * horizonMs;
                if (step > kMinMove && miss.held > kMinMove) {
                    const double ax = real.x - last.x, ay = real.y - last.y;
                    const double c =
                        std::clamp((sx * ax + sy * ay) / (step * miss.held), -1.0, 1.0);
                    miss.turning = std::acos(c) * 180 / kPi > kTurningDeg;
                }
            }
            misses.push_back(miss);
        }
    }
    return misses;
}

double quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(q * double(values.size()));
    const size_t index = size_t(std::clamp(rank, 1.0, double(values.size()))) - 1;
    return values[index];
}
