#include "OxStrokesVaryWidthBackwardExtend.h"

#include "OxEngineBuilders_p.h"
#include "OxGeometry.h"
#include "OxInputGuards_p.h"
#include "OxSamplePoint_p.h"
#include "OxStrokeEnd_p.h"
#include "OxStrokeSteps_p.h"
#include "OxTailSweep_p.h"

#include <QPainter>

using namespace quillmark::detail;

OxStrokesVaryWidthBackwardExtend::OxStrokesVaryWidthBackwardExtend()
    : pathConnector(newBuilderWithNib<OxPathConnector>(ellipticNibHolder()))
{
}

OxStrokesVaryWidthBackwardExtend::OxStrokesVaryWidthBackwardExtend(
    const OxStrokesVaryWidthBackwardExtend &other)
    : OxStrokesVaryWidthBackwardExtend()
{
    *this = other;
}

OxStrokesVaryWidthBackwardExtend &
OxStrokesVaryWidthBackwardExtend::operator=(const OxStrokesVaryWidthBackwardExtend &other)
{
    OxStrokesVaryWidthPressure::operator=(other);
    backwardPaths = other.backwardPaths;
    backwardRect = other.backwardRect;
    backwardInfos = other.backwardInfos;
    *pathConnector = *other.pathConnector;
    return *this;
}

OxStrokesVaryWidthBackwardExtend::~OxStrokesVaryWidthBackwardExtend()
{
    delete pathConnector;
    pathConnector = nullptr;
}

QRectF OxStrokesVaryWidthBackwardExtend::startCreate(std::vector<OxInkPoint> &points,
                                                     QPainterPath &path, QPointF point,
                                                     QMap<QString, QVariant>, float width)
{
    if (!isUsableSample(point, width))
        return QRectF();
    return startWithDot(points, path, point, 0, width);
}

QRectF OxStrokesVaryWidthBackwardExtend::startWithDot(std::vector<OxInkPoint> &points,
                                                      QPainterPath &path, QPointF point,
                                                      double time, float width)
{
    lastDrawnIndex = 0;
    const OxInkPoint p = samplePoint(point, time);
    points.push_back(p);
    smoothedPoints.push_back(p);
    QPainterPath dot;
    dot.addEllipse(point, width / 10, width / 10);
    backwardPaths.append(dot);
    path.moveTo(point);
    return inflateRect(dot.boundingRect(), kOutlineMargin);
}

QRectF OxStrokesVaryWidthBackwardExtend::creating(std::vector<OxInkPoint> &points,
                                                  QPainterPath &path, QPointF point,
                                                  QMap<QString, QVariant> params, float width)
{
    const std::optional<SampleStep> step =
        takeSample(points, point, params, width, SampleReads::kNothing);
    if (!step)
        return QRectF();
    path.lineTo(point);

    QRectF dirty;
    takeOldTail(dirty);
    smoothingStep(points, step->sample, step->last, step->dist);

    backwardInfos.clear();
    int index = 0;
    const bool bodyReached =
        prepareBackwardPath(backwardInfos, smoothedPoints, index, point, width);
    drawTail(dirty);
    if (bodyReached) {
        dirty |= computeConnectPaths(smoothedPoints, lastDrawnIndex, index + 1, width);
        wholePathFollowsGenerator();
        lastDrawnIndex = index + 1;
    }
    return dirty;
}

QRectF OxStrokesVaryWidthBackwardExtend::endCreate(std::vector<OxInkPoint> &points,
                                                   QPainterPath &path, QPointF point,
                                                   QMap<QString, QVariant>, float width)
{
    if (points.empty() || !isUsableSample(point, width))
        return QRectF();
    QRectF result;
    const EndStep end = appendEndPoint(points, samplePoint(point), {0, kNoPressure});
    if (end.added != EndPoint::kNone) {
        smoothedPoints.push_back(end.point);
        path.lineTo(drawnEnd(end, point));
    }
    if (!backwardRect.isEmpty())
        result |= backwardRect;

    if (lastDrawnIndex < int(smoothedPoints.size()) - 1) {
        // The final tail, with the sample as its tip even when it was too close to be kept.
        backwardInfos.clear();
        int index = 0;
        prepareBackwardPath(backwardInfos, smoothedPoints, index, point, width);
        if (lastDrawnIndex < index)
            result |= computeConnectPaths(smoothedPoints, lastDrawnIndex, index + 1, width);
        const QRectF joined = computeBackwardConnectPath(backwardInfos);
        wholePathFollowsGenerator();
        if (!joined.isEmpty())
            result |= joined;
    }
    lastDrawnIndex = int(points.size()) - 1;
    setPointsPressureInfo(smoothedPoints, backwardInfos, width);
    if (&points != &smoothedPoints)
        points = smoothedPoints;
    backwardPaths.clear();
    TailSweep::releaseRoom(*pathConnector);
    return result;
}

QVector<QPainterPath> OxStrokesVaryWidthBackwardExtend::getBackwardPaths() const
{
    return backwardPaths;
}

void OxStrokesVaryWidthBackwardExtend::takeOldTail(QRectF &dirty)
{
    if (!backwardRect.isEmpty())
        dirty |= backwardRect;
    backwardRect = QRectF();
    backwardPaths.clear();
}

void OxStrokesVaryWidthBackwardExtend::drawTail(QRectF &dirty)
{
    QRectF tail;
    computeBackwardPath(backwardInfos, backwardPaths, tail);
    if (!tail.isEmpty()) {
        backwardRect |= tail;
        dirty |= tail;
    }
}

void OxStrokesVaryWidthBackwardExtend::paint(QPainter *painter, QRectF rect, const QBrush &brush)
{
    if (!painter)
        return;
    OxStrokesVaryWidthPressure::paint(painter, rect, brush);
    for (const QPainterPath &tail : backwardPaths) {
        if (rect.intersects(tail.boundingRect()))
            painter->fillPath(tail, brush);
    }
}
