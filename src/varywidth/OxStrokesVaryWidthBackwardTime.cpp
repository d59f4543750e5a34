#include "OxStrokesVaryWidthBackwardTime.h"

#include "OxBezierFitting.h"
#include "OxGeometry.h"
#include "OxInputGuards_p.h"
#include "OxSamplePoint_p.h"
#include "OxStrokeEnd_p.h"
#include "OxStrokeSteps_p.h"
#include "OxTailCollector_p.h"

#include <algorithm>

using namespace quillmark::detail;

namespace {
// A window shorter than this in path length has no tail.
constexpr double kMinWindowLength = 0.000001;
// The fitted creating's curve stays within this distance of its samples where it can.
constexpr float kFitTolerance = 1.0f;
// The tail of the ordinary calls covers the last 100 ms.
constexpr double kDefaultDuration = 100.0;
} // namespace

OxStrokesVaryWidthBackwardTime::OxStrokesVaryWidthBackwardTime()
    : backwardDuration(kDefaultDuration)
{
}

OxStrokesVaryWidthBackwardTime::~OxStrokesVaryWidthBackwardTime() = default;

bool OxStrokesVaryWidthBackwardTime::prepareBackwardPath(QVector<OxBackwardInfo> &infos,
                                                         std::vector<OxInkPoint> &pts, int &index,
                                                         QPointF, float width)
{
    return prepareTimedTail(infos, pts, index, width, backwardDuration);
}

bool OxStrokesVaryWidthBackwardTime::prepareTimedTail(QVector<OxBackwardInfo> &infos,
                                                      const std::vector<OxInkPoint> &pts,
                                                      int &index, float width, double windowMs)
{
    const int n = int(pts.size());
    if (n < 2) {
        index = 0;
        return false;
    }
    const double newest = pts[size_t(n) - 1].time;
    // The window's first point: the oldest uncommitted point stamped within windowMs.
    index = std::max(lastDrawnIndex, 0);
    for (;; ++index) {
        if (index > n - 2) {
            index = n - 1;
            return true;
        }
        const double age = newest - pts[size_t(index)].time;
        if (age < 0) {
            // Stamped after the newest point: commit everything, no tail.
            index = n - 1;
            return true;
        }
        if (age <= windowMs)
            break;
    }

    float total = 0;
    for (int k = index; k <= n - 2; ++k)
        total += distance(pts[size_t(k)], pts[size_t(k) + 1]);
    if (double(total) <= kMinWindowLength)
        return false;

    const float halfWidth = width * 0.5f;
    const float quarterWidth = width * 0.25f;
    const float slope = (halfWidth - quarterWidth) / total;
    TailCollector tail(infos);
    float radius = quarterWidth;
    for (int k = n - 2; k >= index; --k) {
        const float older = radius + distance(pts[size_t(k)], pts[size_t(k) + 1]) * slope;
        tail.addOlder(OxBackwardInfo(position(pts[size_t(k)]), older,
                                     position(pts[size_t(k) + 1]), radius));
        radius = older;
    }
    tail.finish();
    return lastDrawnIndex < index;
}

QRectF OxStrokesVaryWidthBackwardTime::startCreate(std::vector<OxInkPoint> &points,
                                                   QPainterPath &path, QPointF point,
                                                   QMap<QString, QVariant> params, float width)
{
    int time = 0;
    if (!isUsableSample(point, width) || !readTimeParam(params, time))
        return QRectF();
    return startWithDot(points, path, point, time, width);
}

bool OxStrokesVaryWidthBackwardTime::rebuildTail(float width, double windowMs, int &index,
                                                 QRectF &dirty)
{
    backwardInfos.clear();
    index = 0;
    const bool commit = prepareTimedTail(backwardInfos, smoothedPoints, index, width, windowMs);
    drawTail(dirty);
    return commit;
}

void OxStrokesVaryWidthBackwardTime::extendCentreLine(QPainterPath &path, int from, int to)
{
    const int last = std::min(to, int(smoothedPoints.size()) - 1);
    for (int j = std::max(from, 0); j <= last; ++j)
        path.lineTo(position(smoothedPoints[size_t(j)]));
}

