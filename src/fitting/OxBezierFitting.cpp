#include "OxBezierFitting.h"

#include "OxGeometry.h"
#include "OxSamplePoint_p.h"

#include <cmath>

using namespace quillmark::detail;

namespace {
// Reparameterisations tried before the last curve is taken as it is.
constexpr int kMaxIterations = 4;
// Below these the linear system or a tangent length is not trusted (absolute, whatever the run).
constexpr double kMinDeterminant = 0.001;
constexpr double kMinTangentLength = 1e-6;
constexpr double kMinNewtonDenominator = 1e-6;

bool isRun(const std::vector<OxInkPoint> &points, int first, int last)
{
    return first >= 0 && first <= last && size_t(last) < points.size();
}

OxInkPoint scaled(OxInkPoint tangent, float length)
{
    return tangent.setLength(length);
}

// The curve from a to b whose inner control points lie length along each end tangent.
void appendCurve(const OxInkPoint &a, const OxInkPoint &b, const OxInkPoint &leftTangent,
                 const OxInkPoint &rightTangent, float leftLength, float rightLength,
                 std::vector<OxInkPoint> &out)
{
    out.push_back(a);
    out.push_back(a + scaled(leftTangent, leftLength));
    out.push_back(b + scaled(rightTangent, rightLength));
    out.push_back(b);
}

// Control points a third of the chord along the end tangents.
void appendFallback(const OxInkPoint &a, const OxInkPoint &b, const OxInkPoint &leftTangent,
                    const OxInkPoint &rightTangent, std::vector<OxInkPoint> &out)
{
    const float third = float(distance(a, b) / 3.0);
    appendCurve(a, b, leftTangent, rightTangent, third, third, out);
}
} // namespace

void fitCurve(std::vector<OxInkPoint> &points, int first, int last, float error,
              std::vector<OxInkPoint> &out)
{
    if (!isRun(points, first, last))
        return;
    if (first == last) {
        out.assign(4, points[size_t(first)]);
        return;
    }
    const OxInkPoint leftTangent = computeLeftTangent(points, first);
    OxInkPoint rightTangent = points[size_t(last) - 1] - points[size_t(last)];
    rightTangent.normalize();
    fitCubic(points, first, last, leftTangent, rightTangent, error, out);
}

void fitCubic(std::vector<OxInkPoint> &points, int first, int last, OxInkPoint leftTangent,
              OxInkPoint rightTangent, float error, std::vector<OxInkPoint> &out)
{
    if (!isRun(points, first, last))
        return;
    const OxInkPoint &a = points[size_t(first)];
    const OxInkPoint &b = points[size_t(last)];
    if (first == last) {
        out.assign(4, a);
        return;
    }
    if (last == first + 1) {
        appendFallback(a, b, leftTangent, rightTangent, out);
        return;
    }

    std::vector<float> u;
    chordLengthParameterize(points, first, last, u);
    std::vector<OxInkPoint> curve;
    generateBezier(points, first, last, u, leftTangent, rightTangent, curve);
    if (computeMaxError(points, first, last, curve, u) < error) {
        out.insert(out.end(), curve.begin(), curve.end());
        return;
    }
    for (int i = 0; i < kMaxIterations; ++i) {
        std::vector<float> uPrime;
        reparameterize(points, first, last, u, curve, uPrime);
        curve.clear();
        generateBezier(points, first, last, uPrime, leftTangent, rightTangent, curve);
        if (computeMaxError(points, first, last, curve, uPrime) < error) {
            out.insert(out.end(), curve.begin(), curve.end());
            return;
        }
        u = uPrime;
    }
    // A single segment is never split: the curve of the last parameters stands, whatever its error.
    curve.clear();
    generateBezier(points, first, last, u, leftTangent, rightTangent, curve);
    out.insert(out.end(), curve.begin(), curve.end());
}

OxInkPoint computeLeftTangent(std::vector<OxInkPoint> &points, int index)
{
    if (index < 0 || size_t(index) + 1 >= points.size())
        return OxInkPoint(0, 0, 0, 0, 0, 0);
    OxInkPoint tangent = points[size_t(index) + 1] - points[size_t(index)];
    return tangent.normalize();
}

void chordLengthParameterize(std::vector<OxInkPoint> &points, int first, int last,
                             std::vector<float> &u)
{
    if (!isRun(points, first, last))
        return;
    const size_t start = u.size();
    u.push_back(0);
    for (int i = first + 1; i <= last; ++i)
        u.push_back(u.back() + distance(points[size_t(i)], points[size_t(i) - 1]));
    const float total = u.back();
    if (total > 0) {
        for (size_t k = start; k < u.size(); ++k)
            u[k] /= total;
    }
}

