#include "OxStrokesFixWidth.h"

#include "OxGeometry.h"
#include "OxInputGuards_p.h"
#include "OxSamplePoint_p.h"
#include "OxStrokeEnd_p.h"
#include "OxStrokeSteps_p.h"

#include <cmath>

using namespace quillmark::detail;

OxStrokesFixWidth::OxStrokesFixWidth()
    : extendPending(false), lastDrawnIndex(0), maxControlDistance(4.0f)
{
}

OxStrokesFixWidth::OxStrokesFixWidth(const OxStrokesFixWidth &other) = default;

OxStrokesFixWidth &OxStrokesFixWidth::operator=(const OxStrokesFixWidth &other) = default;

OxStrokesFixWidth::~OxStrokesFixWidth() = default;

QRectF OxStrokesFixWidth::startCreate(std::vector<OxInkPoint> &points, QPainterPath &path,
                                      QPointF point, QMap<QString, QVariant>, float width)
{
    if (!isUsableSample(point, width))
        return QRectF();
    lastDrawnIndex = 0;
    const OxInkPoint p = samplePoint(point);
    points.push_back(p);
    smoothedPoints.push_back(p);
    path.moveTo(point);

    QPainterPath dot;
    dot.addEllipse(point, width / 2, width / 2);
    return inflateRect(dot.boundingRect(), width / 2);
}

QRectF OxStrokesFixWidth::creating(std::vector<OxInkPoint> &points, QPainterPath &path,
                                   QPointF point, QMap<QString, QVariant> params, float width)
{
    const std::optional<SampleStep> step =
        takeSample(points, point, params, width, SampleReads::kNothing);
    if (!step)
        return QRectF();
    const size_t start = smoothedPoints.size();
    smoothingStep(points, step->sample, step->last, step->dist);

    QPainterPath drawn;
    drawn.moveTo(path.currentPosition());
    for (size_t i = start; i < smoothedPoints.size(); ++i) {
        path.lineTo(position(smoothedPoints[i]));
        drawn.lineTo(position(smoothedPoints[i]));
    }
    lastDrawnIndex = int(smoothedPoints.size()) - 1;
    return inflateRect(drawn.boundingRect(), width / 2);
}

QRectF OxStrokesFixWidth::endCreate(std::vector<OxInkPoint> &points, QPainterPath &path,
                                    QPointF point, QMap<QString, QVariant>, float width)
{
    if (points.empty() || !isUsableSample(point, width))
        return QRectF();
    const EndStep end = appendEndPoint(points, samplePoint(point), {0, kNoPressure});
    if (end.added != EndPoint::kNone) {
        smoothedPoints.push_back(end.point);
        path.lineTo(drawnEnd(end, point));
    }

    QRectF result;
    const int lastIndex = int(smoothedPoints.size()) - 1;
    if (lastDrawnIndex < lastIndex) {
        // Starts at the point drawn last, so the final segment is traced back and out again.
        QPainterPath drawn;
        drawn.moveTo(path.currentPosition());
        for (int i = std::max(lastDrawnIndex, 0); i <= lastIndex; ++i) {
            path.lineTo(position(smoothedPoints[size_t(i)]));
            drawn.lineTo(position(smoothedPoints[size_t(i)]));
        }
        result |= inflateRect(drawn.boundingRect(), width / 2);
    }
    lastDrawnIndex = lastIndex;
    if (&points != &smoothedPoints)
        points = smoothedPoints;
    return result;
}

void OxStrokesFixWidth::paint(QPainter *, QRectF, QColor)
{
}

void OxStrokesFixWidth::buildPathFromXY(std::vector<OxInkPoint> &points, QPainterPath &path, float)
{
    path = QPainterPath();
    for (size_t i = 0; i < points.size(); ++i) {
        if (i == 0)
            path.moveTo(position(points[i]));
        else
            path.lineTo(position(points[i]));
    }
}

QRectF OxStrokesFixWidth::loadFromWholePoints(std::vector<OxInkPoint> &points, QPainterPath &path,
                                              float width)
{
    return replayWholePoints(points, path, width, false);
}

QRectF OxStrokesFixWidth::replayWholePoints(std::vector<OxInkPoint> &points, QPainterPath &path,
                                            float width, bool withPressure)
{
    std::vector<OxInkPoint> copy;
    copy.reserve(points.size());
    for (const OxInkPoint &p : points) {
        if (std::isfinite(p.x) && std::isfinite(p.y)
            && (!withPressure || std::isfinite(p.pressure)))
            copy.push_back(p);
    }
    if (copy.empty() || !std::isfinite(width))
        return QRectF();

    points.clear();
    QMap<QString, QVariant> params;
    auto paramsFor = [&](const OxInkPoint &p) -> const QMap<QString, QVariant> & {
        if (withPressure)
            params[QStringLiteral("pressure")] = QVariant(p.pressure);
        return params;
    };
    QRectF result = startCreate(points, path, position(copy.front()), paramsFor(copy.front()),
                                width);
    for (size_t i = 1; i + 1 < copy.size(); ++i)
        result |= creating(points, path, position(copy[i]), paramsFor(copy[i]), width);
    // A single point ends where it started: the dot of a tap, as drawn live.
    result |= endCreate(points, path, position(copy.back()), paramsFor(copy.back()), width);

    // path becomes the plain centre line; a subclass's rebuild would redo its outline as well.
    OxStrokesFixWidth::buildPathFromXY(smoothedPoints, path, width);
    if (&points != &smoothedPoints)
        points = smoothedPoints;
    return result;
}

void OxStrokesFixWidth::copyFrom(OxStrokesFixWidth *)
{
}

float OxStrokesFixWidth::twoPointDistance(QPointF a, QPointF b)
{
    const float dx = float(a.x() - b.x());
    const float dy = float(a.y() - b.y());
    const float squared = dx * dx + dy * dy;
    return float(std::sqrt(double(squared)));
}

QRectF OxStrokesFixWidth::inflateRect(QRectF rect, float d)
{
    return QRectF(QPointF(rect.left() - d, rect.top() - d),
                  QPointF(rect.right() + d, rect.bottom() + d));
}

QRectF OxStrokesFixWidth::unionTwoRect(QRectF a, QRectF b)
{
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    return a | b;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
QMatrix OxStrokesFixWidth::rotate2(float angleDegrees, QPointF center)
{
    QMatrix toOrigin;
    toOrigin.translate(-center.x(), -center.y());
    QMatrix rotation;
    rotation.rotate(angleDegrees);
    QMatrix back;
    back.translate(center.x(), center.y());
    return toOrigin * rotation * back;
}
#pragma GCC diagnostic pop

OxInkPoint OxStrokesFixWidth::getPtAccordBaseDistance(const OxInkPoint &a, const OxInkPoint &b,
                                                      float d)
{
    const float t = d / pointDistance(a.x, a.y, b.x, b.y);
    return std::isfinite(t) ? interpolate(a, b, t) : b;
}

OxInkPoint OxStrokesFixWidth::getPtAccordDesDistance(const OxInkPoint &a, const OxInkPoint &b,
                                                     float d)
{
    const float length = pointDistance(a.x, a.y, b.x, b.y);
    const float t = (length + d) / length;
    return std::isfinite(t) ? interpolate(a, b, t) : b;
}
