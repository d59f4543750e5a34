// Reads the input as a sequence of engine calls on a few engine slots (any of the six engines)
// and checks after every call what the engines promise: unusable samples and widths are dropped
// with an empty rectangle and no change, and an engine that has only seen moderate numbers
// returns finite rectangles and keeps finite points and outlines (see FuzzChecks.h).

#include "FuzzBytes.h"
#include "FuzzChecks.h"

#include "OxStrokesFixWidth.h"
#include "OxStrokesFixWidthFill.h"
#include "OxStrokesVaryWidthBackwardExtend.h"
#include "OxStrokesVaryWidthBackwardTime.h"
#include "OxStrokesVaryWidthPressure.h"
#include "OxStrokesVaryWidthTime.h"

#include <QList>
#include <QMap>
#include <QVariant>
#include <memory>
#include <vector>

using namespace fuzzbytes;
using fuzzchecks::isModerate;

namespace {

constexpr int kSlotCount = 3;
constexpr int kMaxBatch = 16;
constexpr int kMaxStoredPoints = 64;

struct Slot
{
    std::unique_ptr<OxStrokesFixWidth> engine;
    EngineType type = kFixWidthEngine;
    std::vector<OxInkPoint> points;
    QPainterPath path;
    // Every number that reached the engine was moderate: its output is held to be finite.
    bool moderate = true;
};

template <class Engine>
Engine *as(Slot &slot)
{
    return static_cast<Engine *>(slot.engine.get());
}

OxStrokesFixWidth *makeEngine(EngineType type)
{
    switch (type) {
    case kFillEngine: return new OxStrokesFixWidthFill;
    case kPressureEngine: return new OxStrokesVaryWidthPressure;
    case kTimeEngine: return new OxStrokesVaryWidthTime;
    case kExtendEngine: return new OxStrokesVaryWidthBackwardExtend;
    case kBrushEngine: return new OxStrokesVaryWidthBackwardTime;
    default: return new OxStrokesFixWidth;
    }
}

template <class Engine>
OxStrokesFixWidth *copyAs(Slot &from)
{
    return new Engine(*as<Engine>(from));
}

OxStrokesFixWidth *copyEngine(Slot &from)
{
    switch (from.type) {
    case kFillEngine: return copyAs<OxStrokesFixWidthFill>(from);
    case kPressureEngine: return copyAs<OxStrokesVaryWidthPressure>(from);
    case kTimeEngine: return copyAs<OxStrokesVaryWidthTime>(from);
    case kExtendEngine: return copyAs<OxStrokesVaryWidthBackwardExtend>(from);
    case kBrushEngine: return copyAs<OxStrokesVaryWidthBackwardTime>(from);
    default: return copyAs<OxStrokesFixWidth>(from);
    }
}

template <class Engine>
void assignAs(Slot &to, Slot &from)
{
    *as<Engine>(to) = *as<Engine>(from);
}

void assignEngine(Slot &to, Slot &from)
{
    switch (from.type) {
    case kFillEngine: return assignAs<OxStrokesFixWidthFill>(to, from);
    case kPressureEngine: return assignAs<OxStrokesVaryWidthPressure>(to, from);
    case kTimeEngine: return assignAs<OxStrokesVaryWidthTime>(to, from);
    case kExtendEngine: return assignAs<OxStrokesVaryWidthBackwardExtend>(to, from);
    case kBrushEngine: return assignAs<OxStrokesVaryWidthBackwardTime>(to, from);
    default: return assignAs<OxStrokesFixWidth>(to, from);
    }
}

bool isFillType(EngineType t)
{
    return t == kFillEngine;
}

bool isBrushType(EngineType t)
{
    return t == kBrushEngine;
}

bool hasPathWhole(EngineType t)
{
    return t != kFixWidthEngine;
}

QPainterPath pathWholeOf(Slot &slot)
{
    if (isFillType(slot.type))
        return as<OxStrokesFixWidthFill>(slot)->getPathWhole();
    return as<OxStrokesVaryWidthPressure>(slot)->getPathWhole();
}

// What the drop check compares: a dropped call changes none of it.
struct Footprint
{
    size_t points;
    int pathElements;
    int outlineElements;

    bool operator==(const Footprint &o) const
    {
        return points == o.points && pathElements == o.pathElements
               && outlineElements == o.outlineElements;
    }
};

Footprint footprintOf(Slot &slot)
{
    return {slot.points.size(), slot.path.elementCount(),
            hasPathWhole(slot.type) ? pathWholeOf(slot).elementCount() : 0};
}

// The call's numbers as the fuzzer read them, to decide what the engine must do with them.
struct CallInput
{
    bool usable = true;     // sample and width finite (otherwise the call must be dropped)
    bool moderate = true;   // every number moderate or dropped by the engine
    int far = 0;            // samples that count against the work budget

