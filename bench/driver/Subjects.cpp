#include "Subjects.h"

#include "ShapeCopy.h"

#include "OxQuillmarkGateway.h"
#include "OxStrokesFixWidth.h"
#include "OxStrokesFixWidthFill.h"
#include "OxStrokesVaryWidthBackwardExtend.h"
#include "OxStrokesVaryWidthBackwardTime.h"
#include "OxStrokesVaryWidthPressure.h"
#include "OxStrokesVaryWidthTime.h"

#include <QBrush>
#include <QColor>
#include <algorithm>
#include <limits>

namespace {
const QColor kInk(20, 20, 120);

// Recorded times are 64-bit; the engines read "time" as a 32-bit int.
QMap<QString, QVariant> sampleParams(const RecordedSample &sample)
{
    const int time = int(std::clamp<long long>(sample.timeMs, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
    return {{QStringLiteral("time"), QVariant(time)},
            {QStringLiteral("pressure"), QVariant(sample.pressure)}};
}

// The engines paint through two overloads; the centre-line engine leaves painting to the host.
bool paintShape(OxStrokesFixWidth &, QPainter &, QRectF)
{
    return false;
}

bool paintShape(OxStrokesFixWidthFill &engine, QPainter &painter, QRectF rect)
{
    engine.paint(&painter, rect, kInk);
    return true;
}

bool paintShape(OxStrokesVaryWidthPressure &engine, QPainter &painter, QRectF rect)
{
    engine.paint(&painter, rect, QBrush(kInk));
    return true;
}

template <class Engine>
class EngineFeed : public StrokeFeed
{
public:
    TimedCall feed(const RecordedSample &sample, Phase phase) override
    {
        const QMap<QString, QVariant> params = sampleParams(sample);
        const QPointF point(sample.x, sample.y);
        return timedCall([&] {
            switch (phase) {
            case Phase::Start:
                return engine.startCreate(points, path, point, params, kPenWidth);
            case Phase::Creating:
                return engine.creating(points, path, point, params, kPenWidth);
            case Phase::End:
                break;
            }
            return engine.endCreate(points, path, point, params, kPenWidth);
        });
    }

    bool paint(QPainter &painter, QRectF rect) override
    {
        return paintShape(engine, painter, rect);
    }

private:
    Engine engine;
    std::vector<OxInkPoint> points;
    QPainterPath path;
};

// The gateway's whole call: engine call and export. sketching and endSketch take no time stamp
// and round the position to whole units; the first sample too is stamped with the time of day
// (startSketch with time 0), as every later one is.
class GatewayFeed : public StrokeFeed
{
public:
    explicit GatewayFeed(int penType) { gateway.setEnvironmentPara(1, 1, kPenWidth, penType); }

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
    explicit CStrokeFeed(int engine) : stroke(quillmark_stroke_create(engine, kPenWidth)) {}
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

template <class Engine>
std::unique_ptr<StrokeFeed> makeEngineFeed()
{
    return std::make_unique<EngineFeed<Engine>>();
}

template <int Engine>
std::unique_ptr<StrokeFeed> makeCStrokeFeed()
{
    return std::make_unique<CStrokeFeed>(Engine);
}

template <int PenType>
std::unique_ptr<StrokeFeed> makeGatewayFeed()
{
    return std::make_unique<GatewayFeed>(PenType);
}
} // namespace

const std::vector<Subject> &subjects()
{
    static const std::vector<Subject> all = {
        {"OxStrokesFixWidth", false, false, makeEngineFeed<OxStrokesFixWidth>},
        {"OxStrokesFixWidthFill", false, false, makeEngineFeed<OxStrokesFixWidthFill>},
        {"OxStrokesVaryWidthPressure", false, false, makeEngineFeed<OxStrokesVaryWidthPressure>},
        {"OxStrokesVaryWidthTime", false, false, makeEngineFeed<OxStrokesVaryWidthTime>},
        {"OxStrokesVaryWidthBackwardExtend", true, false,
         makeEngineFeed<OxStrokesVaryWidthBackwardExtend>},
        {"OxStrokesVaryWidthBackwardTime", true, false,
         makeEngineFeed<OxStrokesVaryWidthBackwardTime>},
        {"gateway pen 1 (fill)", false, false, makeGatewayFeed<1>},
        {"gateway pen 2 (brush)", true, true, makeGatewayFeed<2>},
        {"C stroke fix", false, false, makeCStrokeFeed<QUILLMARK_FIX>, "OxStrokesFixWidth"},
        {"C stroke fill", false, false, makeCStrokeFeed<QUILLMARK_FILL>, "OxStrokesFixWidthFill"},
        {"C stroke pressure", false, false, makeCStrokeFeed<QUILLMARK_PRESSURE>,
         "OxStrokesVaryWidthPressure"},
        {"C stroke speed", false, false, makeCStrokeFeed<QUILLMARK_SPEED>,
         "OxStrokesVaryWidthTime"},
        {"C stroke extend", true, false, makeCStrokeFeed<QUILLMARK_EXTEND>,
         "OxStrokesVaryWidthBackwardExtend"},
        {"C stroke brush", true, false, makeCStrokeFeed<QUILLMARK_BRUSH>,
         "OxStrokesVaryWidthBackwardTime"},
    };
    return all;
}

const Subject *findSubject(const std::string &name)
{
    for (const Subject &s : subjects())
        if (s.name == name)
            return &s;
    return nullptr;
}
