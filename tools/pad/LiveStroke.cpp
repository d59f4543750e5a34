#include "LiveStroke.h"

namespace {
Params paramsOf(const PenSample &sample)
{
    Params params;
    params.insert(QStringLiteral("time"), QVariant(sample.timeMs));
    params.insert(QStringLiteral("pressure"), QVariant(sample.pressure));
    return params;
}
} // namespace

LiveStroke::LiveStroke(const EngineAdapter &engine, float width, const QColor &colour)
    : adapter(engine), engine(engine.make()), penWidth(width), ink(colour)
{
}

QRectF LiveStroke::start(const PenSample &sample)
{
    return followed(
        engine->startCreate(points, path, sample.position, paramsOf(sample), penWidth));
}

QRectF LiveStroke::add(const PenSample &sample)
{
    return followed(
        engine->creating(points, path, sample.position, paramsOf(sample), penWidth));
}

QRectF LiveStroke::finish(const PenSample &sample)
{
    return followed(
        engine->endCreate(points, path, sample.position, paramsOf(sample), penWidth));
}

QRectF LiveStroke::followed(QRectF changed)
{
    parts.update(*engine, path);
    return changed;
}

StrokeShapes LiveStroke::shapes() const
{
    return adapter.shapes(*engine, path);
}
