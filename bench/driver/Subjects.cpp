#include "Subjects.h"

#include "ShapeCopy.h"

#include "OxEngineKind.h"
#include "OxQuillmarkGateway.h"

#include <QBrush>
#include <QColor>
#include <algorithm>
#include <limits>

namespace {
const QColor kInk(20, 20, 120);
float chosenWidth = 6;

// Recorded times are 64-bit; the engines read "time" as a 32-bit int.
QMap<QString, QVariant> sampleParams(const RecordedSample &sample)
{
    const int time = int(std::clamp<long long>(sample.timeMs, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
    return {{QStringLiteral("time"), QVariant(time)},
            {QStringLiteral("pressure"), QVariant(sample.pressure)}};
}

// The brush engines rebuild their tapering tail at every sample.
bool rebuildsTail(const OxEngineKind &kind)
{
    return kind.drawn == OxEngineKind::Drawn::kOutlineAndTails;
}

class EngineFeed : public StrokeFeed
{
public:
    explicit EngineFeed(const OxEngineKind &kind) : kind(kind), engine(kind.make()) {}

    TimedCall feed(const RecordedSample &sample, Phase phase) override
    {
        const QMap<QString, QVariant> params = sampleParams(sample);
        const QPointF point(sample.x, sample.y);
        return timedCall([&] {
            switch (phase) {
            case Phase::Start:
                return engine->startCreate(points, path, point, params, penWidth());
            case Phase::Creating:
                return engine->creating(points, path, point, params, penWidth());
            case Phase::End:
                break;
            }
            return engine->endCreate(points, path, point, params, penWidth());
        });
    }

    // The centre-line engine leaves painting to the host.
    bool paint(QPainter &painter, QRectF rect) override
    {
        return kind.paint(*engine, &painter, rect, QBrush(kInk));
    }

private:
    const OxEngineKind &kind;
    const std::unique_ptr<OxStrokesFixWidth> engine;
    std::vector<OxInkPoint> points;
    QPainterPath path;
};

// The gateway's whole call: engine call and export. sketching and endSketch take no time stamp
// and round the position to whole units; the first sample too is stamped with the time of day
// (startSketch with time 0), as every later one is.
class GatewayFeed : public StrokeFeed
{
public:
    explicit GatewayFeed(int penType) { gateway.setEnvironmentPara(1, 1, penWidth(), penType); }

    TimedCall feed(const RecordedSample &sample, Phase phase) override
    {
        const float x = float(sample.x), y = float(sample.y);
        return timedCall([&] {
            switch (phase) {
            case Phase::Start:
                gateway.startSketch(x, y, 0, left, top, width, height, pointCount,
                                    pathCount, pathSizes);
                break;
            case Phase::Creating:
                gateway.sketching(x, y, left, top, width, height, pointCount, pathCount,
                                  pathSizes);
                break;
            case Phase::End:
                gateway.endSketch(x, y, left, top, width, height, pointCount, pathCount,
                                  pathSizes);
                break;
            }
            return QRectF(left, top, width, height);
        });
    }

    bool paint(QPainter &, QRectF) override { return false; }

private:
    OxQuillmarkGateway gateway;
    float left = 0, top = 0, width = 0, height = 0;
    int pointCount = 0, pathCount = 0;
    int *pathSizes = nullptr;
};

// The C stroke face with the recorded time stamps and pressures, each call followed by the read
// of a host that keeps its own copy of the shape: both are timed together.
class CStrokeFeed : public StrokeFeed
{
public:
    explicit CStrokeFeed(int engine) : stroke(quillmark_stroke_create(engine, penWidth())) {}
    ~CStrokeFeed() override { quillmark_stroke_destroy(stroke); }
    CStrokeFeed(const CStrokeFeed &) = delete;
    CStrokeFeed &operator=(const CStrokeFeed &) = delete;

    TimedCall feed(const RecordedSample &sample, Phase phase) override
    {
        const float x = float(sample.x), y = float(sample.y), pressure = float(sample.pressure);
        const double t = double(sample.timeMs);
        return timedCall([&] {
            quillmark_rect r;
            switch (phase) {
            case Phase::Start:
                quillmark_stroke_start(stroke, x, y, t, pressure, &r);
                break;
            case Phase::Creating:
                quillmark_stroke_add(stroke, x, y, t, pressure, &r);
                break;
            case Phase::End:
                quillmark_stroke_end(stroke, x, y, t, pressure, &r);
                break;
            }
            copy.follow(stroke);
            return QRectF(r.left, r.top, r.width, r.height);
        });
    }

    bool paint(QPainter &, QRectF) override { return false; }

private:
    quillmark_stroke *stroke;
    ShapeCopy copy;
};

template <int PenType>
std::unique_ptr<StrokeFeed> makeGatewayFeed()
{
    return std::make_unique<GatewayFeed>(PenType);
}
} // namespace

float penWidth()
{
    return chosenWidth;
}

void setPenWidth(float width)
{
    chosenWidth = width;
}

const std::vector<Subject> &subjects()
{
    static const std::vector<Subject> all = [] {
        const std::vector<OxEngineKind> &kinds = OxEngineKind::all();
        std::vector<Subject> subjects;
        for (const OxEngineKind &kind : kinds)
            subjects.push_back({kind.className, rebuildsTail(kind), false,
                                [&kind] { return std::make_unique<EngineFeed>(kind); }});
        subjects.push_back({"gateway pen 1 (fill)", false, false, makeGatewayFeed<1>});
        subjects.push_back({"gateway pen 2 (brush)", true, true, makeGatewayFeed<2>});
        // The C face's engine numbers are the table's ids.
        for (const OxEngineKind &kind : kinds)
            subjects.push_back({std::string("C stroke ") + kind.name, rebuildsTail(kind), false,
                                [&kind] { return std::make_unique<CStrokeFeed>(kind.id); },
                                kind.className});
        return subjects;
    }();
    return all;
}

const Subject *findSubject(const std::string &name)
{
    for (const Subject &s : subjects())
        if (s.name == name)
            return &s;
    return nullptr;
}
