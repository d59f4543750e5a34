// The C stroke face: one engine, the host's own numbers in, the changed rectangle out, and the
// shape read on request through OxStrokeShape. Each function checks its pointers and the stroke's
// phase against the engine table (OxEngineKind), converts the time stamp and makes one engine call,
// which the stroke keeps (OxStrokeCalls) for a page to replay. A refused call leaves the reason in
// the stroke. No exception crosses into C.

#include "quillmark_c.h"

#include "OxEngineKind.h"
#include "OxPenPredictor.h"
#include "OxPredictedInk.h"
#include "OxRectOut_p.h"
#include "OxStrokeCalls_p.h"
#include "OxStrokeShape.h"

#include <QList>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <new>

namespace {
// Where a stroke stands; the first call after start decides between the sample and the batch way
// of feeding it.
enum class Phase { kFresh, kStarted, kSamples, kBatch, kFinished };

using Params = OxEngineKind::Params;
using Recorded = OxRecordedStep;
using quillmark::detail::OxStrokeCalls;
using quillmark::detail::writeRect;

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
    // The predicted ink, read whole at every read.
    OxStrokeShape predictedShape;
    std::vector<int> predictedSizes;
    std::vector<float> predictedXy;
    std::vector<quillmark_run> predicted;
};

// What the predictions of a stroke keep: the last real samples (time relative to the stroke's
// start) for the library's predictor, the ink drawn, and the samples handed out by the last read.
struct Prediction
{
    std::vector<OxInkPoint> recent;
    OxPredictedInk ink;
    std::vector<double> handedOut;

    void remember(float x, float y, double ms, float pressure)
    {
        if (recent.size() == size_t(OxPenPredictor::kFitSamples))
            recent.erase(recent.begin());
        recent.emplace_back(x, y, ms, pressure, 0.0f, 0.0f);
    }
};
} // namespace

struct quillmark_stroke
{
    const OxEngineKind *kind = nullptr;
    std::unique_ptr<OxStrokesFixWidth> engine;
    float width = 0;
    Phase phase = Phase::kFresh;
    int refusal = QUILLMARK_REFUSED_NONE;
    double startMs = 0;
    std::vector<OxInkPoint> points;
    QPainterPath path;
    Params params{{QStringLiteral("time"), 0}, {QStringLiteral("pressure"), 0.0f}};
    PolygonsRead whole;
    PartsRead parts;
    Prediction prediction;
    OxStrokeCalls calls;
};

