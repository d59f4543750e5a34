// The brush's batch modes: backward-only (only the tail is drawn) and raw (unsmoothed samples).

#include "OxStrokesVaryWidthBackwardTime.h"

#include "OxGeometry.h"
#include "OxInputGuards_p.h"
#include "OxSampleBatch_p.h"
#include "OxSamplePoint_p.h"

#include <cmath>

using namespace quillmark::detail;

namespace {
// Backward-only batches keep positions at least this far apart, raw batches farther than 0.1.
constexpr double kBackwardOnlyStep = 1.0;
constexpr double kRawStep = 0.1;
// The backward-only tail covers a long window while the stroke is young, a shorter one later.
constexpr int kYoungStrokePoints = 30;
constexpr double kYoungWindow = 500.0;
constexpr double kLateWindow = 200.0;
} // namespace

int OxStrokesVaryWidthBackwardTime::acceptBatch(std::vector<OxInkPoint> &points,
                                                const QList<QPointF> &samples,
                                                const QMap<QString, QVariant> &params, float width,
                                                double minDistance, bool inclusive)
{
    int time = 0;
    if (points.empty() || !std::isfinite(width) || !readTimeParam(params, time))
        return 0;
    const OxInkPoint last = points.back();
    const QList<QPointF> kept =
        keptBatchPositions(samples, QPointF(last.x, last.y), minDistance, inclusive);
    const BatchClock clock(last.time, time, kept.size());
    for (int j = 0; j < kept.size(); ++j) {
        const OxInkPoint p = samplePoint(kept[j], clock.stamp(j));
        points.push_back(p);
        smoothedPoints.push_back(p);
    }
    return kept.size();
}

QRectF OxStrokesVaryWidthBackwardTime::creatingOnlyBackward(std::vector<OxInkPoint> &points,
                                                            QList<QPointF> &samples,
                                                            QMap<QString, QVariant> params,
                                                            float width)
{
    if (acceptBatch(points, samples, params, width, kBackwardOnlyStep, true) == 0)
        return QRectF();
    QRectF dirty;
    takeOldTail(dirty);
    int index = 0;
    const double window = int(points.size()) < kYoungStrokePoints ? kYoungWindow : kLateWindow;
    // Older points drop out of later tails; nothing goes to the body.
    if (rebuildTail(width, window, index, dirty))
        lastDrawnIndex = index;
    return dirty;
}

QRectF OxStrokesVaryWidthBackwardTime::endCreateOnlyBackward(std::vector<OxInkPoint> &points,
                                                             QPainterPath &, QPointF point,
                                                             QMap<QString, QVariant> params,
                                                             float width)
{
    int time = 0;
    if (points.empty() || !isUsableSample(point, width) || !readTimeParam(params, time))
        return QRectF();
    appendFinalPoints(points, point, time);
    QRectF result;
    if (!backwardRect.isEmpty())
        result |= backwardRect;
    backwardPaths.clear();
    if (lastDrawnIndex < int(smoothedPoints.size()) - 1) {
        backwardInfos.clear();
        int index = 0;
        prepareTimedTail(backwardInfos, smoothedPoints, index, width, kLateWindow);
        QRectF tail;
        computeBackwardPath(backwardInfos, backwardPaths, tail);
        if (!tail.isEmpty())
            result |= tail;
    }
    lastDrawnIndex = int(points.size()) - 1;
    if (&points != &smoothedPoints)
        points = smoothedPoints;
    return result;
}

QRectF OxStrokesVaryWidthBackwardTime::creatingYuanShi(std::vector<OxInkPoint> &points,
                                                       QList<QPointF> &samples,
                                                       QMap<QString, QVariant> params, float width)
{
    if (acceptBatch(points, samples, params, width, kRawStep, false) == 0)
        return QRectF();
    QRectF dirty;
    takeOldTail(dirty);
    int index = 0;
    if (rebuildTail(width, backwardDuration, index, dirty)) {
        dirty = unionTwoRect(dirty, computeConnectPaths(smoothedPoints, lastDrawnIndex, index,
                                                        width));
        wholePathFollowsGenerator();
        lastDrawnIndex = index;
    }
    return dirty;
}
