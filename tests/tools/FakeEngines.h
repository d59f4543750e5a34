#ifndef QUILLMARK_TESTS_FAKEENGINES_H
#define QUILLMARK_TESTS_FAKEENGINES_H

// An engine that logs what the renderer hands it. The renderer makes and destroys its engine
// objects itself, so the log is shared by all of them.

#include "EngineAdapter.h"

#include <string>
#include <vector>

struct LoggedCall
{
    std::string name;
    std::vector<QPointF> samples;
    int time = 0;         // "time", or the last point's time for a replay
    float pressure = 0;   // "pressure", or the last point's pressure for a replay
};

struct EngineLog
{
    std::vector<LoggedCall> calls;
    int enginesMade = 0;
};

inline EngineLog &engineLog()
{
    static EngineLog log;
    return log;
}

// Keeps the samples it was handed (its shapes show them) and reports a 1 x 1 rectangle at the
// last one.
class LoggingEngine : public OxStrokesFixWidth
{
public:
    LoggingEngine() { ++engineLog().enginesMade; }

    QRectF startCreate(std::vector<OxInkPoint> &points, QPainterPath &, QPointF point,
                       Params params, float) override
    {
        return log("startCreate", points, {point}, params);
    }
    QRectF creating(std::vector<OxInkPoint> &points, QPainterPath &, QPointF point, Params params,
                    float) override
    {
        return log("creating", points, {point}, params);
    }
    QRectF endCreate(std::vector<OxInkPoint> &points, QPainterPath &, QPointF point, Params params,
                     float) override
    {
        return log("endCreate", points, {point}, params);
    }
    QRectF loadFromWholePoints(std::vector<OxInkPoint> &points, QPainterPath &, float) override
    {
        LoggedCall call{"loadFromWholePoints", {}, int(points.back().time), points.back().pressure};
        for (const OxInkPoint &p : points) {
            call.samples.emplace_back(p.x, p.y);
            received << call.samples.back();
        }
        engineLog().calls.push_back(call);
        return QRectF(0, 0, 1, 1);
    }
    QRectF creatingOnlyBackward(std::vector<OxInkPoint> &points, QList<QPointF> &samples,
                                Params params, float)
    {
        return log("creatingOnlyBackward", points, {samples.begin(), samples.end()}, params);
    }
    QRectF endCreateOnlyBackward(std::vector<OxInkPoint> &points, QPainterPath &, QPointF point,
                                 Params params, float)
    {
        return log("endCreateOnlyBackward", points, {point}, params);
    }

    QPolygonF received;

private:
    QRectF log(const char *name, std::vector<OxInkPoint> &points,
               const std::vector<QPointF> &samples, Params &params)
    {
        engineLog().calls.push_back({name, samples, params[QStringLiteral("time")].toInt(),
                                     params[QStringLiteral("pressure")].toFloat()});
        for (const QPointF &p : samples) {
            points.emplace_back(float(p.x()), float(p.y()), 0.0, 0.f, 0.f, 0.f);
            received << p;
        }
        return QRectF(samples.back(), QSizeF(1, 1));
    }
};

inline EngineAdapter loggingAdapter()
{
    return adapterFor<LoggingEngine>("logging", "logs its calls",
                                     [](LoggingEngine &engine, const QPainterPath &) {
                                         return StrokeShapes{engine.received, {}};
                                     });
}

inline EngineAdapter batchLoggingAdapter()
{
    EngineAdapter adapter = withBatchMode<LoggingEngine>(loggingAdapter());
    adapter.name = "batchy";
    return adapter;
}

#endif