namespace {
// What a sample call needs and does: the way of feeding it belongs to (0: any), whether it opens a
// stroke (start, replay), whether it belongs to the batch way, the phase it leads to and the
// engine call it is recorded as.
struct CallRule
{
    unsigned way;
    bool opens;
    bool batchWay;
    Phase next;
    Recorded::Call recorded;
};

constexpr CallRule kStart{0, true, false, Phase::kStarted, Recorded::kStart};
constexpr CallRule kAdd{OxEngineKind::kSamples, false, false, Phase::kSamples, Recorded::kAdd};
constexpr CallRule kEnd{OxEngineKind::kSamples, false, false, Phase::kFinished, Recorded::kEnd};
constexpr CallRule kAddBatch{OxEngineKind::kBatch, false, true, Phase::kBatch, Recorded::kBatch};
constexpr CallRule kEndBatch{OxEngineKind::kBatch, false, true, Phase::kFinished,
                             Recorded::kEndBatch};
constexpr CallRule kAddRaw{OxEngineKind::kRaw, false, false, Phase::kSamples, Recorded::kRaw};
constexpr CallRule kAddFitted{OxEngineKind::kFitted, false, false, Phase::kSamples,
                              Recorded::kFitted};
constexpr CallRule kReplay{OxEngineKind::kReplay, true, false, Phase::kFinished,
                           Recorded::kReplay};

// The one reason that refuses a call of rule on stroke, in the order the header lists them, or
// QUILLMARK_REFUSED_NONE.
int refusalOf(const quillmark_stroke &stroke, const CallRule &rule, bool hasPoints)
{
    if (rule.way && !stroke.kind->canFeed(OxEngineKind::Feed(rule.way)))
        return QUILLMARK_REFUSED_ENGINE;
    if (!hasPoints)
        return QUILLMARK_REFUSED_NO_POINTS;
    switch (stroke.phase) {
    case Phase::kFresh:
        return rule.opens ? QUILLMARK_REFUSED_NONE : QUILLMARK_REFUSED_NOT_STARTED;
    case Phase::kFinished:
        return QUILLMARK_REFUSED_FINISHED;
    case Phase::kSamples:
    case Phase::kBatch:
        if (!rule.opens && (stroke.phase == Phase::kBatch) != rule.batchWay)
            return QUILLMARK_REFUSED_OTHER_WAY;
        break;
    case Phase::kStarted:
        break;
    }
    return rule.opens ? QUILLMARK_REFUSED_STARTED : QUILLMARK_REFUSED_NONE;
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

// What one sample call does once it is allowed: the engine's rectangle, or nothing when the call
// drops its input before reaching the engine.
struct Outcome
{
    QRectF changed;
    bool dropped = false;
};

const Outcome kDropped{QRectF(), true};

// Runs call (an engine call, or kDropped when the input does not reach the engine) and keeps the
// engine call in the stroke's calls: rule's call with count samples, sample(i) each.
template <class Sample, class Call>
Outcome recordedCall(quillmark_stroke &stroke, const CallRule &rule, size_t count, Sample sample,
                     Call call)
{
    stroke.calls.makeRoom(count);
    const Outcome outcome = call();
    if (!outcome.dropped)
        stroke.calls.append(rule.recorded, count, sample);
    return outcome;
}

// The same for a call of one sample.
template <class Call>
Outcome recordedCall(quillmark_stroke &stroke, const CallRule &rule, OxRecordedSample sample,
                     Call call)
{
    return recordedCall(stroke, rule, 1, [&](size_t) { return sample; }, call);
}

// A whole number of milliseconds for a record, of a time the engines do not read (a replayed
// point's): the nearest int, 0 beyond the int range.
qint32 recordedTime(double ms)
{
    const double rounded = std::floor(ms + 0.5);
    return std::fabs(rounded) <= std::numeric_limits<qint32>::max() ? qint32(rounded) : 0;
}

// Runs call on stroke when rule allows it, moving the stroke to the rule's phase unless the input
// was dropped. Returns what the header promises: 0 refused (the reason kept), 1 reached.
template <class Call>
int sampleCall(quillmark_stroke *stroke, quillmark_rect *changed, const CallRule &rule,
               bool hasPoints, Call call) noexcept
{
    writeRect(changed, QRectF());
    if (!stroke)
        return 0;
    stroke->refusal = refusalOf(*stroke, rule, hasPoints);
    if (stroke->refusal != QUILLMARK_REFUSED_NONE)
        return 0;
    try {
        const Outcome outcome = call(*stroke);
        QRectF taken;
        if (!outcome.dropped) {
            stroke->phase = rule.next;
            // A real sample voids the prediction.
            taken = stroke->prediction.ink.takeBack();
        }
        writeRect(changed, outcome.changed | taken);
        return 1;
    } catch (...) {
        stroke->refusal = QUILLMARK_REFUSED_NO_MEMORY;
        return 0;
    }
}

using PhaseMember = QRectF (OxStrokesFixWidth::*)(std::vector<OxInkPoint> &, QPainterPath &,
                                                   QPointF, QMap<QString, QVariant>, float);

// One of the engine's phase calls with one sample. The first sample's stamp becomes the
// stroke's time 0.
int phaseCall(quillmark_stroke *stroke, quillmark_rect *changed, const CallRule &rule,
              PhaseMember member, float x, float y, double tMs, float pressure) noexcept
{
    return sampleCall(stroke, changed, rule, true, [&](quillmark_stroke &s) {
        if (rule.next == Phase::kStarted)
            s.startMs = tMs;
        int time = 0;
        if (!isFiniteSample(x, y, pressure) || !engineTime(s, tMs, time))
            return kDropped;
        s.prediction.remember(x, y, tMs - s.startMs, pressure);
        return recordedCall(s, rule, OxRecordedSample{x, y, time, pressure}, [&] {
            return Outcome{(s.engine.get()->*member)(s.points, s.path, QPointF(x, y),
                                                      sampleParams(s, time, pressure), s.width)};
        });
    });
}

QList<QPointF> batchPositions(int count, const float *xy)
{
    QList<QPointF> positions;
    positions.reserve(count);
    for (int i = 0; i < count; ++i)
        positions.append(QPointF(xy[2 * i], xy[2 * i + 1]));
    return positions;
}

// A call with a batch of positions, stamped with one time.
template <class Call>
int batchCall(quillmark_stroke *stroke, const CallRule &rule, int count, const float *xy,
              double tMs, quillmark_rect *changed, Call call) noexcept
{
    return sampleCall(stroke, changed, rule, count > 0 && xy, [&](quillmark_stroke &s) {
        int time = 0;
        if (!engineTime(s, tMs, time))
            return kDropped;
        // The newest position is the pen's (the predictor reads positions, not the batch).
        s.prediction.remember(xy[2 * count - 2], xy[2 * count - 1], tMs - s.startMs, 0);
        QList<QPointF> samples = batchPositions(count, xy);
        const auto sample = [&](size_t i) {
            return OxRecordedSample{xy[2 * i], xy[2 * i + 1], time, 0};
        };
        return recordedCall(s, rule, size_t(count), sample,
                            [&] { return call(s, samples, sampleParams(s, time, 0)); });
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

// The check every read makes first: 1 when the stroke can be read into out, else 0 with the
// reason kept.
bool readable(quillmark_stroke *stroke, const void *out)
{
    if (!stroke)
        return false;
    stroke->refusal = !out ? QUILLMARK_REFUSED_NO_OUTPUT
                      : stroke->phase == Phase::kFresh ? QUILLMARK_REFUSED_NOT_STARTED
                                                        : QUILLMARK_REFUSED_NONE;
    return stroke->refusal == QUILLMARK_REFUSED_NONE;
}
// Why a stroke takes no prediction now: before start, after the end, or fed in batches.
int predictionRefusal(const quillmark_stroke &stroke)
{
    switch (stroke.phase) {
    case Phase::kFresh:
        return QUILLMARK_REFUSED_NOT_STARTED;
    case Phase::kFinished:
        return QUILLMARK_REFUSED_FINISHED;
    case Phase::kBatch:
        return QUILLMARK_REFUSED_OTHER_WAY;
    case Phase::kStarted:
    case Phase::kSamples:
        break;
    }
    return QUILLMARK_REFUSED_NONE;
}

// Draws the predicted samples prepare gives (times relative to the stroke's start), unless the
// stroke or prepare refuses them. Returns what the header promises: 0 refused, 1 drawn.
template <class Prepare>
int predictCall(quillmark_stroke *stroke, quillmark_rect *changed, Prepare prepare) noexcept
{
    writeRect(changed, QRectF());
    if (!stroke)
        return 0;
    stroke->refusal = predictionRefusal(*stroke);
    if (stroke->refusal != QUILLMARK_REFUSED_NONE)
        return 0;
    try {
        std::vector<OxInkPoint> samples;
        stroke->refusal = prepare(*stroke, samples);
        if (stroke->refusal != QUILLMARK_REFUSED_NONE)
            return 0;
        QRectF drawn;
        if (!stroke->prediction.ink.draw(*stroke->engine, stroke->points, stroke->path, samples,
                                         stroke->width, drawn)) {
            stroke->refusal = QUILLMARK_REFUSED_PREDICTED;
            return 0;
        }
        writeRect(changed, drawn);
        return 1;
    } catch (...) {
        stroke->refusal = QUILLMARK_REFUSED_NO_MEMORY;
        return 0;
    }
}

// The host's predicted samples, four doubles each, as the engine takes them; or the refusal.
int hostSamples(const quillmark_stroke &stroke, int count, const double *values,
                std::vector<OxInkPoint> &samples)
{
    if (count < 0 || (count > 0 && !values))
        return QUILLMARK_REFUSED_NO_POINTS;
    const std::vector<OxInkPoint> &recent = stroke.prediction.recent;
    double previous = recent.empty() ? 0 : recent.back().time;
    for (int i = 0; i < count; ++i) {
        const double *v = values + 4 * size_t(i);
        const float x = float(v[0]), y = float(v[1]), pressure = float(v[3]);
        const double ms = v[2] - stroke.startMs;
        int time = 0;
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(pressure)
            || !engineTime(stroke, v[2], time) || ms < previous)
            return QUILLMARK_REFUSED_PREDICTED;
        samples.emplace_back(x, y, ms, pressure, 0.0f, 0.0f);
        previous = ms;
    }
    return QUILLMARK_REFUSED_NONE;
}

void writeRun(quillmark_run &run, int count, const float *xy)
{
    run = quillmark_run{count, 0, count > 0 ? xy : nullptr};
}
} // namespace

bool quillmark::detail::finishedRecord(const quillmark_stroke &stroke, OxStrokeRecord &record)
{
    if (stroke.phase != Phase::kFinished)
        return false;
    record.engine = stroke.kind->id;
    record.width = stroke.width;
    stroke.calls.copyTo(record);
    return true;
}

extern "C" {

int quillmark_engine_from_name(const char *name)
{
    const OxEngineKind *kind = OxEngineKind::byName(name);
    return kind ? kind->id : 0;
}

int quillmark_engine_count(void)
{
    return int(OxEngineKind::all().size());
}

const char *quillmark_engine_name(int engine)
{
    const OxEngineKind *kind = OxEngineKind::byId(engine);
    return kind ? kind->name : nullptr;
}

int quillmark_engine_feeds(int engine)
{
    const OxEngineKind *kind = OxEngineKind::byId(engine);
    return kind ? int(kind->feeds) : 0;
}

int quillmark_stroke_refusal(const quillmark_stroke *stroke)
{
    return stroke ? stroke->refusal : QUILLMARK_REFUSED_NO_STROKE;
}

const char *quillmark_refusal_text(int refusal)
{
    switch (refusal) {
    case QUILLMARK_REFUSED_NONE: return "not refused";
    case QUILLMARK_REFUSED_NO_STROKE: return "there is no stroke (NULL)";
    case QUILLMARK_REFUSED_NO_OUTPUT: return "there is nowhere to write the result (NULL)";
    case QUILLMARK_REFUSED_ENGINE: return "the engine has no such call";
    case QUILLMARK_REFUSED_NO_POINTS: return "there are no points (a count below 1 or no array)";
    case QUILLMARK_REFUSED_NOT_STARTED: return "the stroke has not started";
    case QUILLMARK_REFUSED_STARTED: return "the stroke has already started";
    case QUILLMARK_REFUSED_FINISHED: return "the stroke has ended";
    case QUILLMARK_REFUSED_OTHER_WAY:
        return "the stroke is fed the other way (sample calls and batch calls do not mix)";
    case QUILLMARK_REFUSED_NO_MEMORY: return "memory ran out";
    case QUILLMARK_REFUSED_HORIZON:
        return "the prediction's horizon is not a number of milliseconds in (0, 100]";
    case QUILLMARK_REFUSED_PREDICTED:
        return "a predicted sample is not finite, or older than the sample before it";
    default: return "unknown reason";
    }
}

quillmark_stroke *quillmark_stroke_create(int engine, float width)
{
    const OxEngineKind *kind = OxEngineKind::byId(engine);
    if (!kind || !std::isfinite(width) || width <= 0)
        return nullptr;
    try {
        auto stroke = std::make_unique<quillmark_stroke>();
        stroke->kind = kind;
        stroke->engine = kind->make();
        stroke->width = width;
        return stroke.release();
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
    return phaseCall(stroke, changed, kStart, &OxStrokesFixWidth::startCreate, x, y, t_ms,
                     pressure);
}

int quillmark_stroke_add(quillmark_stroke *stroke, float x, float y, double t_ms, float pressure,
                         quillmark_rect *changed)
{
    return phaseCall(stroke, changed, kAdd, &OxStrokesFixWidth::creating, x, y, t_ms, pressure);
}

int quillmark_stroke_end(quillmark_stroke *stroke, float x, float y, double t_ms, float pressure,
                         quillmark_rect *changed)
{
    return phaseCall(stroke, changed, kEnd, &OxStrokesFixWidth::endCreate, x, y, t_ms, pressure);
}

int quillmark_stroke_add_batch(quillmark_stroke *stroke, int count, const float *xy,
                               double t_ms, quillmark_rect *changed)
{
    return batchCall(stroke, kAddBatch, count, xy, t_ms, changed,
                     [](quillmark_stroke &s, QList<QPointF> &samples, const Params &params) {
                         return Outcome{s.kind->creatingBatch(*s.engine, s.points, samples,
                                                              params, s.width)};
                     });
}

int quillmark_stroke_end_batch(quillmark_stroke *stroke, float x, float y, double t_ms,
                               float pressure, quillmark_rect *changed)
{
    return sampleCall(stroke, changed, kEndBatch, true, [&](quillmark_stroke &s) {
        int time = 0;
        if (!isFiniteSample(x, y, pressure) || !engineTime(s, t_ms, time))
            return kDropped;
        return recordedCall(s, kEndBatch, OxRecordedSample{x, y, time, pressure}, [&] {
            return Outcome{s.kind->endBatch(*s.engine, s.points, s.path, QPointF(x, y),
                                            sampleParams(s, time, pressure), s.width)};
        });
    });
}

int quillmark_stroke_add_raw(quillmark_stroke *stroke, int count, const float *xy, double t_ms,
                             quillmark_rect *changed)
{
    return batchCall(stroke, kAddRaw, count, xy, t_ms, changed,
                     [](quillmark_stroke &s, QList<QPointF> &samples, const Params &params) {
                         return Outcome{s.kind->creatingRaw(*s.engine, s.points, samples, params,
                                                            s.width)};
                     });
}

int quillmark_stroke_add_fitted(quillmark_stroke *stroke, int count, const float *xy,
                                double t_ms, quillmark_rect *changed)
{
    return batchCall(stroke, kAddFitted, count, xy, t_ms, changed,
                     [](quillmark_stroke &s, QList<QPointF> &samples, const Params &params) {
                         const QPointF point = samples.takeLast();
                         if (!std::isfinite(point.x()) || !std::isfinite(point.y()))
                             return kDropped;
                         return Outcome{s.kind->creatingFitted(*s.engine, s.points, s.path,
                                                               samples, point, params, s.width)};
                     });
}

int quillmark_stroke_replay(quillmark_stroke *stroke, int count, const float *xy,
                            const double *t_ms, const float *pressure, quillmark_rect *changed)
{
    return sampleCall(stroke, changed, kReplay, count > 0 && xy, [&](quillmark_stroke &s) {
        const auto sampleTime = [&](size_t i) {
            return t_ms && std::isfinite(t_ms[i] - t_ms[0]) ? t_ms[i] - t_ms[0] : 0;
        };
        const auto samplePressure = [&](size_t i) { return pressure ? pressure[i] : 1.0f; };
        s.points.reserve(size_t(count));
        for (size_t i = 0; i < size_t(count); ++i)
            s.points.push_back(OxInkPoint(xy[2 * i], xy[2 * i + 1], sampleTime(i),
                                          samplePressure(i), 0, 0));
        // The engine rewrites points; the record keeps what it was handed.
        const auto sample = [&](size_t i) {
            return OxRecordedSample{xy[2 * i], xy[2 * i + 1], recordedTime(sampleTime(i)),
                                    samplePressure(i)};
        };
        return recordedCall(s, kReplay, size_t(count), sample, [&] {
            return Outcome{s.engine->loadFromWholePoints(s.points, s.path, s.width)};
        });
    });
}

int quillmark_stroke_polygons(quillmark_stroke *stroke, quillmark_polygons *out)
{
    if (out)
        *out = quillmark_polygons{0, 0, 0, 0, nullptr, nullptr};
    if (!readable(stroke, out))
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
        stroke->refusal = QUILLMARK_REFUSED_NO_MEMORY;
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
        out->predicted_count = 0;
        out->predicted = nullptr;
    }
    if (!readable(stroke, out))
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

        read.predictedSizes.clear();
        read.predictedXy.clear();
        read.predicted.clear();
        const OxPredictedInk &ink = stroke->prediction.ink;
        if (OxStrokesFixWidth *copy = ink.engine()) {
            read.predictedShape.update(*copy, ink.path());
            read.predictedShape.appendPolygons(read.predictedSizes, read.predictedXy);
            size_t offset = 0;
            for (int size : read.predictedSizes) {
                read.predicted.emplace_back();
                writeRun(read.predicted.back(), size, read.predictedXy.data() + offset);
                offset += 2 * size_t(size);
            }
        }
        out->predicted_count = int(read.predicted.size());
        out->predicted = read.predicted.empty() ? nullptr : read.predicted.data();
        return 1;
    } catch (...) {
        stroke->refusal = QUILLMARK_REFUSED_NO_MEMORY;
        return 0;
    }
}

int quillmark_stroke_predict(quillmark_stroke *stroke, double horizon_ms, quillmark_rect *changed)
{
    return predictCall(stroke, changed, [&](const quillmark_stroke &s,
                                            std::vector<OxInkPoint> &samples) {
        if (!OxPenPredictor::isUsableHorizon(horizon_ms))
            return QUILLMARK_REFUSED_HORIZON;
        const std::vector<OxInkPoint> &recent = s.prediction.recent;
        samples = OxPenPredictor::predict(recent.data(), int(recent.size()), horizon_ms);
        // The library never refuses its own guess. Its stamps go on from the host's last one,
        // while the ink takes none older than the newest point as the engine holds it (later when
        // the host's clock went backwards, or 0 in an engine that reads no time after the first
        // sample) and none beyond the stroke's int range of milliseconds: they are held within
        // the two. Samples that the guess carried beyond the float range are left out.
        const double newest = s.points.empty() ? 0 : s.points.back().time;
        const double latest = std::numeric_limits<int>::max();
        samples.erase(std::remove_if(samples.begin(), samples.end(),
                                     [](const OxInkPoint &p) {
                                         return !std::isfinite(p.x) || !std::isfinite(p.y)
                                                || !std::isfinite(p.pressure);
                                     }),
                      samples.end());
        for (OxInkPoint &p : samples)
            p.time = std::clamp(p.time, std::min(newest, latest), latest);
        return QUILLMARK_REFUSED_NONE;
    });
}

int quillmark_stroke_predict_samples(quillmark_stroke *stroke, int count, const double *samples,
                                     quillmark_rect *changed)
{
    return predictCall(stroke, changed,
                       [&](const quillmark_stroke &s, std::vector<OxInkPoint> &predicted) {
                           return hostSamples(s, count, samples, predicted);
                       });
}

int quillmark_stroke_predicted(quillmark_stroke *stroke, quillmark_predicted *out)
{
    if (out)
        *out = quillmark_predicted{0, nullptr};
    if (!stroke)
        return 0;
    if (!out) {
        stroke->refusal = QUILLMARK_REFUSED_NO_OUTPUT;
        return 0;
    }
    try {
        std::vector<double> &values = stroke->prediction.handedOut;
        values.clear();
        for (const OxInkPoint &p : stroke->prediction.ink.samples())
            values.insert(values.end(), {p.x, p.y, p.time + stroke->startMs, p.pressure});
        stroke->refusal = QUILLMARK_REFUSED_NONE;
        *out = quillmark_predicted{int(values.size() / 4), values.empty() ? nullptr : values.data()};
        return 1;
    } catch (...) {
        stroke->refusal = QUILLMARK_REFUSED_NO_MEMORY;
        return 0;
    }
}

} // extern "C"
