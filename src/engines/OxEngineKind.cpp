#include "OxEngineKind.h"

#include "OxStrokesFixWidthFill.h"
#include "OxStrokesVaryWidthBackwardTime.h"
#include "OxStrokesVaryWidthTime.h"

#include <cstring>
#include <type_traits>
#include <typeinfo>

using Params = OxEngineKind::Params;

// Each kind's calls, as plain functions of the root class, made from its class by the templates
// below. A null entry is a way the kind lacks. (A member of OxEngineKind, which the engine classes
// let read their builders.)
struct OxEngineKind::Calls
{
    const std::type_info *type;
    bool (*isA)(const OxStrokesFixWidth &);   // of the class or of one derived from it
    std::unique_ptr<OxStrokesFixWidth> (*make)();
    std::unique_ptr<OxStrokesFixWidth> (*copy)(const OxStrokesFixWidth &);
    void (*assign)(OxStrokesFixWidth &, const OxStrokesFixWidth &);
    QRectF (*creatingBatch)(OxStrokesFixWidth &, std::vector<OxInkPoint> &, QList<QPointF> &,
                            const Params &, float);
    QRectF (*endBatch)(OxStrokesFixWidth &, std::vector<OxInkPoint> &, QPainterPath &, QPointF,
                       const Params &, float);
    QRectF (*creatingRaw)(OxStrokesFixWidth &, std::vector<OxInkPoint> &, QList<QPointF> &,
                          const Params &, float);
    QRectF (*creatingFitted)(OxStrokesFixWidth &, std::vector<OxInkPoint> &, QPainterPath &,
                             QList<QPointF> &, QPointF, const Params &, float);
    QPainterPath (*outline)(const OxStrokesFixWidth &);
    QVector<QPainterPath> (*tails)(const OxStrokesFixWidth &);
    OxPathBuilder *(*outlineBuilder)(const OxStrokesFixWidth &);
    void (*paint)(OxStrokesFixWidth &, QPainter *, QRectF, const QBrush &);

    static const Calls &of(int id);

private:
    // What every class has: the plain engine's calls.
    template <class Engine>
    static Calls classCalls()
    {
        Calls calls{};
        calls.type = &typeid(Engine);
        calls.isA = isOf<Engine>;
        calls.make = makeOf<Engine>;
        calls.copy = copyOf<Engine>;
        calls.assign = assignOf<Engine>;
        return calls;
    }
    // An outline engine: Owner is the class that holds the generator and the outline.
    template <class Engine, class Owner>
    static Calls outlined(void (*paint)(OxStrokesFixWidth &, QPainter *, QRectF, const QBrush &))
    {
        Calls calls = classCalls<Engine>();
        calls.outline = outlineOf<Owner>;
        calls.outlineBuilder = generatorOf<Owner>;
        calls.paint = paint;
        return calls;
    }
    // A tapering engine: an outline engine with tails drawn apart from its body.
    template <class Engine>
    static Calls tailed()
    {
        Calls calls = outlined<Engine, OxStrokesVaryWidthPressure>(paintWithBrush);
        calls.tails = tailsOf;
        return calls;
    }
    template <class Engine>
    static Calls withBatch(Calls calls)
    {
        calls.creatingBatch = creatingBatchOf<Engine>;
        calls.endBatch = endBatchOf<Engine>;
        return calls;
    }

