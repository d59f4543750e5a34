#ifndef QUILLMARK_TESTS_FAKEENGINES_H
#define QUILLMARK_TESTS_FAKEENGINES_H

#include "EngineAdapter.h"

#include <sstream>
#include <string>
#include <vector>

// Logs every call as "name x,y ... t<time> p<pressure>" (for a replay, the last point's time and
// pressure), keeps the samples (its shapes show them) and reports a 1 x 1 rectangle at the last
// one. The tools make and destroy their engine objects themselves, so the log is shared.
class LoggingEngine : public OxStrokesFixWidth
{
public:
    static inline std::vector<std::string> log;
    static inline int made = 0;

    LoggingEngine() { ++made; }
    QRectF startCreate(std::vector<OxInkPoint> &, QPainterPath &, QPointF point, Params params,
                       float) override
    {
        return record("startCreate", {point}, params);
    }
    QRectF creating(std::vector<OxInkPoint> &, QPainterPath &, QPointF point, Params params,
                    float) override
    {
        return record("creating", {point}, params);
    }
    QRectF endCreate(std::vector<OxInkPoint> &, QPainterPath &, QPointF point, Params params,
                     float) override
    {
        return record("endCreate", {point}, params);
    }
    QRectF loadFromWholePoints(std::vector<OxInkPoint> &points, QPainterPath &, float) override
    {
        QList<QPointF> samples;
        for (const OxInkPoint &p : points)
            samples << QPointF(p.x, p.y);
        return record("loadFromWholePoints", samples,
                      {{QStringLiteral("time"), int(points.back().time)},
                       {QStringLiteral("pressure"), points.back().pressure}});
    }
    QRectF creatingOnlyBackward(std::vector<OxInkPoint> &, QList<QPointF> &samples, Params params,
                                float)
    {
        return record("creatingOnlyBackward", samples, params);
    }
    QRectF endCreateOnlyBackward(std::vector<OxInkPoint> &, QPainterPath &, QPointF point,
                                 Params params, float)
    {
        return record("endCreateOnlyBackward", {point}, params);
    }

    QPolygonF received;

private:
    QRectF record(const char *name, const QList<QPointF> &samples, Params params)
    {
        std::ostringstream line;
        line << name;
        for (const QPointF &p : samples)
            line << ' ' << p.x() << ',' << p.y();
        line << " t" << params[QStringLiteral("time")].toInt() << " p"
             << params[QStringLiteral("pressure")].toFloat();
        log.push_back(line.str());
        received << samples.toVector();
        return QRectF(samples.back(), QSizeF(1, 1));
    }
};

inline EngineAdapter loggingAdapter(const char *name = "logging")
{
    EngineAdapter adapter;
    adapter.name = name;
    adapter.title = "logs its calls";
    adapter.make = [] { return std::make_unique<LoggingEngine>(); };
    adapter.shapes = [](OxStrokesFixWidth &engine, const QPainterPath &) {
        return StrokeShapes{static_cast<LoggingEngine &>(engine).received, {}};
    };
    return adapter;
}

inline EngineAdapter batchLoggingAdapter()
{
    EngineAdapter adapter = loggingAdapter("batchy");
    adapter.creatingBatch = [](OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                               QList<QPointF> &samples, Params params, float width) {
        return static_cast<LoggingEngine &>(engine).creatingOnlyBackward(points, samples, params,
                                                                         width);
    };
    adapter.endBatch = [](OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                          QPainterPath &path, QPointF point, Params params, float width) {
        return static_cast<LoggingEngine &>(engine).endCreateOnlyBackward(points, path, point,
                                                                          params, width);
    };
    return adapter;
}

#endif
