// Reads the input as a sequence of engine calls on a few engine slots (any of the six engines)
// and checks what the engines promise:
//   - unusable samples and widths are dropped with an empty rectangle, and every output (points,
//     path, outline, tails) stays as it was, bit for bit;
//   - an engine that has only seen moderate numbers returns finite rectangles, and the rectangles
//     hold what the calls changed in the shapes that are drawn (see coversChange);
//   - an engine copied (or assigned) from another and fed the same further calls gives the same
//     rectangles and shapes as the original, bit for bit;
//   - an engine that has only seen moderate numbers keeps finite points and outlines.
// Whole shapes are looked at every kFullCheckEvery calls of a slot and at every call that ends a
// stroke, not after every call: the engines assemble their outlines only when asked, and asking
// after every call would make a stroke cost the square of its length. So the rectangles are
// checked together: what changed since the last full check lies within the union of the
// rectangles reported since (which holds whenever each call's rectangle holds its own change),
// and the last one that added outline before. That one is part of the engines' behaviour: a
// call reports the bounds of the stretch it adds, while the end cap it replaces was reported by
// the call that drew it, and sticks out of the new stretch's rectangle where the stroke grows
// thinner.

#include "FuzzBytes.h"
#include "FuzzChecks.h"
#include "FuzzGeometry.h"

#include "OxEngineKind.h"
#include "OxStrokesFixWidthFill.h"

#include <QList>
#include <QMap>
#include <QVariant>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

using namespace fuzzbytes;
using fuzzchecks::isModerate;
using namespace fuzzgeometry;

namespace {

constexpr int kSlotCount = 3;
constexpr int kMaxBatch = 16;
constexpr int kFullCheckEvery = 8;
// The work budget of an input: strokes many nibs long at the widths the fuzzer tries, within a
// millisecond under the sanitizers.
constexpr int kMaxSamples = 24;
constexpr double kMaxTravel = 200;
constexpr int kMaxStoredPoints = kMaxSamples;
// How many calls a copy follows its original for.
constexpr int kTwinCalls = 8;
// How far the shapes a call changed may reach beyond its rectangle (the rectangles are computed
// in float from float outlines).
constexpr double kRectMargin = 0.5;
constexpr double kRectRelativeMargin = 1e-5;
// What an outline engine reports for a call that adds no outline (a sample inside the nib before
// it, say): the empty rectangle grown by 4. The end cap is still the one of the call that drew
// it, whose rectangle stays the one that holds it.
const QRectF kNothingAdded(-4, -4, 8, 8);
// Rectangles are computed in float: a stroke narrower than this, or than this part of its
// distance from the origin, may get rectangles of zero height, which mean "nothing to repaint".
constexpr double kNarrowestWidth = 1e-3;
constexpr double kNarrowestWidthPerReach = 1e-5;

// Everything a host can see of a slot after a call.
struct Shapes
{
    std::vector<OxInkPoint> points;
    QPainterPath path;
    QPainterPath whole;   // the outline (engines that have one)
    QVector<QPainterPath> tails;

