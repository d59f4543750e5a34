// The smoothing of raw samples into the centre line, shared by every engine.

#include "OxStrokesFixWidth.h"

#include "OxGeometry.h"
#include "OxSamplePoint_p.h"
#include "OxStrokeSteps_p.h"

#include <algorithm>
#include <cmath>

using namespace quillmark::detail;

namespace {
// A sampled point is kept only where the line turns by more than 2 degrees.
constexpr double kStraightDegrees = 178.0;
// Distances at or below this count as zero.
constexpr double kCoincidence = 1e-6;
// The smoothing curve is sampled every this many units of control-polygon length.
constexpr float kSampleSpacing = 2.0f;

// Angle in degrees at vertex between the directions to a and b (NaN for a zero-length leg).
double angleDegrees(const OxInkPoint &vertex, const OxInkPoint &a, const OxInkPoint &b)
{
    return double(vertexAngle(vertex.x, vertex.y, a.x, a.y, b.x, b.y)) * 180.0 / M_PI;
}
} // namespace

std::vector<OxInkPoint> OxStrokesFixWidth::bezireToPoints(std::vector<OxInkPoint> &ctrl,
                                                          bool skipStraightStart, OxInkPoint ref)
{
    if (ctrl.size() < 4)
        return ctrl;
    std::vector<OxInkPoint> result{ctrl[0]};
    OxInkPoint prevSample = ctrl[0];

    const float d01 = distance(ctrl[0], ctrl[1]);
    const float d12 = distance(ctrl[1], ctrl[2]);
    const float d23 = distance(ctrl[2], ctrl[3]);
    const float length = d01 + d12 + d23;
    if (length > 0) {
        // Time and pressure grow along the curve in proportion to the control polygon.
        interpolateAttributes(ctrl[0], ctrl[3], ctrl[1], d01 / length);
        interpolateAttributes(ctrl[0], ctrl[3], ctrl[2], (d01 + d12) / length);
    }

    const double limit = length * 0.5 - 1.0;
    for (int i = 1; float(i) <= limit && i <= kMaxCurveSamples; ++i) {
        const float t = float(kSampleSpacing * float(i)) / length;
        const OxInkPoint sample = bezierPoint(ctrl, t, 3);
        if (skipStraightStart) {
            if (angleDegrees(result.back(), ref, sample) < kStraightDegrees && i > 1) {
                result.push_back(prevSample);
                skipStraightStart = false;
            }
        } else if (result.size() <= 1) {
            result.push_back(sample);
        } else if (angleDegrees(result.back(), result[result.size() - 2], sample)
                   < kStraightDegrees) {
            const bool prevIsKept = double(distance(prevSample, result.back())) <= kCoincidence;
            result.push_back(prevIsKept ? sample : prevSample);
        }
        prevSample = sample;
    }
    result.push_back(ctrl.back());

    if (result.size() == 2 && double(distance(result[0], result[1])) <= kCoincidence)
        result.insert(result.begin() + 1, (ctrl[1] + ctrl[2]) / 2.0f);
    return result;
}

void OxStrokesFixWidth::appendCurve(OxInkPoint end, const std::vector<OxInkPoint> *ctrl)
{
    std::vector<OxInkPoint> curve{curveStart, curveStart, curveControl, end};
    if (ctrl && ctrl->size() >= 3) {
        curve[1] = (*ctrl)[1];
        curve[2] = (*ctrl)[2];
    }
    // The smoothed point before the curve's start tells which samples continue straight on.
    const size_t n = smoothedPoints.size();
    const OxInkPoint ref = n >= 2 ? smoothedPoints[n - 2] : curveStart;
    const std::vector<OxInkPoint> sampled = bezireToPoints(curve, true, ref);
    smoothedPoints.insert(smoothedPoints.end(), sampled.begin() + 1, sampled.end());
}

void OxStrokesFixWidth::contractStep(const std::vector<OxInkPoint> &points, const OxInkPoint &cur,
                                     const OxInkPoint &prev, float dist,
                                     const std::vector<OxInkPoint> *ctrl)
{
    const OxInkPoint mid = (prev + cur) / 2.0f;
    if (points.size() == 2) {
        // First step of the stroke: no curve yet.
        extendPending = false;
        smoothedPoints.push_back(cur);
        curveStart = mid;
        curveControl = cur;
        return;
    }
    if (extendPending) {
        // Leave the previous extend step tangentially before settling back to midpoints.
        const float r = std::min(maxControlDistance, float(dist * 0.5));
        const OxInkPoint ahead = getPtAccordDesDistance(prev, cur, r);
        OxInkPoint end = getPtAccordBaseDistance(ahead, curveControl, r);
        end.time = cur.time;
        appendCurve(end, ctrl);
        curveStart = end;
        curveControl = ahead;
    } else {
        appendCurve(mid, ctrl);
        curveStart = mid;
        curveControl = cur;
    }
    extendPending = false;
}

void OxStrokesFixWidth::extendStep(const std::vector<OxInkPoint> &points, const OxInkPoint &cur,
                                   const OxInkPoint &prev, float dist,
                                   const std::vector<OxInkPoint> *ctrl)
{
    const float r = std::min(maxControlDistance, float(dist * 0.5));
    extendPending = true;
    const OxInkPoint ahead = getPtAccordDesDistance(prev, cur, r);
    if (points.size() == 2) {
        smoothedPoints.push_back(cur);
        curveStart = cur;
        curveControl = ahead;
        return;
    }
    OxInkPoint end = getPtAccordBaseDistance(ahead, curveControl, r);
    end.time = cur.time;
    appendCurve(end, ctrl);
    curveStart = end;
    curveControl = ahead;
}

void OxStrokesFixWidth::creatingContract(std::vector<OxInkPoint> &points, OxInkPoint cur,
                                         OxInkPoint prev, float dist)
{
    contractStep(points, cur, prev, dist, nullptr);
}

void OxStrokesFixWidth::creatingContract(std::vector<OxInkPoint> &points, OxInkPoint cur,
                                         OxInkPoint prev, float dist,
                                         std::vector<OxInkPoint> &ctrl)
{
    contractStep(points, cur, prev, dist, &ctrl);
}

void OxStrokesFixWidth::creatingExtend(std::vector<OxInkPoint> &points, OxInkPoint cur,
                                       OxInkPoint prev, float dist)
{
    extendStep(points, cur, prev, dist, nullptr);
}

void OxStrokesFixWidth::creatingExtend(std::vector<OxInkPoint> &points, OxInkPoint cur,
                                       OxInkPoint prev, float dist, std::vector<OxInkPoint> &ctrl)
{
    extendStep(points, cur, prev, dist, &ctrl);
}

void OxStrokesFixWidth::smoothingStep(std::vector<OxInkPoint> &points, OxInkPoint cur,
                                      OxInkPoint prev, float dist)
{
    if (dist < kExtendThreshold)
        contractStep(points, cur, prev, dist, nullptr);
    else
        extendStep(points, cur, prev, dist, nullptr);
}

void OxStrokesFixWidth::smoothingStep(std::vector<OxInkPoint> &points, OxInkPoint cur,
                                      OxInkPoint prev, float dist, std::vector<OxInkPoint> &ctrl)
{
    if (dist < kExtendThreshold)
        contractStep(points, cur, prev, dist, &ctrl);
    else
        extendStep(points, cur, prev, dist, &ctrl);
}