void generateBezier(std::vector<OxInkPoint> &points, int first, int last, std::vector<float> &u,
                    OxInkPoint leftTangent, OxInkPoint rightTangent,
                    std::vector<OxInkPoint> &out)
{
    if (!isRun(points, first, last))
        return;
    const OxInkPoint &a = points[size_t(first)];
    const OxInkPoint &b = points[size_t(last)];
    const size_t count = std::min(size_t(last - first + 1), u.size());
    float c00 = 0, c01 = 0, c11 = 0, x0 = 0, x1 = 0;
    for (size_t i = 0; i < count; ++i) {
        const float t = u[i];
        const float s = 1 - t;
        // The weights as written, squares first: 3 t (1 - t)^2 and 3 t^2 (1 - t) grouped
        // otherwise round differently.
        const float b0 = s * s * s, b1 = 3 * t * (s * s), b2 = 3 * (t * t) * s, b3 = t * t * t;
        const OxInkPoint a1 = scaled(leftTangent, b1);
        const OxInkPoint a2 = scaled(rightTangent, b2);
        c00 += a1.dot(a1);
        c01 += a1.dot(a2);
        c11 += a2.dot(a2);
        const OxInkPoint rest = points[size_t(first) + i] - a * b0 - a * b1 - b * b2 - b * b3;
        x0 += a1.dot(rest);
        x1 += a2.dot(rest);
    }
    const float det = c00 * c11 - c01 * c01;
    if (!(std::fabs(double(det)) > kMinDeterminant)) {
        appendFallback(a, b, leftTangent, rightTangent, out);
        return;
    }
    const double alphaL = (double(x0) * c11 - double(x1) * c01) / det;
    const double alphaR = (double(c00) * x1 - double(x0) * c01) / det;
    // Newton steps can push parameters far outside [0, 1]; lengths that overflow a float are no
    // better than tiny ones.
    const bool usable = alphaL >= kMinTangentLength && alphaR >= kMinTangentLength
                        && std::isfinite(float(alphaL)) && std::isfinite(float(alphaR));
    if (!usable) {
        appendFallback(a, b, leftTangent, rightTangent, out);
        return;
    }
    appendCurve(a, b, leftTangent, rightTangent, float(alphaL), float(alphaR), out);
}

float computeMaxError(std::vector<OxInkPoint> &points, int first, int last,
                      std::vector<OxInkPoint> &curve, std::vector<float> &u)
{
    if (!isRun(points, first, last))
        return 0;
    float maxDistance = 0;
    for (int i = first + 1; i <= last - 1 && size_t(i - first) < u.size(); ++i) {
        const OxInkPoint onCurve = bezierPoint(curve, u[size_t(i - first)], 3);
        maxDistance = std::max(maxDistance, distance(onCurve, points[size_t(i)]));
    }
    return maxDistance;
}

void reparameterize(std::vector<OxInkPoint> &points, int first, int last, std::vector<float> &u,
                    std::vector<OxInkPoint> &curve, std::vector<float> &uPrime)
{
    if (!isRun(points, first, last))
        return;
    for (int i = first; i <= last && size_t(i - first) < u.size(); ++i)
        uPrime.push_back(newtonRaphsonRootFind(curve, points[size_t(i)], u[size_t(i - first)]));
}

float newtonRaphsonRootFind(std::vector<OxInkPoint> &curve, OxInkPoint p, float t)
{
    if (curve.size() < 4)
        return t;
    const OxInkPoint q = bezierPoint(curve, t, 3);
    std::vector<OxInkPoint> first(3), second(2);
    for (size_t i = 0; i < 3; ++i)
        first[i] = (curve[i + 1] - curve[i]) * 3.0f;
    for (size_t i = 0; i < 2; ++i)
        second[i] = (first[i + 1] - first[i]) * 2.0f;
    const OxInkPoint q1 = bezierPoint(first, t, 2);
    const OxInkPoint q2 = bezierPoint(second, t, 1);
    const float dx = q.x - p.x, dy = q.y - p.y;
    const float numerator = dx * q1.x + dy * q1.y;
    const float denominator = q1.x * q1.x + q1.y * q1.y + dx * q2.x + dy * q2.y;
    if (std::fabs(double(denominator)) <= kMinNewtonDenominator)
        return t;
    return t - numerator / denominator;
}