    bool operator==(const Shapes &o) const
    {
        return samePoints(points, o.points) && samePath(path, o.path) && samePath(whole, o.whole)
               && samePaths(tails, o.tails);
    }
};

struct Slot
{
    std::unique_ptr<OxStrokesFixWidth> engine;
    const OxEngineKind *kind = &OxEngineKind::all().front();
    std::vector<OxInkPoint> points;
    QPainterPath path;
    // Every number that reached the engine was moderate: its output is held to be finite.
    bool moderate = true;
    // The kinds of call the current stroke has taken (StrokeCall bits; 0: no stroke open).
    unsigned strokeCalls = 0;
    float strokeWidth = 0;
    bool engineUsed = false;   // the engine has taken a call (it serves one stroke)
    // Where the work budget has the pens.
    fuzzchecks::Pens pens;
    // Since the last full check: the shapes then, the union of the rectangles reported, the
    // widest width, and whether every call was one the rectangles are held to.
    int callsSinceFullCheck = 0;
    std::shared_ptr<const Shapes> checked = std::make_shared<Shapes>();
    Bounds reported;
    QRectF lastReported;
    double widestWidth = 0;
    bool rectsHeld = true;
    // A copy of this slot taken by a copy call, fed the same calls for kTwinCalls calls.
    std::unique_ptr<Slot> twin;
    int twinCallsLeft = 0;
};

template <class Engine>
Engine *as(Slot &slot)
{
    return static_cast<Engine *>(slot.engine.get());
}

// The five-argument buildPathFromXY is the filled engine's own.
bool isFill(const OxEngineKind &kind)
{
    static const OxEngineKind *const fill = OxEngineKind::byName("fill");
    return &kind == fill;
}

bool drawsCentreLine(const OxEngineKind &kind)
{
    return kind.drawn == OxEngineKind::Drawn::kCentreLine;
}

Shapes shapesOf(Slot &slot)
{
    Shapes s{slot.points, slot.path, QPainterPath(), slot.kind->tails(*slot.engine)};
    const QVector<QPainterPath> outlines = slot.kind->outlines(*slot.engine);
    if (!outlines.isEmpty())
        s.whole = outlines.front();
    return s;
}

// The rectangles r reported by the calls that turned before into after hold what changed in
// the shapes a host draws: the outline and the tails, or the plain engine's centre line (which
// the host strokes at the width, so half of it is added to the margin). The points and, for the
// other engines, the path (raw samples or centre line, not drawn) are not held to them.
bool coversChange(const OxEngineKind &kind, const Bounds &r, double width,
                  const Shapes &before, const Shapes &after)
{
    Bounds changed;
    double margin = kRectMargin;
    if (drawsCentreLine(kind)) {
        changed = changedBounds(before.path, after.path);
        margin += width / 2;
    } else {
        changed = changedBounds(before.whole, after.whole);
        for (int i = 0; i < std::max(before.tails.size(), after.tails.size()); ++i)
            changed.add(changedBounds(i < before.tails.size() ? before.tails[i] : QPainterPath(),
                                      i < after.tails.size() ? after.tails[i] : QPainterPath()));
    }
    if (changed.empty())
        return true;
    const double magnitude = std::max({std::fabs(changed.left), std::fabs(changed.right),
                                       std::fabs(changed.top), std::fabs(changed.bottom)});
    if (changed.within(r, margin + kRectRelativeMargin * magnitude))
        return true;
    std::fprintf(stderr, "engine %s: changed [%g, %g] x [%g, %g] outside [%g, %g] x [%g, %g]\n",
                 kind.name, changed.left, changed.right, changed.top, changed.bottom, r.left,
                 r.right, r.top, r.bottom);
    return false;
}

// The call's numbers as the fuzzer read them, to decide what the engine must do with them.
struct CallInput
{
    bool usable = true;     // sample and width finite (otherwise the call must be dropped)
    bool moderate = true;   // every number moderate or dropped by the engine
    double reach = 0;       // the largest finite coordinate handed over
    fuzzchecks::Pens cost;

    CallInput(const Slot &slot, bool opensStrokeOnClearedPoints = false)
        : cost(opensStrokeOnClearedPoints ? fuzzchecks::Pens::openingStroke() : slot.pens.next())
    {
    }

