#include "LiveStroke.h"

#include "OxEngineKind.h"
#include "OxPenPredictor.h"
#include "PageInk.h"

namespace {
Params paramsOf(const PenSample &sample)
{
    Params params;
    params.insert(QStringLiteral("time"), QVariant(sample.timeMs));
    params.insert(QStringLiteral("pressure"), QVariant(sample.pressure));
    return params;
}
} // namespace

LiveStroke::LiveStroke(const EngineAdapter &engine, float width, const QColor &colour,
                       double predictionMs)
    : adapter(engine), engine(engine.make()), penWidth(width), ink(colour),
      horizonMs(predictionMs)
{
    const OxEngineKind *kind = OxEngineKind::byName(engine.name.c_str());
    calls.engine = kind ? kind->id : 0;
    calls.width = width;
    calls.rgba = rgbaOf(colour);
}

QRectF LiveStroke::start(const PenSample &sample)
{
    const QPointF at = recorded(OxRecordedStep::kStart, sample);
    return followed(engine->startCreate(points, path, at, paramsOf(sample), penWidth), true);
}

QRectF LiveStroke::add(const PenSample &sample)
{
    const QRectF takenBack = ahead.takeBack();
    const QPointF at = recorded(OxRecordedStep::kAdd, sample);
    return takenBack
           | followed(engine->creating(points, path, at, paramsOf(sample), penWidth), true);
}

QRectF LiveStroke::finish(const PenSample &sample)
{
    const QRectF takenBack = ahead.takeBack();
    const QPointF at = recorded(OxRecordedStep::kEnd, sample);
    return takenBack
           | followed(engine->endCreate(points, path, at, paramsOf(sample), penWidth), false);
}

QPointF LiveStroke::recorded(OxRecordedStep::Call call, const PenSample &sample)
{
    const OxRecordedSample s{float(sample.position.x()), float(sample.position.y()),
                             sample.timeMs, sample.pressure};
    calls.samples.push_back(s);
    calls.steps.push_back(OxRecordedStep{call, 1});
    return QPointF(s.x, s.y);
}

QRectF LiveStroke::followed(QRectF changed, bool open)
{
    parts.update(*engine, path);
    if (!open || horizonMs <= 0)
        return changed;
    const OxRecordedSample &s = calls.samples.back();
    recent.push_back(OxInkPoint(s.x, s.y, s.time, s.pressure, 0, 0));
    if (recent.size() > size_t(OxPenPredictor::kFitSamples))
        recent.erase(recent.begin());
    QRectF drawn;
    ahead.draw(*engine, points, path, OxPenPredictor::predict(recent, horizonMs), penWidth,
               drawn);
    return changed | drawn;
}

StrokeShapes LiveStroke::shapes() const
{
    return adapter.shapes(*engine, path);
}