    template <class Engine>
    static bool isOf([[maybe_unused]] const OxStrokesFixWidth &engine)
    {
        if constexpr (std::is_same_v<Engine, OxStrokesFixWidth>)
            return true;
        else
            return dynamic_cast<const Engine *>(&engine) != nullptr;
    }
    template <class Engine>
    static std::unique_ptr<OxStrokesFixWidth> makeOf()
    {
        return std::make_unique<Engine>();
    }
    template <class Engine>
    static std::unique_ptr<OxStrokesFixWidth> copyOf(const OxStrokesFixWidth &engine)
    {
        return std::make_unique<Engine>(static_cast<const Engine &>(engine));
    }
    template <class Engine>
    static void assignOf(OxStrokesFixWidth &to, const OxStrokesFixWidth &from)
    {
        static_cast<Engine &>(to) = static_cast<const Engine &>(from);
    }
    template <class Engine>
    static QRectF creatingBatchOf(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                                  QList<QPointF> &samples, const Params &params, float width)
    {
        return static_cast<Engine &>(engine).creatingOnlyBackward(points, samples, params, width);
    }
    template <class Engine>
    static QRectF endBatchOf(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                             QPainterPath &path, QPointF point, const Params &params, float width)
    {
        return static_cast<Engine &>(engine).endCreateOnlyBackward(points, path, point, params,
                                                                   width);
    }
    static QRectF creatingRawOf(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                                QList<QPointF> &samples, const Params &params, float width)
    {
        return static_cast<OxStrokesVaryWidthBackwardTime &>(engine).creatingYuanShi(
            points, samples, params, width);
    }
    static QRectF creatingFittedOf(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                                   QPainterPath &path, QList<QPointF> &between, QPointF point,
                                   const Params &params, float width)
    {
        return static_cast<OxStrokesVaryWidthBackwardTime &>(engine).creating(
            points, path, between, point, params, width);
    }
    template <class Owner>
    static QPainterPath outlineOf(const OxStrokesFixWidth &engine)
    {
        return static_cast<const Owner &>(engine).getPathWhole();
    }
    template <class Owner>
    static OxPathBuilder *generatorOf(const OxStrokesFixWidth &engine)
    {
        return static_cast<const Owner &>(engine).pathGenerator;
    }
    static QVector<QPainterPath> tailsOf(const OxStrokesFixWidth &engine)
    {
        return static_cast<const OxStrokesVaryWidthBackwardExtend &>(engine).getBackwardPaths();
    }
    // The filled engine paints with a colour, the variable-width ones (virtually) with a brush.
    static void paintWithColour(OxStrokesFixWidth &engine, QPainter *painter, QRectF rect,
                                const QBrush &brush)
    {
        static_cast<OxStrokesFixWidthFill &>(engine).paint(painter, rect, brush.color());
    }
    static void paintWithBrush(OxStrokesFixWidth &engine, QPainter *painter, QRectF rect,
                               const QBrush &brush)
    {
        static_cast<OxStrokesVaryWidthPressure &>(engine).paint(painter, rect, brush);
    }
};

const OxEngineKind::Calls &OxEngineKind::Calls::of(int id)
{
    using Fill = OxStrokesFixWidthFill;
    using Brush = OxStrokesVaryWidthBackwardTime;
    static const Calls calls[] = {
        classCalls<OxStrokesFixWidth>(),
        withBatch<Fill>(outlined<Fill, Fill>(paintWithColour)),
        outlined<OxStrokesVaryWidthPressure, OxStrokesVaryWidthPressure>(paintWithBrush),
        outlined<OxStrokesVaryWidthTime, OxStrokesVaryWidthPressure>(paintWithBrush),
        tailed<OxStrokesVaryWidthBackwardExtend>(),
        [] {
            Calls brush = withBatch<Brush>(tailed<Brush>());
            brush.creatingRaw = creatingRawOf;
            brush.creatingFitted = creatingFittedOf;
            return brush;
        }(),
    };
    return calls[id - 1];
}

namespace {
constexpr unsigned kEveryEngine = OxEngineKind::kSamples | OxEngineKind::kReplay;
} // namespace