    void sample(QPointF p)
    {
        cost.add(p.x(), p.y());
        noteReach(p.x(), p.y());
        usable = usable && std::isfinite(p.x()) && std::isfinite(p.y());
        moderate = moderate && (!usable || (isModerate(p.x()) && isModerate(p.y())));
    }
    void width(float w)
    {
        usable = usable && std::isfinite(w);
        moderate = moderate && (!std::isfinite(w) || isModerate(w));
    }
    // Batch samples: non-finite ones are dropped one by one.
    void batchSample(QPointF p)
    {
        cost.add(p.x(), p.y());
        noteReach(p.x(), p.y());
        if (std::isfinite(p.x()) && std::isfinite(p.y()))
            moderate = moderate && isModerate(p.x()) && isModerate(p.y());
    }
    // Stored points: every field counts, dropped or not.
    void storedPoint(const OxInkPoint &p)
    {
        cost.add(p.x, p.y);
        noteReach(p.x, p.y);
        moderate = moderate && isModerate(p.x) && isModerate(p.y) && isModerate(p.pressure)
                   && std::isfinite(p.time);
    }
    void noteReach(double x, double y)
    {
        if (std::isfinite(x) && std::isfinite(y))
            reach = std::max({reach, std::fabs(x), std::fabs(y)});
    }
};

// The calls of a stroke, as far as the rectangle check is concerned. A stroke is drawn in one
// mode: startCreate, then creating (or the brush's fitted creating) and endCreate; or batches of
// creatingYuanShi and endCreate; or batches of creatingOnlyBackward and endCreateOnlyBackward.
// Only such a stroke is held to its rectangles, and only while every call has the width the
// stroke started with (a pen has one width; a call with another one outlines its new stretch
// with it while the rectangle still covers the end cap at the old width). The engines accept other sequences (modes mixed,
// calls after the end, strokes loaded or built in between) without harm, but their rectangles
// then follow each call's own mode: endCreateOnlyBackward after live creating, for example,
// replaces the whole outline by the recent part and reports only the recent part.
enum StrokeCall : unsigned {
    kOpensStroke = 1, kLiveCall = 2, kRawCall = 4, kBackwardCall = 8, kPlainEnd = 16,
    kBackwardEnd = 32, kOutsideStroke = 64
};

bool isOneModeStroke(unsigned calls)
{
    if (!(calls & kOpensStroke) || (calls & kOutsideStroke))
        return false;
    const unsigned modes = calls & (kLiveCall | kRawCall | kBackwardCall);
    if (modes & (modes - 1))
        return false;
    return !((calls & kBackwardEnd) && (modes & (kLiveCall | kRawCall)))
           && !((calls & kPlainEnd) && (modes & kBackwardCall))
           && !((calls & kPlainEnd) && (calls & kBackwardEnd));
}

// How a call is checked: whether it must be dropped, what it is to its stroke (a StrokeCall;
// 0: no rectangle to check) and whether it ends the stroke.
struct CallKind
{
    bool dropsUnusable;
    unsigned strokeCall;
    bool endsStroke;
};

using EngineCall = std::function<QRectF(Slot &)>;

// QUILLMARK_FUZZ_TRACE=1 lists the calls of an input as they are made (to read a failure).
bool tracing()
{
    static const bool on = std::getenv("QUILLMARK_FUZZ_TRACE") != nullptr;
    return on;
}

class EngineScript
{
public:
    explicit EngineScript(Reader &in) : in(in) {}

    void run()
    {
        while (!in.atEnd())
            step();
    }

private:
    Reader &in;
    Slot lanes[kSlotCount];
    fuzzchecks::WorkBudget budget{kMaxSamples, kMaxTravel};

    Slot &slotFromInput() { return lanes[in.byte() % kSlotCount]; }

    QPointF readPoint()
    {
        const float x = in.number(kX);
        const float y = in.number(kY);
        return QPointF(x, y);
    }

    QMap<QString, QVariant> readParams(CallInput &input)
    {
        QMap<QString, QVariant> params;
        const uint8_t flags = in.byte();
        const QString time = QStringLiteral("time"), pressure = QStringLiteral("pressure");
        switch (TimeForm(flags & 3)) {
        case kIntTime: params[time] = QVariant(int(in.wholeNumber())); break;
        case kInt64Time: params[time] = QVariant(qlonglong(in.int64())); break;
        case kDoubleTime: params[time] = QVariant(double(in.number(kTime))); break;
        case kNoTime: break;
        }
        float p = 0;
        switch (PressureForm((flags >> 2) & 3)) {
        case kFloatPressure: params[pressure] = QVariant(p = in.number(kPressure)); break;
        case kDoublePressure: params[pressure] = QVariant(double(p = in.number(kPressure))); break;
        case kIntPressure: {
            const int whole = in.wholeNumber();
            params[pressure] = QVariant(whole);
            p = float(whole);
            break;
        }
        case kNoPressure: break;
        }
        // A non-finite pressure is dropped by the engines that read it and ignored by the others.
        input.moderate = input.moderate && (!std::isfinite(p) || isModerate(p));
        return params;
    }

