// The C stroke face: one engine, the host's own numbers in, the changed rectangle out, and the
// shape read on request through OxStrokeShape. Each function checks its pointers and the stroke's
// phase, converts the time stamp and makes one engine call. No exception crosses into C.

#include "quillmark_c.h"

#include "OxStrokeShape.h"
#include "OxStrokesFixWidthFill.h"
#include "OxStrokesVaryWidthBackwardTime.h"
#include "OxStrokesVaryWidthTime.h"

#include <QList>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace {
// Where a stroke stands; the first call after start decides between the ordinary and the batch
// way of feeding it.
enum class Phase { kFresh, kStarted, kOrdinary, kBatch, kFinished };

using Params = QMap<QString, QVariant>;

// The shape handed out by the last read of each kind, kept until the next one.
struct PolygonsRead
{
    OxStrokeShape shape;
    std::vector<int> sizes;
    std::vector<float> xy;
};

struct PartsRead
{
    OxStrokeShape shape;
    std::vector<quillmark_run> polygons;
};
} // namespace

struct quillmark_stroke
{
    std::unique_ptr<OxStrokesFixWidth> engine;
    float width = 0;
    Phase phase = Phase::kFresh;
    double startMs = 0;
    std::vector<OxInkPoint> points;
    QPainterPath path;
    Params params{{QStringLiteral("time"), 0}, {QStringLiteral("pressure"), 0.0f}};
    PolygonsRead whole;
    PartsRead parts;
};