    void sample(QPointF p)
    {
        far += fuzzchecks::isFar(p.x(), p.y());
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
        far += fuzzchecks::isFar(p.x(), p.y());
        if (std::isfinite(p.x()) && std::isfinite(p.y()))
            moderate = moderate && isModerate(p.x()) && isModerate(p.y());
    }
    // Stored points: every field counts, dropped or not.
    void storedPoint(const OxInkPoint &p)
    {
        far += fuzzchecks::isFar(p.x, p.y);
        moderate = moderate && isModerate(p.x) && isModerate(p.y) && isModerate(p.pressure)
                   && std::isfinite(p.time);
    }
};

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
    fuzzchecks::WorkBudget budget;

    Slot &slotFromInput() { return lanes[in.byte() % kSlotCount]; }
    // A call is skipped when its far samples (and a far last point to start from) do not fit
    // into the input's work budget.
    bool affordable(const Slot &slot, const CallInput &input)
    {
        const bool fromFar =
            !slot.points.empty() && fuzzchecks::isFar(slot.points.back().x, slot.points.back().y);
        return budget.spend(input.far + int(fromFar));
    }

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

    // The parameters and the width a phase or batch call ends with; false when the call does not
    // fit into the input's work budget.
    bool readParamsAndWidth(const Slot &slot, CallInput &input, QMap<QString, QVariant> &params,
                            float &width)
    {
        params = readParams(input);
        width = in.number(kWidth);
        input.width(width);
        return affordable(slot, input);
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
        if (op == kNewEngine) {
            slot = Slot();
            slot.type = EngineType(in.byte() % kEngineTypeCount);
            slot.engine.reset(makeEngine(slot.type));
            return;
        }
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
        case kCopyEngine:
        case kAssignEngine:
        case kCopyFrom: return copyCall(slot, op);
        default: return;
        }
    }

    void phaseCall(Slot &slot, EngineOp op)
    {
        if (op == kEndCreateOnlyBackward && !isFillType(slot.type) && !isBrushType(slot.type))
            return;
        CallInput input;
        const QPointF point = readPoint();
        input.sample(point);
        QMap<QString, QVariant> params;
        float width = 0;
        if (!readParamsAndWidth(slot, input, params, width))
            return;

        const Footprint before = footprintOf(slot);
        QRectF r;
        OxStrokesFixWidth &e = *slot.engine;
        switch (op) {
        case kStartCreate: r = e.startCreate(slot.points, slot.path, point, params, width); break;
        case kCreating: r = e.creating(slot.points, slot.path, point, params, width); break;
        case kEndCreate: r = e.endCreate(slot.points, slot.path, point, params, width); break;
        default:
            if (isFillType(slot.type))
                r = as<OxStrokesFixWidthFill>(slot)->endCreateOnlyBackward(
                    slot.points, slot.path, point, params, width);
            else
                r = as<OxStrokesVaryWidthBackwardTime>(slot)->endCreateOnlyBackward(
                    slot.points, slot.path, point, params, width);
            break;
        }
        finish(slot, input, r, &before);
    }

    void batchCall(Slot &slot, EngineOp op)
    {
        if (!isFillType(slot.type) && !isBrushType(slot.type))
            return;
        if (op == kCreatingYuanShi && !isBrushType(slot.type))
            return;
        CallInput input;
        QList<QPointF> samples = readBatch(input);
        QMap<QString, QVariant> params;
        float width = 0;
        if (!readParamsAndWidth(slot, input, params, width))
            return;

        const Footprint before = footprintOf(slot);
        QRectF r;
        if (isFillType(slot.type))
            r = as<OxStrokesFixWidthFill>(slot)->creatingOnlyBackward(slot.points, samples,
                                                                      params, width);
        else if (op == kCreatingOnlyBackward)
            r = as<OxStrokesVaryWidthBackwardTime>(slot)->creatingOnlyBackward(
                slot.points, samples, params, width);
        else
            r = as<OxStrokesVaryWidthBackwardTime>(slot)->creatingYuanShi(slot.points, samples,
                                                                          params, width);
        finish(slot, input, r, &before);
    }

    void fittedCall(Slot &slot)
    {
        if (!isBrushType(slot.type))
            return;
        CallInput input;
        QList<QPointF> samples = readBatch(input);
        const QPointF point = readPoint();
        input.sample(point);
        QMap<QString, QVariant> params;
        float width = 0;
        if (!readParamsAndWidth(slot, input, params, width))
            return;

        const Footprint before = footprintOf(slot);
        const QRectF r = as<OxStrokesVaryWidthBackwardTime>(slot)->creating(
            slot.points, slot.path, samples, point, params, width);
        finish(slot, input, r, &before);
    }

    void loadCall(Slot &slot)
    {
        CallInput input;
        std::vector<OxInkPoint> stored = readStoredPoints(input);
        const float width = in.number(kWidth);
        input.width(width);
        if (!affordable(slot, input))
            return;
        slot.points = std::move(stored);
        const QRectF r = slot.engine->loadFromWholePoints(slot.points, slot.path, width);
        if (!std::isfinite(width))
            FUZZ_REQUIRE(r.isEmpty());
        finish(slot, input, r);
    }

    // The host's own points, or stored ones read from the input.
    void readBuildPoints(Slot &slot, CallInput &input)
    {
        if (in.byte() & 1) {
            slot.points = readStoredPoints(input);
            return;
        }
        for (const OxInkPoint &p : slot.points)
            input.storedPoint(p);
    }

    void buildCall(Slot &slot)
    {
        CallInput input;
        readBuildPoints(slot, input);
        const float width = in.number(kWidth);
        input.width(width);
        slot.engine->buildPathFromXY(slot.points, slot.path, width);
        finish(slot, input, QRectF());
    }

    void buildCopyingCall(Slot &slot)
    {
        if (!isFillType(slot.type))
            return;
        CallInput input;
        readBuildPoints(slot, input);
        const float width = in.number(kWidth);
        input.width(width);
        Slot &source = slotFromInput();
        OxStrokesFixWidthFill *other = nullptr;
        if (source.engine && isFillType(source.type) && (in.byte() & 1)) {
            other = as<OxStrokesFixWidthFill>(source);
            input.moderate = input.moderate && source.moderate;
        }
        std::vector<int> indices;
        const int n = in.byte() % (kMaxStoredPoints + 1);
        for (int i = 0; i < n; ++i)
            indices.push_back(in.byte() & 0x80 ? int(in.wholeNumber()) : int(int8_t(in.byte())));
        as<OxStrokesFixWidthFill>(slot)->buildPathFromXY(slot.points, slot.path, width, other,
                                                         indices);
        finish(slot, input, QRectF());
    }

    // Copy construction, assignment (same engine class only, itself included) or copyFrom from
    // another slot; the host copies its points and path along.
    void copyCall(Slot &target, EngineOp op)
    {
        Slot &source = slotFromInput();
        if (!source.engine)
            return;
        if (op == kCopyFrom) {
            target.engine->copyFrom(source.engine.get());
            target.moderate = target.moderate && source.moderate;
        } else if (op == kCopyEngine) {
            if (&source == &target)
                return;
            target.engine.reset(copyEngine(source));
            target.type = source.type;
            target.moderate = source.moderate;
        } else {
            if (target.type != source.type)
                return;
            assignEngine(target, source);
            target.moderate = source.moderate;
        }
        if (&source != &target) {
            target.points = source.points;
            target.path = source.path;
        }
        checkShapes(target);
        checkShapes(source);
    }

    // before: the slot before a call that must drop unusable input (null for the others).
    void finish(Slot &slot, const CallInput &input, const QRectF &r,
                const Footprint *before = nullptr)
    {
        if (before && !input.usable) {
            FUZZ_REQUIRE(r.isEmpty());
            FUZZ_REQUIRE(footprintOf(slot) == *before);
        }
        slot.moderate = slot.moderate && input.moderate;
        if (slot.moderate)
            FUZZ_REQUIRE(fuzzchecks::isFiniteRect(r));
        checkShapes(slot);
    }

    void checkShapes(Slot &slot)
    {
        if (!slot.moderate)
            return;
        for (const OxInkPoint &p : slot.points)
            FUZZ_REQUIRE(std::isfinite(p.x) && std::isfinite(p.y));
        FUZZ_REQUIRE(fuzzchecks::isFinitePath(slot.path));
        if (hasPathWhole(slot.type))
            FUZZ_REQUIRE(fuzzchecks::isFinitePath(pathWholeOf(slot)));
        if (slot.type == kExtendEngine || slot.type == kBrushEngine) {
            for (const QPainterPath &tail :
                 as<OxStrokesVaryWidthBackwardExtend>(slot)->getBackwardPaths())
                FUZZ_REQUIRE(fuzzchecks::isFinitePath(tail));
        }
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