    // The parameters and the width a phase or batch call ends with.
    float readParamsAndWidth(CallInput &input, QMap<QString, QVariant> &params)
    {
        params = readParams(input);
        const float width = in.number(kWidth);
        input.width(width);
        return width;
    }

    QList<QPointF> readBatch(CallInput &input)
    {
        QList<QPointF> samples;
        const int n = in.byte() % (kMaxBatch + 1);
        for (int i = 0; i < n; ++i) {
            samples.append(readPoint());
            input.batchSample(samples.back());
        }
        return samples;
    }

    std::vector<OxInkPoint> readStoredPoints(CallInput &input)
    {
        std::vector<OxInkPoint> points;
        const int n = in.byte() % (kMaxStoredPoints + 1);
        for (int i = 0; i < n; ++i) {
            const QPointF p = readPoint();
            const double time = in.number(kTime);
            const float pressure = in.number(kPressure);
            points.emplace_back(float(p.x()), float(p.y()), time, pressure, 0, 0);
            input.storedPoint(points.back());
        }
        return points;
    }

    void step()
    {
        const EngineOp op = EngineOp(in.byte() % kEngineOpCount);
        Slot &slot = slotFromInput();
        if (tracing())
            std::fprintf(stderr, "call %d on slot %d (engine %s, %zu points, stroke calls %u)\n",
                         int(op), int(&slot - lanes), slot.engine ? slot.kind->name : "none",
                         slot.points.size(), slot.strokeCalls);
        if (op == kNewEngine) {
            slot = Slot();
            // The byte picks an engine by its place in the table (its id - 1).
            const std::vector<OxEngineKind> &kinds = OxEngineKind::all();
            slot.kind = &kinds[in.byte() % kinds.size()];
            slot.engine = slot.kind->make();
            return;
        }
        if (op == kCopyEngine || op == kAssignEngine || op == kCopyFrom)
            return copyCall(slot, op);
        if (!slot.engine)
            return;
        switch (op) {
        case kStartCreate:
        case kCreating:
        case kEndCreate:
        case kEndCreateOnlyBackward: return phaseCall(slot, op);
        case kCreatingOnlyBackward:
        case kCreatingYuanShi: return batchCall(slot, op);
        case kCreatingFitted: return fittedCall(slot);
        case kLoadFromWholePoints: return loadCall(slot);
        case kBuildPathFromXY: return buildCall(slot);
        case kBuildPathFromXYCopying: return buildCopyingCall(slot);
        default: return;
        }
    }

    void phaseCall(Slot &slot, EngineOp op)
    {
        if (op == kEndCreateOnlyBackward && !slot.kind->canFeed(OxEngineKind::kBatch))
            return;
        CallInput input(slot, op == kStartCreate && slot.points.empty());
        const QPointF point = readPoint();
        input.sample(point);
        QMap<QString, QVariant> params;
        const float width = readParamsAndWidth(input, params);
        if (tracing())
            std::fprintf(stderr, "  at (%g, %g), width %g, time %s, pressure %s\n", point.x(),
                         point.y(), double(width),
                         qPrintable(params.value(QStringLiteral("time")).toString()),
                         qPrintable(params.value(QStringLiteral("pressure")).toString()));
        const EngineCall call = [op, point, params, width](Slot &s) {
            OxStrokesFixWidth &e = *s.engine;
            switch (op) {
            case kStartCreate: return e.startCreate(s.points, s.path, point, params, width);
            case kCreating: return e.creating(s.points, s.path, point, params, width);
            case kEndCreate: return e.endCreate(s.points, s.path, point, params, width);
            default: return s.kind->endBatch(e, s.points, s.path, point, params, width);
            }
        };
        // One engine serves one stroke, which a host starts with its points and path cleared
        // (an engine goes on from what it is handed and what it has drawn otherwise).
        const bool fresh = !slot.engineUsed && slot.points.empty() && slot.path.elementCount() == 0;
        const unsigned strokeCall = op == kStartCreate ? kOpensStroke | (fresh ? 0u : unsigned(kOutsideStroke))
                                    : op == kCreating  ? kLiveCall
                                    : op == kEndCreate ? kPlainEnd
                                                       : kBackwardEnd;
        run(slot, input, width, call,
            {true, strokeCall, (strokeCall & (kPlainEnd | kBackwardEnd)) != 0});
    }