namespace {
const char *const kEngineNames[] = {"fix", "fill", "pressure", "speed", "extend", "brush"};

std::unique_ptr<OxStrokesFixWidth> makeEngine(int engine)
{
    switch (engine) {
    case QUILLMARK_FIX:
        return std::make_unique<OxStrokesFixWidth>();
    case QUILLMARK_FILL:
        return std::make_unique<OxStrokesFixWidthFill>();
    case QUILLMARK_PRESSURE:
        return std::make_unique<OxStrokesVaryWidthPressure>();
    case QUILLMARK_SPEED:
        return std::make_unique<OxStrokesVaryWidthTime>();
    case QUILLMARK_EXTEND:
        return std::make_unique<OxStrokesVaryWidthBackwardExtend>();
    case QUILLMARK_BRUSH:
        return std::make_unique<OxStrokesVaryWidthBackwardTime>();
    default:
        return nullptr;
    }
}

void writeRect(quillmark_rect *out, const QRectF &rect)
{
    if (!out)
        return;
    if (rect.isEmpty()) {
        *out = quillmark_rect{0, 0, 0, 0};
        return;
    }
    *out = quillmark_rect{float(rect.left()), float(rect.top()), float(rect.width()),
                          float(rect.height())};
}

// The engines' "time": whole milliseconds since the stroke's first stamp, in an int. False for a
// stamp that is not finite or out of that range.
bool engineTime(const quillmark_stroke &stroke, double tMs, int &time)
{
    const double relative = std::floor(tMs - stroke.startMs + 0.5);
    if (!std::isfinite(relative) || std::fabs(relative) > std::numeric_limits<int>::max())
        return false;
    time = int(relative);
    return true;
}

// The parameter map of one call: the stroke's own map, updated in place so that a call
// allocates nothing for it.
const Params &sampleParams(quillmark_stroke &stroke, int time, float pressure)
{
    stroke.params[QStringLiteral("time")] = time;
    stroke.params[QStringLiteral("pressure")] = pressure;
    return stroke.params;
}

bool isFiniteSample(float x, float y, float pressure)
{
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(pressure);
}

// What one sample call does once its pointers and phase are checked: the engine's rectangle, or
// nothing when the call drops its input before reaching the engine.
struct Outcome
{
    QRectF changed;
    bool dropped = false;
};

// Runs call on a stroke whose phase is one of allowed, moving it to next unless the input was
// dropped. Returns what the header promises: 0 refused, 1 reached.
template <class Call>
int sampleCall(quillmark_stroke *stroke, quillmark_rect *changed,
               std::initializer_list<Phase> allowed, Phase next, Call call) noexcept
{
    writeRect(changed, QRectF());
    if (!stroke || std::find(allowed.begin(), allowed.end(), stroke->phase) == allowed.end())
        return 0;
    try {
        const Outcome outcome = call(*stroke);
        if (!outcome.dropped)
            stroke->phase = next;
        writeRect(changed, outcome.changed);
        return 1;
    } catch (...) {
        return 0;
    }
}

using PhaseMember = QRectF (OxStrokesFixWidth::*)(std::vector<OxInkPoint> &, QPainterPath &,
                                                   QPointF, QMap<QString, QVariant>, float);

// One of the engine's phase calls with one sample. The first sample's stamp becomes the
// stroke's time 0.
int phaseCall(quillmark_stroke *stroke, quillmark_rect *changed,
              std::initializer_list<Phase> allowed, Phase next, PhaseMember member, float x,
              float y, double tMs, float pressure) noexcept
{
    return sampleCall(stroke, changed, allowed, next, [&](quillmark_stroke &s) {
        if (next == Phase::kStarted)
            s.startMs = tMs;
        int time = 0;
        if (!isFiniteSample(x, y, pressure) || !engineTime(s, tMs, time))
            return Outcome{QRectF(), true};
        return Outcome{(s.engine.get()->*member)(s.points, s.path, QPointF(x, y),
                                                  sampleParams(s, time, pressure), s.width),
                       false};
    });
}

constexpr std::initializer_list<Phase> kOrdinaryPhases = {Phase::kStarted, Phase::kOrdinary};
constexpr std::initializer_list<Phase> kBatchPhases = {Phase::kStarted, Phase::kBatch};

QList<QPointF> batchPositions(int count, const float *xy)
{
    QList<QPointF> positions;
    positions.reserve(count);
    for (int i = 0; i < count; ++i)
        positions.append(QPointF(xy[2 * i], xy[2 * i + 1]));
    return positions;
}

// A batch call of the fill or brush engine (or only the brush, when brushOnly).
template <class Call>
int batchCall(quillmark_stroke *stroke, int count, const float *xy, double tMs,
              quillmark_rect *changed, std::initializer_list<Phase> allowed, Phase next,
              bool brushOnly, Call call) noexcept
{
    writeRect(changed, QRectF());
    if (!stroke || count <= 0 || !xy)
        return 0;
    auto *brush = dynamic_cast<OxStrokesVaryWidthBackwardTime *>(stroke->engine.get());
    auto *fill = dynamic_cast<OxStrokesFixWidthFill *>(stroke->engine.get());
    if (!brush && (brushOnly || !fill))
        return 0;
    return sampleCall(stroke, changed, allowed, next, [&](quillmark_stroke &s) {
        int time = 0;
        if (!engineTime(s, tMs, time))
            return Outcome{QRectF(), true};
        QList<QPointF> samples = batchPositions(count, xy);
        return call(brush, fill, s, samples, sampleParams(s, time, 0));
    });
}

void zeroRun(quillmark_run &run)
{
    run = quillmark_run{0, 0, nullptr};
}

quillmark_run cRun(const OxStrokeShape::Run &run)
{
    return quillmark_run{run.count(), run.kept, run.xy.empty() ? nullptr : run.xy.data()};
}
} // namespace

