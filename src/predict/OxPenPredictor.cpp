// The guess of where the pen goes next: a parabola through the last samples, held back where the
// pen slows, turns or would outrun its recent steps.

#include "OxPenPredictor.h"

#include "OxFiniteSample_p.h"

#include <algorithm>
#include <cmath>

using quillmark::detail::isFiniteSample;

namespace {
// An interval this many times the median of the others (and longer than kMinPauseMs) is a
// pause: the motion before it says nothing about the motion after it.
constexpr double kPauseFactor = 3.0;
constexpr double kMinPauseMs = 20.0;
// A last step shorter than the mean of the steps before it shrinks the guess by the ratio to
// this power: a pen that is stopping has usually slowed over the last steps already.
constexpr double kSlowingPower = 2.0;
// A turn between the last two steps beyond kTurnStartDeg shrinks the guess linearly, to nothing
// at kTurnStartDeg + kTurnSpanDeg: after a sharp corner the new direction is not known yet.
constexpr double kTurnStartDeg = 30.0;
constexpr double kTurnSpanDeg = 90.0;
// Pressure follows this share of its recent slope: a full slope overshoots at the ramps.
constexpr double kPressureSlopeShare = 0.5;

constexpr double kPi = 3.14159265358979323846;
// cos(kTurnStartDeg): a turn is sharper than kTurnStartDeg where the cosine is below it.
constexpr double kTurnStartCosine = 0.86602540378443864676;

struct Vec
{
    double x = 0, y = 0;
};

Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator*(Vec a, double s) { return {a.x * s, a.y * s}; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
double length(Vec a) { return std::sqrt(dot(a, a)); }

constexpr int kMaxFit = OxPenPredictor::kFitSamples;

// The least-squares fits through n samples taken one interval apart, at k = -(n - 1) .. 0
// intervals from the newest: each coefficient a fixed weighted sum of the values, so the weights
// are worked out once per n. slope and curve are the k and k^2 coefficients of a parabola (a line
// for two samples), lineSlope the slope of a straight line.
struct FitWeights
{
    double slope[kMaxFit] = {};
    double curve[kMaxFit] = {};
    double lineSlope[kMaxFit] = {};
};

constexpr double det3(const double m[3][3])
{
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1])
           - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0])
           + m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

// Row j of (A^T A)^-1 A^T for the basis 1, k, k^2 (A's rows: 1, k_i, k_i^2), by Cramer's rule:
// coefficient j of the fit is the sum over i of row[i] * v_i.
constexpr void parabolaRow(int n, int j, double row[kMaxFit])
{
    double s[5] = {};   // sums of k^0 .. k^4
    for (int i = 0; i < n; ++i) {
        const double k = i - (n - 1);
        double p = 1;
        for (double &sum : s) {
            sum += p;
            p *= k;
        }
    }
    const double normal[3][3] = {{s[0], s[1], s[2]}, {s[1], s[2], s[3]}, {s[2], s[3], s[4]}};
    const double det = det3(normal);
    for (int i = 0; i < n; ++i) {
        const double k = i - (n - 1);
        const double basis[3] = {1, k, k * k};
        double m[3][3] = {};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                m[r][c] = c == j ? basis[r] : normal[r][c];
        }
        row[i] = det3(m) / det;
    }
}

constexpr FitWeights fitWeights(int n)
{
    FitWeights w;
    double mean = 0, spread = 0;
    for (int i = 0; i < n; ++i)
        mean += double(i - (n - 1)) / n;
    for (int i = 0; i < n; ++i)
        spread += (i - (n - 1) - mean) * (i - (n - 1) - mean);
    for (int i = 0; i < n; ++i)
        w.lineSlope[i] = (i - (n - 1) - mean) / spread;
    if (n >= 3) {
        parabolaRow(n, 1, w.slope);
        parabolaRow(n, 2, w.curve);
    } else {
        for (int i = 0; i < n; ++i)
            w.slope[i] = w.lineSlope[i];
    }
    return w;
}

// Indexed by the number of samples fitted, 2 to kMaxFit.
constexpr FitWeights kFits[kMaxFit + 1] = {FitWeights(), FitWeights(), fitWeights(2),
                                           fitWeights(3), fitWeights(4), fitWeights(5)};
static_assert(kMaxFit == 5, "kFits lists a fit for every sample count up to kFitSamples");

// The first of the last samples that still belongs to the current motion: the one after the
// latest pause, if any.
int motionStart(const OxInkPoint *samples, int count)
{
    const int first = std::max(0, count - OxPenPredictor::kFitSamples);
    const int intervals = count - 1 - first;
    double sorted[OxPenPredictor::kFitSamples];
    double longest = 0;
    for (int i = 0; i < intervals; ++i) {
        sorted[i] = samples[first + i + 1].time - samples[first + i].time;
        longest = std::max(longest, sorted[i]);
    }
    if (intervals < 2 || !(longest > kMinPauseMs))   // no pause: the usual case, decided early
        return first;
    // At most four intervals: sorted by insertion (std::sort's general path is more than they
    // need, and gcc's bounds check takes it for reads past the array).
    for (int i = 1; i < intervals; ++i)
        for (int j = i; j > 0 && sorted[j] < sorted[j - 1]; --j)
            std::swap(sorted[j], sorted[j - 1]);
    const double median = sorted[intervals / 2];
    for (int i = count - 1; i > first; --i) {
        const double interval = samples[i].time - samples[i - 1].time;
        if (interval > kMinPauseMs && interval > kPauseFactor * std::max(median, 1.0))
            return i;
    }
    return first;
}