    void batchCall(Slot &slot, EngineOp op)
    {
        if (!slot.kind->canFeed(op == kCreatingOnlyBackward ? OxEngineKind::kBatch
                                                             : OxEngineKind::kRaw))
            return;
        CallInput input(slot);
        const QList<QPointF> samples = readBatch(input);
        QMap<QString, QVariant> params;
        const float width = readParamsAndWidth(input, params);
        const EngineCall call = [op, samples, params, width](Slot &s) {
            QList<QPointF> batch = samples;
            if (op == kCreatingOnlyBackward)
                return s.kind->creatingBatch(*s.engine, s.points, batch, params, width);
            return s.kind->creatingRaw(*s.engine, s.points, batch, params, width);
        };
        run(slot, input, width, call,
            {true, op == kCreatingOnlyBackward ? kBackwardCall : kRawCall, false});
    }

    void fittedCall(Slot &slot)
    {
        if (!slot.kind->canFeed(OxEngineKind::kFitted))
            return;
        CallInput input(slot);
        const QList<QPointF> samples = readBatch(input);
        const QPointF point = readPoint();
        input.sample(point);
        QMap<QString, QVariant> params;
        const float width = readParamsAndWidth(input, params);
        const EngineCall call = [samples, point, params, width](Slot &s) {
            QList<QPointF> extra = samples;
            return s.kind->creatingFitted(*s.engine, s.points, s.path, extra, point, params,
                                          width);
        };
        run(slot, input, width, call, {true, kLiveCall, false});
    }

    void loadCall(Slot &slot)
    {
        CallInput input(slot);
        const std::vector<OxInkPoint> stored = readStoredPoints(input);
        const float width = in.number(kWidth);
        input.width(width);
        const EngineCall call = [stored, width](Slot &s) {
            s.points = stored;
            const QRectF r = s.engine->loadFromWholePoints(s.points, s.path, width);
            if (!std::isfinite(width))
                FUZZ_REQUIRE(r.isEmpty());
            return r;
        };
        run(slot, input, width, call, {false, kOutsideStroke, true});
    }

    // The host's own points, or stored ones read from the input (null: the host's own).
    std::shared_ptr<std::vector<OxInkPoint>> readBuildPoints(const Slot &slot, CallInput &input)
    {
        if (in.byte() & 1)
            return std::make_shared<std::vector<OxInkPoint>>(readStoredPoints(input));
        for (const OxInkPoint &p : slot.points)
            input.storedPoint(p);
        return nullptr;
    }

    void buildCall(Slot &slot)
    {
        CallInput input(slot);
        const std::shared_ptr<std::vector<OxInkPoint>> stored = readBuildPoints(slot, input);
        const float width = in.number(kWidth);
        input.width(width);
        const EngineCall call = [stored, width](Slot &s) {
            if (stored)
                s.points = *stored;
            s.engine->buildPathFromXY(s.points, s.path, width);
            return QRectF();
        };
        run(slot, input, width, call, {false, kOutsideStroke, true});
    }

