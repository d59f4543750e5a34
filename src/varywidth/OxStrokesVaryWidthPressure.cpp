#include "OxStrokesVaryWidthPressure.h"

#include "OxDeferredOutline_p.h"
#include "OxEngineBuilders_p.h"
#include "OxGeometry.h"
#include "OxInputGuards_p.h"
#include "OxSamplePoint_p.h"
#include "OxStrokeEnd_p.h"
#include "OxStrokeSteps_p.h"


using namespace quillmark::detail;

OxStrokesVaryWidthPressure::OxStrokesVaryWidthPressure()
    : pathGenerator(newBuilderWithNib<OxPathGenerator>(ellipticNibHolder())),
      smoothWeights{1, 1, 1, 1, 1}
{
}

OxStrokesVaryWidthPressure::OxStrokesVaryWidthPressure(const OxStrokesVaryWidthPressure &other)
    : OxStrokesVaryWidthPressure()
{
    *this = other;
}

OxStrokesVaryWidthPressure &
OxStrokesVaryWidthPressure::operator=(const OxStrokesVaryWidthPressure &other)
{
    OxStrokesFixWidth::operator=(other);
    pathWhole = other.pathWhole;
    *pathGenerator = *other.pathGenerator;
    smoothWeights = other.smoothWeights;
    pathWholeStale = other.pathWholeStale;
    return *this;
}

OxStrokesVaryWidthPressure::~OxStrokesVaryWidthPressure()
{
    delete pathGenerator;
    pathGenerator = nullptr;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
QPainterPath OxStrokesVaryWidthPressure::ellipticNib()
{
    const QPointF center(100, 100);
    QPainterPath ellipse;
    ellipse.addEllipse(center, 25, kNibSize);
    return rotate2(-60, center).map(ellipse);
}
#pragma GCC diagnostic pop

const OxPathBuilder &OxStrokesVaryWidthPressure::ellipticNibHolder()
{
    static const OxPathGenerator holder = nibHolder(ellipticNib(), kNibSize);
    return holder;
}

QRectF OxStrokesVaryWidthPressure::startCreate(std::vector<OxInkPoint> &points,
                                               QPainterPath &path, QPointF point,
                                               QMap<QString, QVariant> params, float width)
{
    float pressure = 0;
    int time = 0;
    if (!isUsableSample(point, width) || !readPressureParam(params, pressure)
        || !readTimeParam(params, time))
        return QRectF();
    lastDrawnIndex = 0;
    const OxInkPoint p(float(point.x()), float(point.y()), time, pressure, 0, 0);
    points.push_back(p);
    smoothedPoints.push_back(p);
    // A single point is drawn as a circle, not as the nib.
    const float radius = pressure * width * 0.5f;
    wholePath().addEllipse(point, radius, radius);
    path.moveTo(point);
    return inflateRect(wholePath().boundingRect(), kOutlineMargin);
}

QRectF OxStrokesVaryWidthPressure::creating(std::vector<OxInkPoint> &points, QPainterPath &path,
                                            QPointF point, QMap<QString, QVariant> params,
                                            float width)
{
    const std::optional<SampleStep> step =
        takeSample(points, point, params, width, SampleReads::kTimeAndPressure);
    if (!step)
        return QRectF();
    path.lineTo(point);
    smoothingStep(points, step->sample, step->last, step->dist);

    smoothPressures(smoothedPoints, lastDrawnIndex, int(smoothedPoints.size()) - 1);
    return drawNewSmoothedPoints(width);
}

QRectF OxStrokesVaryWidthPressure::drawNewSmoothedPoints(float width)
{
    const int n = int(smoothedPoints.size());
    QRectF changed;
    if (n == 2) {
        changed |= inflateRect(wholePath().boundingRect(), kOutlineMargin);
        setWholePath(QPainterPath());
    }
    changed |= computeConnectPathsAccordPressure(smoothedPoints, lastDrawnIndex, n - 1, width);
    lastDrawnIndex = n - 1;
    wholePathFollowsGenerator();
    return changed;
}

QRectF OxStrokesVaryWidthPressure::endCreate(std::vector<OxInkPoint> &points, QPainterPath &path,
                                             QPointF point, QMap<QString, QVariant> params,
                                             float width)
{
    float pressure = 0;
    int time = 0;
    if (points.empty() || !isUsableSample(point, width) || !readPressureParam(params, pressure)
        || !readTimeParam(params, time))
        return QRectF();
    // A tap's dot keeps the start point's pressure, which gives the outline its extent.
    const TapStamp tap{double(time) + kTapDelayMs, points.back().pressure};
    const OxInkPoint sample(float(point.x()), float(point.y()), time, pressure, 0, 0);
    const EndStep end = appendEndPoint(points, sample, tap);
    if (end.added != EndPoint::kNone) {
        smoothedPoints.push_back(end.point);
        path.lineTo(drawnEnd(end, point));
    }
    if (end.added == EndPoint::kDot)
        setWholePath(QPainterPath());

    QRectF changed;
    const int n = int(smoothedPoints.size());
    if (lastDrawnIndex < n - 1) {
        smoothPressures(smoothedPoints, lastDrawnIndex, n - 1);
        changed |= computeConnectPathsAccordPressure(smoothedPoints, lastDrawnIndex, n - 1, width);
    }
    lastDrawnIndex = n - 1;
    wholePathFollowsGenerator();
    if (&points != &smoothedPoints)
        points = smoothedPoints;
    return changed;
}

void OxStrokesVaryWidthPressure::buildPathFromXY(std::vector<OxInkPoint> &points,
                                                 QPainterPath &path, float width)
{
    OxStrokesFixWidth::buildPathFromXY(points, path, width);
    setWholePath(QPainterPath());
    computeConnectPathsAccordPressure(points, 0, int(points.size()) - 1, width);
    wholePathFollowsGenerator();
}

QRectF OxStrokesVaryWidthPressure::loadFromWholePoints(std::vector<OxInkPoint> &points,
                                                       QPainterPath &path, float width)
{
    return replayWholePoints(points, path, width, true);
}

void OxStrokesVaryWidthPressure::paint(QPainter *painter, QRectF rect, const QBrush &brush)
{
    fillInside(painter, rect, wholePath(), brush);
}

QPainterPath OxStrokesVaryWidthPressure::getPathWhole() const
{
    return wholePath();
}

QPainterPath &OxStrokesVaryWidthPressure::wholePath() const
{
    return currentOutline(pathWhole, pathWholeStale, *pathGenerator);
}

void OxStrokesVaryWidthPressure::setWholePath(const QPainterPath &path)
{
    replaceOutline(pathWhole, pathWholeStale, path);
}

void OxStrokesVaryWidthPressure::wholePathFollowsGenerator()
{
    pathWholeStale = true;
}

void OxStrokesVaryWidthPressure::setSamplePath(QPainterPath &path, float size)
{
    pathGenerator->setSamplePath(path, size);
}
