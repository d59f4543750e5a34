#include "StrokeRunner.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace {
QPointF position(const RecordedSample &sample)
{
    return QPointF(sample.x, sample.y);
}

// Recorded times are 64-bit; the engines read "time" as a 32-bit int.
int timeMs(const RecordedSample &sample)
{
    return int(std::clamp<long long>(sample.timeMs, std::numeric_limits<int>::min(),
                                     std::numeric_limits<int>::max()));
}

Params sampleParams(const RecordedSample &sample)
{
    Params params;
    params.insert(QStringLiteral("time"), QVariant(timeMs(sample)));
    params.insert(QStringLiteral("pressure"), QVariant(sample.pressure));
    return params;
}

template <class Call>
EngineCall timed(int samples, Call call)
{
    const auto start = std::chrono::steady_clock::now();
    const QRectF dirty = call();
    const auto end = std::chrono::steady_clock::now();
    EngineCall record;
    record.dirty = dirty;
    record.micros = std::chrono::duration<double, std::micro>(end - start).count();
    record.samples = samples;
    return record;
}

// One stroke on its way into one engine object.
class StrokeFeed
{
public:
    StrokeFeed(const EngineAdapter &adapter, const RecordedStroke &stroke, float width)
        : adapter(adapter), engine(adapter.make()), stroke(stroke), width(width)
    {
    }

    void start()
    {
        const Params params = sampleParams(stroke.front());
        calls.push_back(timed(1, [&] {
            return engine->startCreate(points, path, position(stroke.front()), params, width);
        }));
        calls.back().opensStroke = true;
    }

    void creating(size_t i)
    {
        const Params params = sampleParams(stroke[i]);
        calls.push_back(timed(1, [&] {
            return engine->creating(points, path, position(stroke[i]), params, width);
        }));
    }

    // Hands samples [first, end) over in one batch call.
    void batch(size_t first, size_t end)
    {
        QList<QPointF> samples;
        for (size_t i = first; i < end; ++i)
            samples << position(stroke[i]);
        const Params params = sampleParams(stroke[end - 1]);
        calls.push_back(timed(int(end - first), [&] {
            return adapter.creatingBatch(*engine, points, samples, params, width);
        }));
    }

    // endCreate, or the batch mode's end call, with the last sample.
    void end(FeedMode mode)
    {
        const QPointF last = position(stroke.back());
        const Params params = sampleParams(stroke.back());
        calls.push_back(timed(stroke.size() > 1 ? 1 : 0, [&] {
            return mode == FeedMode::Batch
                       ? adapter.endBatch(*engine, points, path, last, params, width)
                       : engine->endCreate(points, path, last, params, width);
        }));
    }

    void replay()
    {
        for (const RecordedSample &s : stroke)
            points.emplace_back(float(s.x), float(s.y), double(s.timeMs), s.pressure, 0.f, 0.f);
        calls.push_back(timed(int(stroke.size()),
                              [&] { return engine->loadFromWholePoints(points, path, width); }));
        calls.back().opensStroke = true;
    }

    StrokeRun result()
    {
        StrokeRun run;
        run.shapes = adapter.shapes(*engine, path);
        run.calls = std::move(calls);
        return run;
    }

private:
    const EngineAdapter &adapter;
    const std::unique_ptr<OxStrokesFixWidth> engine;
    const RecordedStroke &stroke;
    const float width;
    std::vector<OxInkPoint> points;
    QPainterPath path;
    std::vector<EngineCall> calls;
};
} // namespace

StrokeRun runStroke(const EngineAdapter &adapter, const RecordedStroke &stroke,
                    const FeedSettings &feed)
{
    if (stroke.empty())
        return StrokeRun();
    StrokeFeed f(adapter, stroke, feed.width);
    const size_t n = stroke.size();
    const size_t batchSize = size_t(feed.batchSize);
    switch (feed.mode) {
    case FeedMode::Live:
        f.start();
        for (size_t i = 1; i + 1 < n; ++i)
            f.creating(i);
        f.end(feed.mode);
        break;
    case FeedMode::Replay:
        f.replay();
        break;
    case FeedMode::Batch:
        f.start();
        for (size_t i = 1; i + 1 < n; i += batchSize)
            f.batch(i, std::min(i + batchSize, n - 1));
        f.end(feed.mode);
        break;
    }
    return f.result();
}

EngineDrawing drawStrokes(const EngineAdapter &engine, const std::vector<RecordedStroke> &strokes,
                          const FeedSettings &feed)
{
    EngineDrawing drawing;
    drawing.engine = &engine;
    drawing.width = feed.width;
    for (const RecordedStroke &stroke : strokes)
        drawing.strokes.push_back(runStroke(engine, stroke, feed));
    return drawing;
}