const std::vector<OxEngineKind> &OxEngineKind::all()
{
    using D = Drawn;
    static const std::vector<OxEngineKind> table = {
        {1, "fix", "OxStrokesFixWidth", "plain fixed width", kEveryEngine, D::kCentreLine},
        {2, "fill", "OxStrokesFixWidthFill", "filled fixed width", kEveryEngine | kBatch,
         D::kOutline},
        {3, "pressure", "OxStrokesVaryWidthPressure", "width from pressure", kEveryEngine,
         D::kOutline},
        {4, "speed", "OxStrokesVaryWidthTime", "width from speed", kEveryEngine, D::kOutline},
        {5, "extend", "OxStrokesVaryWidthBackwardExtend", "tail tapering by length",
         kEveryEngine, D::kOutlineAndTails},
        {6, "brush", "OxStrokesVaryWidthBackwardTime", "brush, tail tapering by time",
         kEveryEngine | kBatch | kRaw | kFitted, D::kOutlineAndTails},
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
    const std::vector<OxEngineKind> &kinds = all();
    for (const OxEngineKind &kind : kinds) {
        if (typeid(engine) == *Calls::of(kind.id).type)
            return &kind;
    }
    // A derived class: the table lists every class after the one it derives from.
    for (auto kind = kinds.rbegin(); kind != kinds.rend(); ++kind) {
        if (Calls::of(kind->id).isA(engine))
            return &*kind;
    }
    return &kinds.front();
}

const OxEngineKind::Calls *OxEngineKind::callsFor(const OxStrokesFixWidth &engine) const
{
    return of(engine) == this ? &Calls::of(id) : nullptr;
}

std::unique_ptr<OxStrokesFixWidth> OxEngineKind::make() const
{
    return Calls::of(id).make();
}

bool OxEngineKind::isOwnClass(const OxStrokesFixWidth &engine) const
{
    return typeid(engine) == *Calls::of(id).type;
}

std::unique_ptr<OxStrokesFixWidth> OxEngineKind::copy(const OxStrokesFixWidth &engine) const
{
    return isOwnClass(engine) ? Calls::of(id).copy(engine) : nullptr;
}

bool OxEngineKind::assign(OxStrokesFixWidth &to, const OxStrokesFixWidth &from) const
{
    if (!isOwnClass(to) || !isOwnClass(from))
        return false;
    Calls::of(id).assign(to, from);
    return true;
}

QRectF OxEngineKind::creatingBatch(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                                   QList<QPointF> &samples, const Params &params,
                                   float width) const
{
    const Calls *calls = callsFor(engine);
    return calls && calls->creatingBatch
               ? calls->creatingBatch(engine, points, samples, params, width)
               : QRectF();
}

QRectF OxEngineKind::endBatch(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                              QPainterPath &path, QPointF point, const Params &params,
                              float width) const
{
    const Calls *calls = callsFor(engine);
    return calls && calls->endBatch ? calls->endBatch(engine, points, path, point, params, width)
                                    : QRectF();
}

QRectF OxEngineKind::creatingRaw(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                                 QList<QPointF> &samples, const Params &params,
                                 float width) const
{
    const Calls *calls = callsFor(engine);
    return calls && calls->creatingRaw ? calls->creatingRaw(engine, points, samples, params, width)
                                       : QRectF();
}

QRectF OxEngineKind::creatingFitted(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                                    QPainterPath &path, QList<QPointF> &between, QPointF point,
                                    const Params &params, float width) const
{
    const Calls *calls = callsFor(engine);
    return calls && calls->creatingFitted
               ? calls->creatingFitted(engine, points, path, between, point, params, width)
               : QRectF();
}

QVector<QPainterPath> OxEngineKind::outlines(const OxStrokesFixWidth &engine) const
{
    const Calls *calls = callsFor(engine);
    if (!calls || !calls->outline)
        return {};
    return QVector<QPainterPath>{calls->outline(engine)} + tails(engine);
}

QVector<QPainterPath> OxEngineKind::tails(const OxStrokesFixWidth &engine) const
{
    // A kind without tails answers before the engine's class is looked up: the shape readers ask
    // every kind at every sample.
    if (!Calls::of(id).tails)
        return {};
    const Calls *calls = callsFor(engine);
    return calls ? calls->tails(engine) : QVector<QPainterPath>();
}

OxPathBuilder *OxEngineKind::outlineBuilder(const OxStrokesFixWidth &engine) const
{
    const Calls *calls = callsFor(engine);
    return calls && calls->outlineBuilder ? calls->outlineBuilder(engine) : nullptr;
}

bool OxEngineKind::paint(OxStrokesFixWidth &engine, QPainter *painter, QRectF rect,
                         const QBrush &brush) const
{
    const Calls *calls = callsFor(engine);
    if (!calls || !calls->paint || !painter)
        return false;
    calls->paint(engine, painter, rect, brush);
    return true;
}
