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
    int time = 0;        // "time", or the last point's time for a replay
    float pressure = 0;  // "pressure", or the last point's pressure for a replay
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

    QRectF startCreate(std::vector<OxInkPoint> &, QPainterPath &, QPointF point, Params params,
                       float) override
    {
        return log("startCreate", {point}, params);
    }
    QRectF creating(std::vector<OxInkPoint> &, QPainterPath &, QPointF point, Params params,
                    float) override
    {
        return log("creating", {point}, params);
    }
    QRectF endCreate(std::vector<OxInkPoint> &, QPainterPath &, QPointF point, Params params,
                     float) override
    {
        return log("endCreate", {point}, params);
    }
    QRectF loadFromWholePoints(std::vector<OxInkPoint> &points, QPainterPath &, float) override
    {
        std::vector<QPointF> samples;
        for (const OxInkPoint &p : points)
            samples.emplace_back(p.x, p.y);
        return log("loadFromWholePoints", samples,
                   {{QStringLiteral("time"), int(points.back().time)},
                    {QStringLiteral("pressure"), points.back().pressure}});
    }
    QRectF creatingOnlyBackward(std::vector<OxInkPoint> &, QList<QPointF> &samples, Params params,
                                float)
    {
        return log("creatingOnlyBackward", {samples.begin(), samples.end()}, params);
    }
    QRectF endCreateOnlyBackward(std::vector<OxInkPoint> &, QPainterPath &, QPointF point,
                                 Params params, float)
    {
        return log("endCreateOnlyBackward", {point}, params);
    }

    QPolygonF received;

private:
    QRectF log(const char *name, const std::vector<QPointF> &samples, const Params &params)
    {
        engineLog().calls.push_back({name, samples, params[QStringLiteral("time")].toInt(),
                                     params[QStringLiteral("pressure")].toFloat()});
        for (const QPointF &p : samples)
            received << p;
        return QRectF(samples.back(), QSizeF(1, 1));
    }
};

inline EngineAdapter loggingAdapter(const char *name = "logging")
{
    return adapterFor<LoggingEngine>(name, "logs its calls",
                                     [](LoggingEngine &engine, const QPainterPath &) {
                                         return StrokeShapes{engine.received, {}};
                                     });
}

inline EngineAdapter batchLoggingAdapter()
{
    return withBatchMode<LoggingEngine>(loggingAdapter("batchy"));
}

#endif
