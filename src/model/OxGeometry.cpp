#include "OxGeometry.h"

#include <algorithm>
#include <cmath>

namespace {
// Distances at or below this count as zero.
constexpr double kCoincidence = 1e-6;
}

namespace {
// The direction of travel along a vertical line (y already flipped where asked).
float verticalAngle(float y0, float y1)
{
    if (y0 > y1)
        return float(3.0 * M_PI / 2.0);
    if (y1 > y0)
        return float(M_PI / 2.0);
    return 0;
}

// The arctangent of the slope of a line that is not vertical: the same number for both
// directions of travel, as (y0 - y1) / (x0 - x1) is (y1 - y0) / (x1 - x0) to the last bit.
float slopeAngle(float x0, float y0, float x1, float y1)
{
    return float(std::atan(double((y1 - y0) / (x1 - x0))));
}

// The direction of travel from (x0, y0) to (x1, y1), not vertical, from its slopeAngle a.
float slopedAngle(float a, float x0, float y0, float x1, float y1)
{
    if (a > 0) {
        if (y1 > y0)
            return a;
        if (y0 > y1)
            return float(a + M_PI);
    } else if (a == 0) {
        return x0 > x1 ? float(M_PI) : 0;
    } else if (a < 0) {
        if (y0 > y1)
            return float(a + 2.0 * M_PI);
        if (y1 > y0)
            return float(a + M_PI);
    }
    return 0;
}
} // namespace

float lineAngle(float x0, float y0, float x1, float y1, bool flip)
{
    if (flip) {
        y0 = -y0;
        y1 = -y1;
    }
    if (x0 == x1)
        return verticalAngle(y0, y1);
    return slopedAngle(slopeAngle(x0, y0, x1, y1), x0, y0, x1, y1);
}

namespace quillmark::detail {
void lineAngles(float x0, float y0, float x1, float y1, bool flip, float &forward,
                float &backward)
{
    if (flip) {
        y0 = -y0;
        y1 = -y1;
    }
    if (x0 == x1) {
        forward = verticalAngle(y0, y1);
        backward = verticalAngle(y1, y0);
        return;
    }
    const float a = slopeAngle(x0, y0, x1, y1);
    forward = slopedAngle(a, x0, y0, x1, y1);
    backward = slopedAngle(a, x1, y1, x0, y0);
}
} // namespace quillmark::detail

float vertexAngle(float x0, float y0, float x1, float y1, float x2, float y2)
{
    const float d1 = pointDistance(x0, y0, x1, y1);
    const float d2 = pointDistance(x0, y0, x2, y2);
    const float d3 = pointDistance(x1, y1, x2, y2);
    const float q = (d2 * d2 + d1 * d1 - d3 * d3) / (2 * d1 * d2);
    if (q >= 1)
        return 0;
    if (q <= -1)
        return float(M_PI);
    return float(std::acos(double(q)));
}

void lineCoefficients(float *a, float *b, float *d, float x0, float y0, float x1, float y1)
{
    *a = y1 - y0;
    *b = x0 - x1;
    *d = (x1 - x0) * y1 - (y1 - y0) * x1;
}

float pointToLineDistance(float x0, float y0, float x1, float y1, float px, float py)
{
    const float toStart = pointDistance(px, py, x0, y0);
    if (double(pointDistance(x0, y0, x1, y1)) <= kCoincidence)
        return toStart;
    if (double(toStart) <= kCoincidence || double(pointDistance(px, py, x1, y1)) <= kCoincidence)
        return 0;
    const float angle = vertexAngle(x0, y0, x1, y1, px, py);
    return float(std::fabs(std::sin(double(angle)) * double(toStart)));
}

void rotatePoint(float angle, float *x, float *y, float cx, float cy)
{
    if (std::fabs(double(angle)) <= kCoincidence)
        return;
    const double c = std::cos(double(angle));
    const double s = std::sin(double(angle));
    const double dx = double(*x) - cx;
    const double dy = double(*y) - cy;
    *x = float(dx * c - dy * s + cx);
    *y = float(dy * c + dx * s + cy);
}

float pointDistance(float x0, float y0, float x1, float y1)
{
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    const float squared = dx * dx + dy * dy;
    return float(std::sqrt(double(squared)));
}

bool isSameSide(QPointF l0, QPointF l1, QPointF p, QPointF q)
{
    float a, b, d;
    lineCoefficients(&a, &b, &d, float(l0.x()), float(l0.y()), float(l1.x()), float(l1.y()));
    const float sideQ = float(a * q.x() + b * q.y() + d);
    const float sideP = float(a * p.x() + b * p.y() + d);
    return sideQ * sideP > 0;
}

namespace {
// Runs the de Casteljau levels in place over level[0 .. count - 1], calling visit with the first
// point of every level (the control points first, the curve point last).
template <class Visit>
void reduceLevels(OxInkPoint *level, size_t count, float t, Visit visit)
{
    visit(level[0]);
    for (size_t size = count; size > 1; --size) {
        for (size_t i = 0; i + 1 < size; ++i)
            level[i] = interpolate(level[i], level[i + 1], t);
        visit(level[0]);
    }
}

size_t controlCount(const std::vector<OxInkPoint> &ctrl, int degree)
{
    return std::min(ctrl.size(), size_t(std::max(degree, 0)) + 1);
}
} // namespace

void deCasteljau(std::vector<OxInkPoint> &ctrl, float t, int degree,
                 std::vector<OxInkPoint> &trace)
{
    const size_t count = controlCount(ctrl, degree);
    if (count == 0)
        return;
    std::vector<OxInkPoint> level(ctrl.begin(), ctrl.begin() + long(count));
    reduceLevels(level.data(), count, t, [&](const OxInkPoint &p) { trace.push_back(p); });
}

OxInkPoint bezierPoint(std::vector<OxInkPoint> &ctrl, float t, int degree)
{
    const size_t count = controlCount(ctrl, degree);
    if (count == 0)
        return OxInkPoint();
    // The smoothing evaluates cubics thousands of times a stroke: no allocation for those.
    constexpr size_t kOnStack = 4;
    OxInkPoint onStack[kOnStack];
    std::vector<OxInkPoint> onHeap;
    OxInkPoint *level = onStack;
    if (count > kOnStack) {
        onHeap.resize(count);
        level = onHeap.data();
    }
    std::copy(ctrl.begin(), ctrl.begin() + long(count), level);
    OxInkPoint result;
    reduceLevels(level, count, t, [&](const OxInkPoint &p) { result = p; });
    return result;
}