// What the recent motion says: the fitted motion at the last sample, and by how much to trust it.
struct Motion
{
    Vec velocity;       // per ms
    Vec acceleration;   // per ms^2
    double pressureSlope = 0;   // per ms
    double trust = 1;           // 0 to 1: how much of the guess to keep
    double fastestStep = 0;     // units per ms
};

Motion recentMotion(const OxInkPoint *samples, int from, int count)
{
    Motion m;
    const int n = count - from;
    const double span = samples[count - 1].time - samples[from].time;
    if (n < 2 || !(span > 0))
        return m;
    // Taken at the mean interval: the samples of a pen come at a steady rate even where the
    // clock that stamps them ticks coarsely.
    const double perInterval = (n - 1) / span;
    const FitWeights &w = kFits[n];
    Vec slope, curve;
    double pressureSlope = 0;
    for (int i = 0; i < n; ++i) {
        const OxInkPoint &s = samples[from + i];
        const Vec at{s.x, s.y};
        slope = slope + at * w.slope[i];
        curve = curve + at * w.curve[i];
        pressureSlope += w.lineSlope[i] * s.pressure;
    }
    m.velocity = slope * perInterval;
    m.acceleration = curve * (2 * perInterval * perInterval);
    m.pressureSlope = pressureSlope * perInterval;

    double steps[OxPenPredictor::kFitSamples] = {};
    Vec last, beforeLast;
    double fastest = 0;
    for (int i = 1; i < n; ++i) {
        const Vec step{double(samples[from + i].x) - samples[from + i - 1].x,
                       double(samples[from + i].y) - samples[from + i - 1].y};
        steps[i - 1] = length(step);
        fastest = std::max(fastest, steps[i - 1]);
        beforeLast = last;
        last = step;
    }
    m.fastestStep = fastest * perInterval;
    if (n >= 3) {
        double earlier = 0;   // the steps before the last, summed
        for (int i = 0; i < n - 2; ++i)
            earlier += steps[i];
        const double ratio = steps[n - 2] * (n - 2) / earlier;   // last step over their mean
        if (earlier > 0 && ratio < 1)
            m.trust *= std::pow(ratio, kSlowingPower);
        const double lengths = steps[n - 2] * steps[n - 3];
        const double cosine = lengths > 0 ? dot(last, beforeLast) / lengths : 1;
        if (cosine < kTurnStartCosine) {
            // In float: plenty for a factor, and several times faster.
            const double turn = std::acos(std::max(float(cosine), -1.0f)) * 180 / kPi;
            m.trust *= std::max(0.0, 1 - (turn - kTurnStartDeg) / kTurnSpanDeg);
        }
    }
    return m;
}

// How far the pen moves in ms after the last sample.
Vec displacement(const Motion &m, double ms)
{
    double moving = ms;
    const double slowing = dot(m.velocity, m.acceleration);
    if (slowing < 0)   // it stops where the speed along its way reaches zero
        moving = std::min(ms, dot(m.velocity, m.velocity) / -slowing);
    Vec d = (m.velocity * moving + m.acceleration * (0.5 * moving * moving)) * m.trust;
    const double reach = m.fastestStep * ms;
    const double len = length(d);
    if (len > reach)
        d = len > 0 ? d * (reach / len) : Vec();
    return d;
}
} // namespace

bool OxPenPredictor::isUsableHorizon(double horizonMs)
{
    return std::isfinite(horizonMs) && horizonMs > 0 && horizonMs <= kMaxHorizonMs;
}

std::vector<OxInkPoint> OxPenPredictor::predict(const std::vector<OxInkPoint> &samples,
                                                double horizonMs)
{
    return predict(samples.data(), int(samples.size()), horizonMs);
}

std::vector<OxInkPoint> OxPenPredictor::predict(const OxInkPoint *samples, int count,
                                                double horizonMs)
{
    if (!samples || count <= 0 || !isUsableHorizon(horizonMs))
        return {};
    for (int i = std::max(0, count - kFitSamples); i < count; ++i) {
        if (!isFiniteSample(samples[i]))
            return {};
    }
    const Motion motion = recentMotion(samples, motionStart(samples, count), count);
    const OxInkPoint &last = samples[count - 1];
    const int frames = std::max(1, int(std::ceil(horizonMs / kFrameMs - 1e-9)));
    std::vector<OxInkPoint> predicted;
    predicted.reserve(size_t(frames));
    for (int k = 1; k <= frames; ++k) {
        const double ms = horizonMs * k / frames;
        const Vec d = displacement(motion, ms);
        const double pressure = std::clamp(
            last.pressure + kPressureSlopeShare * motion.pressureSlope * ms, 0.0, 1.0);
        predicted.emplace_back(float(last.x + d.x), float(last.y + d.y), last.time + ms,
                               float(pressure), 0.0f, 0.0f);
    }
    return predicted;
}