extern "C" {

int quillmark_engine_from_name(const char *name)
{
    if (!name)
        return 0;
    for (int i = 0; i < 6; ++i) {
        if (std::strcmp(name, kEngineNames[i]) == 0)
            return i + 1;
    }
    return 0;
}

quillmark_stroke *quillmark_stroke_create(int engine, float width)
{
    if (!std::isfinite(width) || width <= 0)
        return nullptr;
    try {
        std::unique_ptr<OxStrokesFixWidth> made = makeEngine(engine);
        if (!made)
            return nullptr;
        auto *stroke = new quillmark_stroke;
        stroke->engine = std::move(made);
        stroke->width = width;
        return stroke;
    } catch (...) {
        return nullptr;
    }
}

void quillmark_stroke_destroy(quillmark_stroke *stroke)
{
    delete stroke;
}

int quillmark_stroke_start(quillmark_stroke *stroke, float x, float y, double t_ms,
                           float pressure, quillmark_rect *changed)
{
    return phaseCall(stroke, changed, {Phase::kFresh}, Phase::kStarted,
                     &OxStrokesFixWidth::startCreate, x, y, t_ms, pressure);
}

int quillmark_stroke_add(quillmark_stroke *stroke, float x, float y, double t_ms, float pressure,
                         quillmark_rect *changed)
{
    return phaseCall(stroke, changed, kOrdinaryPhases, Phase::kOrdinary,
                     &OxStrokesFixWidth::creating, x, y, t_ms, pressure);
}

int quillmark_stroke_end(quillmark_stroke *stroke, float x, float y, double t_ms, float pressure,
                         quillmark_rect *changed)
{
    return phaseCall(stroke, changed, kOrdinaryPhases, Phase::kFinished,
                     &OxStrokesFixWidth::endCreate, x, y, t_ms, pressure);
}

int quillmark_stroke_add_batch(quillmark_stroke *stroke, int count, const float *xy,
                               double t_ms, quillmark_rect *changed)
{
    return batchCall(stroke, count, xy, t_ms, changed, kBatchPhases, Phase::kBatch, false,
                     [](OxStrokesVaryWidthBackwardTime *brush, OxStrokesFixWidthFill *fill,
                        quillmark_stroke &s, QList<QPointF> &samples, const Params &params) {
                         return Outcome{
                             brush ? brush->creatingOnlyBackward(s.points, samples, params, s.width)
                                   : fill->creatingOnlyBackward(s.points, samples, params, s.width),
                             false};
                     });
}

int quillmark_stroke_end_batch(quillmark_stroke *stroke, float x, float y, double t_ms,
                               float pressure, quillmark_rect *changed)
{
    writeRect(changed, QRectF());
    if (!stroke)
        return 0;
    auto *brush = dynamic_cast<OxStrokesVaryWidthBackwardTime *>(stroke->engine.get());
    auto *fill = dynamic_cast<OxStrokesFixWidthFill *>(stroke->engine.get());
    if (!brush && !fill)
        return 0;
    return sampleCall(stroke, changed, kBatchPhases, Phase::kFinished, [&](quillmark_stroke &s) {
        int time = 0;
        if (!isFiniteSample(x, y, pressure) || !engineTime(s, t_ms, time))
            return Outcome{QRectF(), true};
        const Params params = sampleParams(s, time, pressure);
        const QPointF point(x, y);
        return Outcome{brush ? brush->endCreateOnlyBackward(s.points, s.path, point, params,
                                                            s.width)
                             : fill->endCreateOnlyBackward(s.points, s.path, point, params,
                                                           s.width),
                       false};
    });
}

int quillmark_stroke_add_raw(quillmark_stroke *stroke, int count, const float *xy, double t_ms,
                             quillmark_rect *changed)
{
    return batchCall(stroke, count, xy, t_ms, changed, kOrdinaryPhases, Phase::kOrdinary, true,
                     [](OxStrokesVaryWidthBackwardTime *brush, OxStrokesFixWidthFill *,
                        quillmark_stroke &s, QList<QPointF> &samples, const Params &params) {
                         return Outcome{
                             brush->creatingYuanShi(s.points, samples, params, s.width), false};
                     });
}

int quillmark_stroke_add_fitted(quillmark_stroke *stroke, int count, const float *xy,
                                double t_ms, quillmark_rect *changed)
{
    return batchCall(
        stroke, count, xy, t_ms, changed, kOrdinaryPhases, Phase::kOrdinary, true,
        [&](OxStrokesVaryWidthBackwardTime *brush, OxStrokesFixWidthFill *, quillmark_stroke &s,
            QList<QPointF> &samples, const Params &params) {
            const QPointF point = samples.takeLast();
            if (!std::isfinite(point.x()) || !std::isfinite(point.y()))
                return Outcome{QRectF(), true};
            return Outcome{brush->creating(s.points, s.path, samples, point, params, s.width),
                           false};
        });
}

int quillmark_stroke_replay(quillmark_stroke *stroke, int count, const float *xy,
                            const double *t_ms, const float *pressure, quillmark_rect *changed)
{
    if (count <= 0 || !xy) {
        writeRect(changed, QRectF());
        return 0;
    }
    return sampleCall(stroke, changed, {Phase::kFresh}, Phase::kFinished, [&](quillmark_stroke &s) {
        s.points.reserve(size_t(count));
        for (int i = 0; i < count; ++i) {
            const double time = t_ms && std::isfinite(t_ms[i] - t_ms[0]) ? t_ms[i] - t_ms[0] : 0;
            s.points.push_back(OxInkPoint(xy[2 * i], xy[2 * i + 1], time,
                                          pressure ? pressure[i] : 1.0f, 0, 0));
        }
        const QRectF changedRect = s.engine->loadFromWholePoints(s.points, s.path, s.width);
        return Outcome{changedRect, false};
    });
}

int quillmark_stroke_polygons(quillmark_stroke *stroke, quillmark_polygons *out)
{
    if (out)
        *out = quillmark_polygons{0, 0, 0, 0, nullptr, nullptr};
    if (!stroke || !out || stroke->phase == Phase::kFresh)
        return 0;
    try {
        PolygonsRead &read = stroke->whole;
        read.shape.update(*stroke->engine, stroke->path);
        read.sizes.clear();
        read.xy.clear();
        read.shape.appendPolygons(read.sizes, read.xy);
        out->count = int(read.sizes.size());
        out->point_count = int(read.xy.size() / 2);
        out->tail_count = read.shape.tailCount();
        out->closed = read.shape.closed() ? 1 : 0;
        out->sizes = read.sizes.empty() ? nullptr : read.sizes.data();
        out->xy = read.xy.empty() ? nullptr : read.xy.data();
        return 1;
    } catch (...) {
        *out = quillmark_polygons{0, 0, 0, 0, nullptr, nullptr};
        return 0;
    }
}

int quillmark_stroke_parts(quillmark_stroke *stroke, quillmark_parts *out)
{
    if (out) {
        zeroRun(out->start_cap);
        zeroRun(out->left);
        zeroRun(out->end_cap);
        zeroRun(out->right);
        out->polygon_count = out->tail_count = out->closed = 0;
        out->polygons = nullptr;
    }
    if (!stroke || !out || stroke->phase == Phase::kFresh)
        return 0;
    try {
        PartsRead &read = stroke->parts;
        read.shape.update(*stroke->engine, stroke->path);
        read.polygons.clear();
        for (int i = 0; i < read.shape.polygonCount(); ++i)
            read.polygons.push_back(cRun(read.shape.polygons()[size_t(i)]));
        out->start_cap = cRun(read.shape.startCap());
        out->left = cRun(read.shape.left());
        out->end_cap = cRun(read.shape.endCap());
        out->right = cRun(read.shape.right());
        out->polygon_count = int(read.polygons.size());
        out->tail_count = read.shape.tailCount();
        out->closed = read.shape.closed() ? 1 : 0;
        out->polygons = read.polygons.empty() ? nullptr : read.polygons.data();
        return 1;
    } catch (...) {
        return 0;
    }
}

} // extern "C"
