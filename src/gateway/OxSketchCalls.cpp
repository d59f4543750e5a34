// The sketch calls: plain numbers in, engine phase calls, rectangle and shape out.

#include "OxQuillmarkGateway.h"

#include "OxEngineKind.h"
#include "OxExportMirror_p.h"
#include "OxTimeOfDay_p.h"

#include <QList>
#include <cmath>

using quillmark::detail::localTimeOfDay;

namespace {
// The host's time stamp, or now when it is 0 or less, as a 64-bit "time".
QMap<QString, QVariant> stampedParams(long long time)
{
    const qlonglong t = time <= 0 ? qlonglong(localTimeOfDay()) : qlonglong(time);
    return {{QStringLiteral("time"), QVariant(t)}};
}

QMap<QString, QVariant> nowParams()
{
    return {{QStringLiteral("time"), QVariant(localTimeOfDay())}};
}

// The nearest whole unit, halves toward positive infinity (2.5 -> 3, -2.5 -> -2).
QPointF roundedPoint(float x, float y)
{
    return QPointF(std::floor(double(x) + 0.5), std::floor(double(y) + 0.5));
}

void report(const QRectF &r, float &left, float &top, float &width, float &height)
{
    left = float(r.left());
    top = float(r.top());
    width = float(r.width());
    height = float(r.height());
}

// The gateway's engines are the filled pen's, which draws an outline, and the brush's, which
// draws an outline and tails.
bool isBrush(const OxEngineKind &kind)
{
    return kind.drawn == OxEngineKind::Drawn::kOutlineAndTails;
}

// Grows r by the pen width on every side, the way QRectF::adjust computes it (adjusted rounds
// the new size differently).
QRectF inflated(QRectF r, float by)
{
    r.adjust(-by, -by, by, by);
    return r;
}
} // namespace

float *OxQuillmarkGateway::startSketch(float x, float y, long long time, float &left, float &top,
                                       float &width, float &height, int &pointCount,
                                       int &pathCount, int *&pathSizes)
{
    if (!engine)
        return nullptr;
    points.clear();
    path = QPainterPath();
    // A new stroke: what the last one exported tells nothing about it, even where it starts and
    // ends at the same points.
    *exportMirror = OxExportMirror();
    accumulatedRect = QRectF(0, 0, 0, 0);
    const QRectF r =
        engine->startCreate(points, path, QPointF(x, y), stampedParams(time), penWidth);
    report(r, left, top, width, height);
    if (!r.isEmpty())
        accumulatedRect |= r;
    return publishEngineShape(false, pointCount, pathCount, pathSizes);
}

float *OxQuillmarkGateway::sketching(float x, float y, float &left, float &top, float &width,
                                     float &height, int &pointCount, int &pathCount,
                                     int *&pathSizes)
{
    if (!engine)
        return nullptr;
    const QRectF r = engine->creating(points, path, roundedPoint(x, y), nowParams(), penWidth);
    report(r, left, top, width, height);
    return publishEngineShape(false, pointCount, pathCount, pathSizes);
}

float *OxQuillmarkGateway::endSketch(float x, float y, float &left, float &top, float &width,
                                     float &height, int &pointCount, int &pathCount,
                                     int *&pathSizes)
{
    if (!engine)
        return nullptr;
    const QRectF r = engine->endCreate(points, path, roundedPoint(x, y), nowParams(), penWidth);
    report(r, left, top, width, height);
    return publishEngineShape(false, pointCount, pathCount, pathSizes);
}

float *OxQuillmarkGateway::endSketch2(float x, float y, long long time, float &left, float &top,
                                      float &width, float &height, int &pointCount,
                                      int &pathCount, int *&pathSizes)
{
    if (!engine)
        return nullptr;
    QRectF r = engine->endCreate(points, path, QPointF(x, y), stampedParams(time), penWidth);
    report(r, left, top, width, height);
    const OxEngineKind &kind = *OxEngineKind::of(*engine);
    if (isBrush(kind)) {
        // The brush's final tail has joined the body: repaint all of it.
        r |= kind.outlines(*engine).front().boundingRect();
        r = inflated(r, penWidth);
        report(r, left, top, width, height);
    }
    return publishEngineShape(false, pointCount, pathCount, pathSizes);
}

float *OxQuillmarkGateway::sketching2(int count, float *xy, long long *times, float &left,
                                      float &top, float &width, float &height, int &pointCount,
                                      int &pathCount, int *&pathSizes)
{
    if (!engine || count <= 0 || !xy)
        return nullptr;
    // Only the first stamp is read; it stands for the newest sample of the batch.
    const QMap<QString, QVariant> params = stampedParams(times ? times[0] : 0);
    QList<QPointF> batch;
    batch.reserve(count);
    for (int i = 0; i < count; ++i)
        batch.append(QPointF(xy[2 * i], xy[2 * i + 1]));

    const OxEngineKind &kind = *OxEngineKind::of(*engine);
    QRectF r = kind.creatingBatch(*engine, points, batch, params, penWidth);
    if (r.isEmpty()) {
        left = top = width = height = 0;
    } else {
        if (isBrush(kind))
            r = inflated(r, penWidth);
        report(r, left, top, width, height);
        accumulatedRect |= r;
    }
    if (!isBrush(kind))
        return publishPaths(kind.outlines(*engine), nullptr, pointCount, pathCount, pathSizes);
    return publishEngineShape(false, pointCount, pathCount, pathSizes);
}

float *OxQuillmarkGateway::endSketch3(float x, float y, long long time, float &left, float &top,
                                      float &width, float &height, int &pointCount,
                                      int &pathCount, int *&pathSizes)
{
    if (!engine)
        return nullptr;
    const OxEngineKind &kind = *OxEngineKind::of(*engine);
    if (isBrush(kind)) {
        const QRectF r = kind.endBatch(*engine, points, path, QPointF(x, y), stampedParams(time),
                                       penWidth);
        if (!r.isEmpty())
            accumulatedRect |= inflated(r, penWidth);
        report(accumulatedRect, left, top, width, height);
        return publishEngineShape(true, pointCount, pathCount, pathSizes);
    }
    return publishSmoothedPoints(pointCount, pathCount, pathSizes);
}

float *OxQuillmarkGateway::endSketch4(float x, float y, long long time, float &left, float &top,
                                      float &width, float &height, int &pointCount,
                                      int &pathCount, int *&pathSizes)
{
    if (!engine)
        return nullptr;
    // The filled pen stamps its last sample with the time of day, whatever the host passed.
    const OxEngineKind &kind = *OxEngineKind::of(*engine);
    QRectF r = kind.endBatch(*engine, points, path, QPointF(x, y),
                             isBrush(kind) ? stampedParams(time) : nowParams(), penWidth);
    if (!r.isEmpty())
        r = inflated(r, penWidth);
    report(r, left, top, width, height);
    if (isBrush(kind))
        return publishEngineShape(true, pointCount, pathCount, pathSizes);
    return publishPaths(kind.outlines(*engine), nullptr, pointCount, pathCount, pathSizes);
}
