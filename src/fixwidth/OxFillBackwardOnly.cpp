// The filled engine's backward-only mode: samples arrive in batches and only the part of the
// stroke written in the last 300 ms is outlined, rebuilt in the connector on every call.

#include "OxStrokesFixWidthFill.h"

#include "OxInputGuards_p.h"
#include "OxLineSegments_p.h"
#include "OxSampleBatch_p.h"
#include "OxStrokeEnd_p.h"
#include "OxTailSweep_p.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace quillmark::detail;

namespace {
// Batch samples closer than this to the previously kept one are dropped.
constexpr double kBatchMinStep = 1.0;
// The visible tail starts at the newest smoothed point at least this much older than the batch.
constexpr double kTailMs = 300.0;

} // namespace

QRectF OxStrokesFixWidthFill::creatingOnlyBackward(std::vector<OxInkPoint> &points,
                                                   QList<QPointF> &samples,
                                                   QMap<QString, QVariant> params, float width)
{
    int endMs = 0;
    if (points.empty() || !std::isfinite(width) || !readTimeParam(params, endMs))
        return QRectF();
    const OxInkPoint last = points.back();
    const QList<QPointF> kept = keptBatchPositions(samples, position(last), kBatchMinStep, true);
    if (kept.isEmpty())
        return QRectF();

    const BatchClock clock(last.time, endMs, kept.size());
    QPointF from = position(last);
    for (int j = 0; j < kept.size(); ++j) {
        const QPointF s = kept[j];
        const float dist = pointDistance(float(from.x()), float(from.y()), float(s.x()),
                                         float(s.y()));
        const OxInkPoint cur = samplePoint(s, clock.stamp(j));
        const OxInkPoint prev = points.back();
        points.push_back(cur);
        smoothingStep(points, cur, prev, dist);
        from = s;
    }

    const int m = int(smoothedPoints.size());
    for (int k = m - 2; k >= 0; --k) {
        if (std::fabs(smoothedPoints[size_t(k)].time - double(endMs)) >= kTailMs) {
            lastDrawnIndex = k;
            break;
        }
    }
    QRectF rect;
    setWholePath(computeBackwardPaths(smoothedPoints, lastDrawnIndex, m - 1, width, rect));
    // The previous tail's area is repainted too: the part that dropped out must be cleared.
    if (!backwardRect.isEmpty())
        rect |= backwardRect;
    backwardRect = rect;
    return rect;
}

QRectF OxStrokesFixWidthFill::endCreateOnlyBackward(std::vector<OxInkPoint> &points,
                                                    QPainterPath &, QPointF point,
                                                    QMap<QString, QVariant> params, float width)
{
    int time = 0;
    if (points.empty() || smoothedPoints.empty() || !isUsableSample(point, width)
        || !readTimeParam(params, time))
        return QRectF();
    appendTimedEndPoint(points, point, time);
    appendTimedEndPoint(smoothedPoints, point, time);

    QRectF rect;
    const int lastIndex = int(smoothedPoints.size()) - 1;
    if (lastDrawnIndex < lastIndex)
        setWholePath(computeBackwardPaths(smoothedPoints, lastDrawnIndex, lastIndex, width, rect));
    lastDrawnIndex = lastIndex;
    if (!backwardRect.isEmpty())
        rect |= backwardRect;
    backwardRect = rect;
    if (&points != &smoothedPoints)
        points = smoothedPoints;
    return rect;
}

QPainterPath OxStrokesFixWidthFill::computeBackwardPaths(std::vector<OxInkPoint> &points,
                                                         int start, int end, float width,
                                                         QRectF &rect)
{
    // The rectangles the segments change are not read here: the sweep skips them.
    TailSweep sweep(*pathConnector);
    forEachSegment(points, start, end, [&](int, const OxInkPoint &a, const OxInkPoint &b) {
        sweep.add(a.x, a.y, width / 2, b.x, b.y, width / 2);
    });
    QRectF bounds;
    const QPainterPath outline = sweep.finish(bounds);
    rect = unionTwoRect(rect, bounds);
    return outline;
}