    void buildCopyingCall(Slot &slot)
    {
        if (!isFill(*slot.kind))
            return;
        CallInput input(slot);
        const std::shared_ptr<std::vector<OxInkPoint>> stored = readBuildPoints(slot, input);
        const float width = in.number(kWidth);
        input.width(width);
        Slot &source = slotFromInput();
        OxStrokesFixWidthFill *other = nullptr;
        if (source.engine && isFill(*source.kind) && (in.byte() & 1)) {
            other = as<OxStrokesFixWidthFill>(source);
            input.moderate = input.moderate && source.moderate;
        }
        // A twin copying from its own slot copies from itself.
        const bool fromItself = &source == &slot && other;
        std::vector<int> indices;
        const int n = in.byte() % (kMaxStoredPoints + 1);
        for (int i = 0; i < n; ++i)
            indices.push_back(in.byte() & 0x80 ? int(in.wholeNumber()) : int(int8_t(in.byte())));
        const EngineCall call = [stored, width, other, fromItself, indices](Slot &s) {
            if (stored)
                s.points = *stored;
            std::vector<int> copied = indices;
            as<OxStrokesFixWidthFill>(s)->buildPathFromXY(
                s.points, s.path, width, fromItself ? as<OxStrokesFixWidthFill>(s) : other,
                copied);
            return QRectF();
        };
        run(slot, input, width, call, {false, kOutsideStroke, true});
    }

    // Copy construction, assignment (same engine class only, itself included) or copyFrom from
    // another slot; the host copies its points and path along. A copy or an assignment from
    // another slot also gives the source a twin made the same way, which then follows it.
    void copyCall(Slot &target, EngineOp op)
    {
        Slot &source = slotFromInput();
        if (!source.engine || (!target.engine && op != kCopyEngine)
            || (op == kCopyEngine && &source == &target)
            || (op == kAssignEngine && target.kind != source.kind))
            return;
        if (target.engine)
            fullCheck(target);   // the target's own rectangles, before it takes over others'
        if (&source != &target)
            target.twin.reset();   // its twin would not follow what the target takes over
        if (op == kCopyFrom) {
            target.engine->copyFrom(source.engine.get());
            target.engineUsed = true;
            target.moderate = target.moderate && source.moderate;
            target.strokeCalls |= kOutsideStroke;
            target.pens = source.pens;   // it may go on from the source's last sample
            if (&source != &target) {
                target.points = source.points;
                target.path = source.path;
            }
        } else {
            if (op == kCopyEngine)
                target.engine = source.kind->copy(*source.engine);
            else
                FUZZ_REQUIRE(source.kind->assign(*target.engine, *source.engine));
            takeOver(target, source);
            if (&source != &target)
                makeTwin(source, op);
        }
        target.rectsHeld = false;   // what it took over was reported by another slot
        fullCheck(target);
    }

    // What a copy of an engine takes over with it: the host's points and path (a host copies
    // them along) and what the fuzzer knows of the stroke.
    static void takeOver(Slot &to, const Slot &from)
    {
        to.kind = from.kind;
        to.points = from.points;
        to.path = from.path;
        to.moderate = from.moderate;
        to.strokeCalls = from.strokeCalls;
        to.strokeWidth = from.strokeWidth;
        to.lastReported = from.lastReported;
        to.engineUsed = from.engineUsed;
        to.pens = from.pens;
    }

    // copyFrom is left out: it copies what the engine class chooses (the plain engine nothing),
    // so a target of copyFrom need not follow its source.
    static void makeTwin(Slot &source, EngineOp op)
    {
        std::unique_ptr<Slot> twin(new Slot);
        if (op == kCopyEngine) {
            twin->engine = source.kind->copy(*source.engine);
        } else {
            twin->engine = source.kind->make();
            FUZZ_REQUIRE(source.kind->assign(*twin->engine, *source.engine));
        }
        takeOver(*twin, source);
        source.twin = std::move(twin);
        source.twinCallsLeft = kTwinCalls;
    }

