#include "OxEngineKind.h"

#include "OxStrokesFixWidthFill.h"
#include "OxStrokesVaryWidthBackwardTime.h"
#include "OxStrokesVaryWidthTime.h"

#include <cstring>
#include <typeinfo>

namespace {
// Each kind's calls, as plain functions of the root class, made from its class by the templates
// below. A null entry is a way the kind lacks.
struct OxEngineKindCalls
{
    const std::type_info &type;
    std::unique_ptr<OxStrokesFixWidth> (*make)();
    QRectF (*creatingBatch)(OxStrokesFixWidth &, std::vector<OxInkPoint> &, QList<QPointF> &,
                            const OxEngineKind::Params &, float);
    QRectF (*endBatch)(OxStrokesFixWidth &, std::vector<OxInkPoint> &, QPainterPath &, QPointF,
                       const OxEngineKind::Params &, float);
    QRectF (*creatingRaw)(OxStrokesFixWidth &, std::vector<OxInkPoint> &, QList<QPointF> &,
                          const OxEngineKind::Params &, float);
    QRectF (*creatingFitted)(OxStrokesFixWidth &, std::vector<OxInkPoint> &, QPainterPath &,
                             QList<QPointF> &, QPointF, const OxEngineKind::Params &, float);
    QVector<QPainterPath> (*outlines)(const OxStrokesFixWidth &);
};

using Params = OxEngineKind::Params;

template <class Engine>
std::unique_ptr<OxStrokesFixWidth> make()
{
    return std::make_unique<Engine>();
}

template <class Engine>
QRectF creatingBatch(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                     QList<QPointF> &samples, const Params &params, float width)
{
    return static_cast<Engine &>(engine).creatingOnlyBackward(points, samples, params, width);
}

template <class Engine>
QRectF endBatch(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points, QPainterPath &path,
                QPointF point, const Params &params, float width)
{
    return static_cast<Engine &>(engine).endCreateOnlyBackward(points, path, point, params, width);
}

QRectF creatingRaw(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                   QList<QPointF> &samples, const Params &params, float width)
{
    return static_cast<OxStrokesVaryWidthBackwardTime &>(engine).creatingYuanShi(points, samples,
                                                                                params, width);
}

QRectF creatingFitted(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                      QPainterPath &path, QList<QPointF> &between, QPointF point,
                      const Params &params, float width)
{
    return static_cast<OxStrokesVaryWidthBackwardTime &>(engine).creating(points, path, between,
                                                                         point, params, width);
}

QVector<QPainterPath> noOutlines(const OxStrokesFixWidth &)
{
    return {};
}

template <class Engine>
QVector<QPainterPath> outlineOf(const OxStrokesFixWidth &engine)
{
    return {static_cast<const Engine &>(engine).getPathWhole()};
}

QVector<QPainterPath> outlineAndTailsOf(const OxStrokesFixWidth &engine)
{
    const auto &tailed = static_cast<const OxStrokesVaryWidthBackwardExtend &>(engine);
    return QVector<QPainterPath>{tailed.getPathWhole()} + tailed.getBackwardPaths();
}

template <class Engine>
OxEngineKindCalls plainCalls(QVector<QPainterPath> (*outlines)(const OxStrokesFixWidth &))
{
    return {typeid(Engine), make<Engine>, nullptr, nullptr, nullptr, nullptr, outlines};
}

const OxEngineKindCalls kFixCalls = plainCalls<OxStrokesFixWidth>(noOutlines);
const OxEngineKindCalls kFillCalls = {typeid(OxStrokesFixWidthFill),
                                      make<OxStrokesFixWidthFill>,
                                      creatingBatch<OxStrokesFixWidthFill>,
                                      endBatch<OxStrokesFixWidthFill>,
                                      nullptr,
                                      nullptr,
                                      outlineOf<OxStrokesFixWidthFill>};
const OxEngineKindCalls kPressureCalls =
    plainCalls<OxStrokesVaryWidthPressure>(outlineOf<OxStrokesVaryWidthPressure>);
const OxEngineKindCalls kSpeedCalls =
    plainCalls<OxStrokesVaryWidthTime>(outlineOf<OxStrokesVaryWidthTime>);
const OxEngineKindCalls kExtendCalls =
    plainCalls<OxStrokesVaryWidthBackwardExtend>(outlineAndTailsOf);
const OxEngineKindCalls kBrushCalls = {typeid(OxStrokesVaryWidthBackwardTime),
                                       make<OxStrokesVaryWidthBackwardTime>,
                                       creatingBatch<OxStrokesVaryWidthBackwardTime>,
                                       endBatch<OxStrokesVaryWidthBackwardTime>,
                                       creatingRaw,
                                       creatingFitted,
                                       outlineAndTailsOf};

constexpr unsigned kEveryEngine = OxEngineKind::kSamples | OxEngineKind::kReplay;

const OxEngineKindCalls *callsOf(int id)
{
    static const OxEngineKindCalls *const calls[] = {&kFixCalls,   &kFillCalls,   &kPressureCalls,
                                                     &kSpeedCalls, &kExtendCalls, &kBrushCalls};
    return calls[id - 1];
}

// The calls of kind when engine is of its class, else null: a call is never made on an engine of
// another class.
const OxEngineKindCalls *callsFor(const OxEngineKind &kind, const OxStrokesFixWidth &engine)
{
    const OxEngineKindCalls *calls = callsOf(kind.id);
    return typeid(engine) == calls->type ? calls : nullptr;
}
} // namespace

