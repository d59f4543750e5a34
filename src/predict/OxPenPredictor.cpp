// The guess of where the pen goes next: a parabola through the last samples, held back where the
// pen slows, turns or would outrun its recent steps.

#include "OxPenPredictor.h"

#include "OxFiniteSample_p.h"

#include <algorithm>
#include <array>
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

struct Vec
{
    double x = 0, y = 0;
};

Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator*(Vec a, double s) { return {a.x * s, a.y * s}; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
double length(Vec a) { return std::hypot(a.x, a.y); }

// Least-squares polynomial of degree 1 or 2 through (t[i], v[i]); coefficients of 1, t, t^2.
// Solved by Cramer's rule on the normal equations (a handful of points, all t near 0).
std::array<double, 3> fitPolynomial(const double *t, const double *v, int n, int degree)
{
    double s[5] = {}, r[3] = {};
    for (int i = 0; i < n; ++i) {
        double p = 1;
        for (int k = 0; k < 5; ++k) {
            s[k] += p;
            if (k < 3)
                r[k] += p * v[i];
            p *= t[i];
        }
    }
    if (degree == 1) {
        const double det = s[0] * s[2] - s[1] * s[1];
        if (det == 0)
            return {v[n - 1], 0, 0};
        return {(r[0] * s[2] - s[1] * r[1]) / det, (s[0] * r[1] - s[1] * r[0]) / det, 0};
    }
    auto det3 = [](double a, double b, double c, double d, double e, double f, double g,
                   double h, double i) {
        return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    };
    const double det = det3(s[0], s[1], s[2], s[1], s[2], s[3], s[2], s[3], s[4]);
    if (det == 0)
        return fitPolynomial(t, v, n, 1);
    return {det3(r[0], s[1], s[2], r[1], s[2], s[3], r[2], s[3], s[4]) / det,
            det3(s[0], r[0], s[2], s[1], r[1], s[3], s[2], r[2], s[4]) / det,
            det3(s[0], s[1], r[0], s[1], s[2], r[1], s[2], s[3], r[2]) / det};
}

// The first of the last samples that still belongs to the current motion: the one after the
// latest pause, if any.
int motionStart(const OxInkPoint *samples, int count)
{
    const int first = std::max(0, count - OxPenPredictor::kFitSamples);
    const int intervals = count - 1 - first;
    if (intervals < 2)
        return first;
    double sorted[OxPenPredictor::kFitSamples];
    for (int i = 0; i < intervals; ++i)
        sorted[i] = samples[first + i + 1].time - samples[first + i].time;
    std::sort(sorted, sorted + intervals);
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
    const double interval = span / (n - 1);
    double t[OxPenPredictor::kFitSamples], x[OxPenPredictor::kFitSamples],
        y[OxPenPredictor::kFitSamples], p[OxPenPredictor::kFitSamples];
    for (int i = 0; i < n; ++i) {
        const OxInkPoint &s = samples[from + i];
        t[i] = (i - (n - 1)) * interval;
        x[i] = s.x;
        y[i] = s.y;
        p[i] = s.pressure;
    }
    const int degree = n >= 3 ? 2 : 1;
    const std::array<double, 3> fx = fitPolynomial(t, x, n, degree);
    const std::array<double, 3> fy = fitPolynomial(t, y, n, degree);
    m.velocity = {fx[1], fy[1]};
    m.acceleration = {2 * fx[2], 2 * fy[2]};
    m.pressureSlope = fitPolynomial(t, p, n, 1)[1];

    double steps[OxPenPredictor::kFitSamples] = {};
    Vec last, beforeLast;
    for (int i = 1; i < n; ++i) {
        const Vec step{double(samples[from + i].x) - samples[from + i - 1].x,
                       double(samples[from + i].y) - samples[from + i - 1].y};
        steps[i - 1] = length(step);
        m.fastestStep = std::max(m.fastestStep, steps[i - 1] / interval);
        beforeLast = last;
        last = step;
    }
    if (n >= 3) {
        double earlier = 0;
        for (int i = 0; i < n - 2; ++i)
            earlier += steps[i];
        earlier /= n - 2;
        const double ratio = steps[n - 2] / earlier;
        if (earlier > 0 && ratio < 1)
            m.trust *= std::pow(ratio, kSlowingPower);
        const double lengths = length(last) * length(beforeLast);
        if (lengths > 0) {
            const double cosine = std::clamp(dot(last, beforeLast) / lengths, -1.0, 1.0);
            const double turn = std::acos(cosine) * 180 / kPi;
            if (turn > kTurnStartDeg)
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