    void run(Slot &slot, const CallInput &input, float width, const EngineCall &call,
             CallKind kind)
    {
        if (!budget.spend(input.cost.dearer()))
            return;
        slot.pens = input.cost;
        if (kind.endsStroke)
            slot.pens.strokeEnded();
        if (slot.twin)
            slot.twin->pens = slot.pens;
        if (kind.dropsUnusable && !input.usable) {
            const Shapes before = shapesOf(slot);
            FUZZ_REQUIRE(call(slot).isEmpty());
            FUZZ_REQUIRE(shapesOf(slot) == before);
            if (slot.twin)
                FUZZ_REQUIRE(call(*slot.twin).isEmpty());
            return;
        }
        if (kind.strokeCall & kOpensStroke)
            fullCheck(slot);   // the old stroke's rectangles, before it is left drawn as it is
        const QRectF r = call(slot);
        slot.engineUsed = true;
        if (tracing())
            std::fprintf(stderr, "  rectangle [%g, %g] x [%g, %g]\n", r.left(), r.right(), r.top(),
                         r.bottom());
        noteStrokeCall(slot, kind, width);
        slot.moderate = slot.moderate && input.moderate;
        if (slot.moderate)
            FUZZ_REQUIRE(fuzzchecks::isFiniteRect(r));
        if (kind.strokeCall & kOpensStroke) {
            slot.checked = std::make_shared<Shapes>();   // all the new stroke draws is new
            slot.reported = Bounds();
        }
        // A width of 0 or less draws nothing of use, and its rectangles promise nothing.
        slot.rectsHeld =
            slot.rectsHeld && slot.moderate && isOneModeStroke(slot.strokeCalls)
            && width >= std::max(kNarrowestWidth, kNarrowestWidthPerReach * input.reach);
        slot.reported.add(r);
        if (!r.isEmpty() && r != kNothingAdded)
            slot.lastReported = r;
        slot.widestWidth = std::max(slot.widestWidth, std::fabs(double(width)));
        if (slot.twin) {
            FUZZ_REQUIRE(sameRect(call(*slot.twin), r));
            if (--slot.twinCallsLeft == 0 || kind.endsStroke)
                compareTwin(slot);
        }
        if (kind.endsStroke || ++slot.callsSinceFullCheck >= kFullCheckEvery)
            fullCheck(slot);
    }

    static void compareTwin(Slot &slot)
    {
        FUZZ_REQUIRE(shapesOf(*slot.twin) == shapesOf(slot));
        slot.twin.reset();
    }

    static void noteStrokeCall(Slot &slot, CallKind kind, float width)
    {
        if (kind.strokeCall & kOpensStroke) {
            slot.strokeCalls = kind.strokeCall;
            slot.strokeWidth = width;
        } else if ((slot.strokeCalls & (kPlainEnd | kBackwardEnd))
                   || !sameBits(width, slot.strokeWidth)) {
            slot.strokeCalls |= kOutsideStroke;   // a call after the end, or another width
        } else {
            slot.strokeCalls |= kind.strokeCall;
        }
    }

    static void fullCheck(Slot &slot)
    {
        const std::shared_ptr<const Shapes> now = std::make_shared<Shapes>(shapesOf(slot));
        if (slot.moderate) {
            for (const OxInkPoint &p : now->points)
                FUZZ_REQUIRE(std::isfinite(p.x) && std::isfinite(p.y));
            FUZZ_REQUIRE(fuzzchecks::isFinitePath(now->path));
            FUZZ_REQUIRE(fuzzchecks::isFinitePath(now->whole));
            for (const QPainterPath &tail : now->tails)
                FUZZ_REQUIRE(fuzzchecks::isFinitePath(tail));
            if (slot.rectsHeld)
                FUZZ_REQUIRE(
                    coversChange(*slot.kind, slot.reported, slot.widestWidth, *slot.checked, *now));
        }
        slot.checked = now;
        slot.reported = Bounds();
        slot.reported.add(slot.lastReported);
        slot.widestWidth = 0;
        slot.rectsHeld = true;
        slot.callsSinceFullCheck = 0;
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzchecks::silenceQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Reader in(data, size);
    EngineScript(in).run();
    return 0;
}
