#include "OxStrokesVaryWidthTime.h"

#include "OxGeometry.h"
#include "OxInputGuards_p.h"
#include "OxSamplePoint_p.h"
#include "OxStrokeEnd_p.h"
#include "OxStrokeSteps_p.h"

#include <algorithm>
#include <cmath>

using namespace quillmark::detail;

namespace {
// The speed (units per ms) at which the width reaches its floor.
constexpr float kFloorSpeed = 3.5f;
// The floor: the width divided by this, and never below kMinFloor.
constexpr double kFloorDivisor = 3.0;
constexpr double kMinFloor = 3.0;
// The speed is measured over a window of the smoothed line that moves on every this many units.
constexpr float kSpeedWindowLength = 100.0f;
// When the window moves on, it restarts at (start + current index) divided by this.
constexpr double kWindowRestartDivisor = 3.0;
// Durations at or below this (equal or decreasing time stamps) count as speed 1.0.
constexpr double kMinDuration = 1e-5;
// The stroke starts as a dot of radius width divided by this; its point has pressure 0.5.
constexpr double kStartDotDivisor = 5.0;
constexpr float kStartPressure = 0.5f;
// The arc length a tap adds: a fixed 1.96, not the length of the dot's diagonal (about 1.41).
constexpr double kTapArcLength = 1.96;
} // namespace

OxStrokesVaryWidthTime::OxStrokesVaryWidthTime()
    : maxVelocity(kFloorSpeed), speedWindowStart(0), speedWindowLength(kSpeedWindowLength)
{
    smoothWeights = {1, 1, 1, 1, 1};
}

OxStrokesVaryWidthTime::~OxStrokesVaryWidthTime() = default;

float OxStrokesVaryWidthTime::velocityToWidth(float velocity, float width)
{
    const float floor = float(std::fmax(width / kFloorDivisor, kMinFloor));
    const float w = (1 - velocity / maxVelocity) * (width - floor) + floor;
    return std::max(floor, w);
}

float OxStrokesVaryWidthTime::pseudoPressure(float distance, float duration, float width)
{
    const float speed = double(duration) <= kMinDuration ? 1.0f : distance / duration;
    return velocityToWidth(speed, width) / width;
}

float OxStrokesVaryWidthTime::computePressure(std::vector<OxInkPoint> &points, float distance,
                                              float duration, int index, float width)
{
    return getSmoothPressure(points, index, pseudoPressure(distance, duration, width));
}

QRectF OxStrokesVaryWidthTime::startCreate(std::vector<OxInkPoint> &points, QPainterPath &path,
                                           QPointF point, QMap<QString, QVariant> params,
                                           float width)
{
    int time = 0;
    if (!isUsableSample(point, width) || !readTimeParam(params, time))
        return QRectF();
    lastDrawnIndex = 0;
    speedWindowStart = 0;
    const OxInkPoint first(float(point.x()), float(point.y()), time, kStartPressure, 0, 0);
    points.assign(1, first);
    smoothedPoints.assign(1, first);
    arcLengths.assign(1, 0.0f);
    pathGenerator->resetOutline();
    setWholePath(QPainterPath());
    wholePath().addEllipse(point, width / kStartDotDivisor, width / kStartDotDivisor);
    path = QPainterPath();
    path.moveTo(point);
    return inflateRect(wholePath().boundingRect(), kOutlineMargin);
}

QRectF OxStrokesVaryWidthTime::creating(std::vector<OxInkPoint> &points, QPainterPath &path,
                                        QPointF point, QMap<QString, QVariant> params, float width)
{
    if (arcLengths.empty())
        return QRectF();
    const std::optional<SampleStep> step =
        takeSample(points, point, params, width, SampleReads::kTime);
    if (!step)
        return QRectF();
    path.lineTo(point);
    smoothingStep(points, step->sample, step->last, step->dist);

    // Speed and pseudo-pressure of every new smoothed point, measured from the window's start.
    const int n = int(smoothedPoints.size());
    int s = std::min(speedWindowStart, int(arcLengths.size()) - 1);
    float t0 = float(smoothedPoints[size_t(s)].time);
    float l0 = arcLengths[size_t(s)];
    for (int i = std::max(lastDrawnIndex, 0); i <= n - 2; ++i) {
        OxInkPoint &next = smoothedPoints[size_t(i) + 1];
        const float length = distance(smoothedPoints[size_t(i)], next) + arcLengths.back();
        arcLengths.push_back(length);
        if (length - l0 > speedWindowLength) {
            // The window restarts ahead of s when i > 2 s, behind it otherwise.
            s = int(float(s + i) / kWindowRestartDivisor);
            speedWindowStart = s;
            t0 = float(smoothedPoints[size_t(s)].time);
            l0 = arcLengths[size_t(s)];
        }
        const float duration = float(next.time - t0);
        next.pressure = getSmoothPressure(smoothedPoints, i,
                                          pseudoPressure(length - l0, duration, width));
    }
    return drawNewSmoothedPoints(width);
}

QRectF OxStrokesVaryWidthTime::endCreate(std::vector<OxInkPoint> &points, QPainterPath &path,
                                         QPointF point, QMap<QString, QVariant> params,
                                         float width)
{
    int time = 0;
    if (points.empty() || arcLengths.empty() || !isUsableSample(point, width)
        || !readTimeParam(params, time))
        return QRectF();
    const OxInkPoint last = points.back();
    const EndPoint added = endPointFor(points, point);
    OxInkPoint end;
    if (added == EndPoint::kDot) {
        arcLengths.push_back(float(arcLengths.back() + kTapArcLength));
        end = dotPoint(last, {double(time) + kTapDelayMs, last.pressure});
        setWholePath(QPainterPath());
    } else if (added == EndPoint::kSample) {
        // The window is not moved for the last sample.
        const int s = std::min(speedWindowStart, int(arcLengths.size()) - 1);
        const float t0 = float(smoothedPoints[size_t(s)].time);
        const float l0 = arcLengths[size_t(s)];
        const float length =
            pointDistance(last.x, last.y, float(point.x()), float(point.y())) + arcLengths.back();
        arcLengths.push_back(length);
        const float duration = float(time) - t0;
        const float pressure = getSmoothPressure(smoothedPoints, int(smoothedPoints.size()) - 1,
                                                 pseudoPressure(length - l0, duration, width));
        end = OxInkPoint(float(point.x()), float(point.y()), time, pressure, 0, 0);
    }
    if (added != EndPoint::kNone) {
        points.push_back(end);
        smoothedPoints.push_back(end);
        path.lineTo(drawnEnd({added, end}, point));
    }

    QRectF changed;
    const int m = int(smoothedPoints.size());
    if (lastDrawnIndex < m - 1) {
        changed |= computeConnectPathsAccordPressure(smoothedPoints, lastDrawnIndex, m - 1, width);
        wholePathFollowsGenerator();
    }
    lastDrawnIndex = m - 1;
    if (&points != &smoothedPoints)
        points = smoothedPoints;
    return changed;
}