const std::vector<OxEngineKind> &OxEngineKind::all()
{
    using D = Drawn;
    static const std::vector<OxEngineKind> table = {
        {1, "fix", "plain fixed width", kEveryEngine, D::kCentreLine},
        {2, "fill", "filled fixed width", kEveryEngine | kBatch, D::kOutline},
        {3, "pressure", "width from pressure", kEveryEngine, D::kOutline},
        {4, "speed", "width from speed", kEveryEngine, D::kOutline},
        {5, "extend", "tail tapering by length", kEveryEngine, D::kOutlineAndTails},
        {6, "brush", "brush, tail tapering by time", kEveryEngine | kBatch | kRaw | kFitted,
         D::kOutlineAndTails},
    };
    return table;
}

const OxEngineKind *OxEngineKind::byId(int id)
{
    const std::vector<OxEngineKind> &kinds = all();
    return id >= 1 && id <= int(kinds.size()) ? &kinds[size_t(id - 1)] : nullptr;
}

const OxEngineKind *OxEngineKind::byName(const char *name)
{
    if (!name)
        return nullptr;
    for (const OxEngineKind &kind : all()) {
        if (std::strcmp(kind.name, name) == 0)
            return &kind;
    }
    return nullptr;
}

const OxEngineKind *OxEngineKind::of(const OxStrokesFixWidth &engine)
{
    for (const OxEngineKind &kind : all()) {
        if (callsFor(kind, engine))
            return &kind;
    }
    return nullptr;
}

std::unique_ptr<OxStrokesFixWidth> OxEngineKind::make() const
{
    return callsOf(id)->make();
}

QRectF OxEngineKind::creatingBatch(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                                   QList<QPointF> &samples, const Params &params,
                                   float width) const
{
    const OxEngineKindCalls *calls = callsFor(*this, engine);
    return calls && calls->creatingBatch
               ? calls->creatingBatch(engine, points, samples, params, width)
               : QRectF();
}

QRectF OxEngineKind::endBatch(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                              QPainterPath &path, QPointF point, const Params &params,
                              float width) const
{
    const OxEngineKindCalls *calls = callsFor(*this, engine);
    return calls && calls->endBatch ? calls->endBatch(engine, points, path, point, params, width)
                                    : QRectF();
}

QRectF OxEngineKind::creatingRaw(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                                 QList<QPointF> &samples, const Params &params,
                                 float width) const
{
    const OxEngineKindCalls *calls = callsFor(*this, engine);
    return calls && calls->creatingRaw ? calls->creatingRaw(engine, points, samples, params, width)
                                       : QRectF();
}

QRectF OxEngineKind::creatingFitted(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                                    QPainterPath &path, QList<QPointF> &between, QPointF point,
                                    const Params &params, float width) const
{
    const OxEngineKindCalls *calls = callsFor(*this, engine);
    return calls && calls->creatingFitted
               ? calls->creatingFitted(engine, points, path, between, point, params, width)
               : QRectF();
}

QVector<QPainterPath> OxEngineKind::outlines(const OxStrokesFixWidth &engine) const
{
    const OxEngineKindCalls *calls = callsFor(*this, engine);
    return calls ? calls->outlines(engine) : QVector<QPainterPath>();
}
