// Pressure smoothing and the pressure-driven sweep of the centre line.

#include "OxStrokesVaryWidthPressure.h"

#include "OxLineSegments_p.h"
#include "OxStrokeSteps_p.h"

#include <algorithm>

using namespace quillmark::detail;

namespace {
// The point's own pressure enters with this fixed weight besides the window.
constexpr int kOwnWeight = 5;
} // namespace

float OxStrokesVaryWidthPressure::getSmoothPressure(std::vector<OxInkPoint> &points, int index,
                                                    float pressure)
{
    const int m = smoothWeights.size();
    const int k = std::min(index + 1, m);
    float sum = kOwnWeight * pressure;
    int weightSum = kOwnWeight;
    for (int j = std::max(index - k + 1, 0); j <= index && j < int(points.size()); ++j) {
        const int w = smoothWeights[m - 1 - (index - j)];
        weightSum += w;
        sum += float(w) * points[size_t(j)].pressure;
    }
    return sum / float(weightSum);
}

void OxStrokesVaryWidthPressure::smoothPressures(std::vector<OxInkPoint> &points, int from, int to)
{
    const int last = std::min(to, int(points.size()) - 1);
    for (int i = std::max(from, 0); i < last; ++i) {
        const float a = getSmoothPressure(points, i, points[size_t(i)].pressure);
        const float b = getSmoothPressure(points, i + 1, points[size_t(i) + 1].pressure);
        points[size_t(i)].pressure = a;
        points[size_t(i) + 1].pressure = b;
    }
}

QRectF OxStrokesVaryWidthPressure::computeConnectPathsAccordPressure(
    std::vector<OxInkPoint> &points, int from, int to, float width)
{
    QRectF changed;
    forEachSegment(points, from, to, [&](int, const OxInkPoint &a, const OxInkPoint &b) {
        changed |= pathGenerator->addSegment(a.x, a.y, a.pressure * width * 0.5f, b.x, b.y,
                                             b.pressure * width * 0.5f);
    });
    return inflateRect(changed, kOutlineMargin);
}