QRectF OxStrokesVaryWidthBackwardTime::finishCreating(QPainterPath &path, float width,
                                                      int oldDrawn, QRectF dirty)
{
    int index = 0;
    if (rebuildTail(width, backwardDuration, index, dirty)) {
        // The body now reaches the window's first point, where the tail begins.
        dirty |= computeConnectPaths(smoothedPoints, lastDrawnIndex, index, width);
        wholePathFollowsGenerator();
        lastDrawnIndex = index;
    }
    extendCentreLine(path, oldDrawn + 1, lastDrawnIndex);
    return dirty;
}

QRectF OxStrokesVaryWidthBackwardTime::creating(std::vector<OxInkPoint> &points,
                                                QPainterPath &path, QPointF point,
                                                QMap<QString, QVariant> params, float width)
{
    const int oldDrawn = lastDrawnIndex;
    const std::optional<SampleStep> step =
        takeSample(points, point, params, width, SampleReads::kTime);
    if (!step)
        return QRectF();
    QRectF dirty;
    takeOldTail(dirty);
    smoothingStep(points, step->sample, step->last, step->dist);
    return finishCreating(path, width, oldDrawn, dirty);
}

void OxStrokesVaryWidthBackwardTime::appendFinalPoints(std::vector<OxInkPoint> &points,
                                                       QPointF point, int time)
{
    // The raw and the smoothed line are tested apart: the smoothed line trails the pen.
    appendTimedEndPoint(points, point, time);
    appendTimedEndPoint(smoothedPoints, point, time);
}

QRectF OxStrokesVaryWidthBackwardTime::endCreate(std::vector<OxInkPoint> &points,
                                                 QPainterPath &path, QPointF point,
                                                 QMap<QString, QVariant> params, float width)
{
    int time = 0;
    if (points.empty() || !isUsableSample(point, width) || !readTimeParam(params, time))
        return QRectF();
    const int oldDrawn = lastDrawnIndex;
    appendFinalPoints(points, point, time);
    QRectF result;
    if (!backwardRect.isEmpty())
        result |= backwardRect;
    if (lastDrawnIndex < int(smoothedPoints.size()) - 1) {
        // The final tail joins the body.
        int index = 0;
        backwardInfos.clear();
        prepareTimedTail(backwardInfos, smoothedPoints, index, width, backwardDuration);
        if (lastDrawnIndex < index)
            result |= computeConnectPaths(smoothedPoints, lastDrawnIndex, index, width);
        const QRectF joined = computeBackwardConnectPath(backwardInfos);
        if (!joined.isEmpty())
            result |= joined;
        wholePathFollowsGenerator();
    }
    lastDrawnIndex = int(points.size()) - 1;
    setPointsPressureInfo(smoothedPoints, backwardInfos, width);
    extendCentreLine(path, oldDrawn + 1, int(smoothedPoints.size()) - 1);
    if (&points != &smoothedPoints)
        points = smoothedPoints;
    backwardPaths.clear();
    return result;
}

QRectF OxStrokesVaryWidthBackwardTime::creating(std::vector<OxInkPoint> &points,
                                                QPainterPath &path, QList<QPointF> &samples,
                                                QPointF point, QMap<QString, QVariant> params,
                                                float width)
{
    const int oldDrawn = lastDrawnIndex;
    const std::optional<SampleStep> step =
        takeSample(points, point, params, width, SampleReads::kTime);
    if (!step)
        return QRectF();
    std::vector<OxInkPoint> extra;
    for (const QPointF &s : samples) {
        if (isFinitePoint(s))
            extra.push_back(samplePoint(s));
    }
    // points ends with the last extra sample, which the next call takes as its previous point.
    points.insert(points.end(), extra.begin(), extra.end());

    // The fitting runs from the previous point through the extra samples to the new one.
    std::vector<OxInkPoint> run{step->last};
    run.insert(run.end(), extra.begin(), extra.end());
    run.push_back(step->sample);
    std::vector<OxInkPoint> ctrl;
    fitCurve(run, 0, int(run.size()) - 1, kFitTolerance, ctrl);

    QRectF dirty;
    takeOldTail(dirty);
    smoothingStep(points, step->sample, step->last, step->dist, ctrl);
    return finishCreating(path, width, oldDrawn, dirty);
}
