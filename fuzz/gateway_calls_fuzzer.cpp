// Reads the input as a sequence of gateway calls on two gateways (configuration, every sketch
// call, release, copies and assignments, in any order), mixed with calls of the C interface (see
// CFaceCalls.h), and checks after every call what the gateway promises: without an engine (or with an unusable batch) nothing is written; otherwise
// the exported counts add up, the arrays are null exactly when their counts are 0 and match the
// gateway's own members, and a gateway whose engine has only seen moderate numbers reports a
// finite rectangle. Every kFullCheckEvery calls of a gateway and at every stroke end, the arrays
// are also compared with the engine's shape element for element (see expectedExport) and, for a
// moderate engine, held to finite coordinates (see FuzzChecks.h): a comparison costs the whole
// shape, so after every call it would make a stroke cost the square of its length. Batch arrays
// are allocated at exactly the size the host hands in, so a read past them is caught by the
// address sanitizer.

#include "CFaceCalls.h"
#include "FuzzBytes.h"
#include "FuzzChecks.h"

#include "OxEngineKind.h"
#include "OxQuillmarkGateway.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

using namespace fuzzbytes;
using fuzzchecks::isModerate;

namespace {

constexpr int kGatewayCount = 2;
constexpr int kMaxBatch = 16;
constexpr int kFullCheckEvery = 8;
// The work budget of an input: the engines' geometry is the engine target's; here strokes only
// need to be long enough to give the exports bodies and tails.
constexpr int kMaxSamples = 16;
constexpr double kMaxTravel = 150;

struct Outputs
{
    static constexpr float kUnwritten = -7.25f;
    float left = kUnwritten, top = kUnwritten, width = kUnwritten, height = kUnwritten;
    int pointCount = -7, pathCount = -7;
    int *pathSizes = reinterpret_cast<int *>(0x7);
    float *coords = nullptr;

    bool rectWritten() const
    {
        return !(left == kUnwritten && top == kUnwritten && width == kUnwritten
                 && height == kUnwritten);
    }
    bool shapeWritten() const
    {
        return !(pointCount == -7 && pathCount == -7 && pathSizes == reinterpret_cast<int *>(0x7));
    }
};

struct GatewaySlot
{
    std::unique_ptr<OxQuillmarkGateway> gateway{new OxQuillmarkGateway};
    // Every number that reached the current engine was moderate.
    bool moderate = true;
    // Where the work budget has the pens (the gateway's points outlive its engines).
    fuzzchecks::Pens pens;
    int callsSinceFullCheck = 0;

    // A fresh engine, or none.
    void engineReplaced()
    {
        moderate = true;
        pens.engine = fuzzchecks::CallCost();
    }
};

// The filled pen's smoothed centre line, which the gateway (a friend of the engines) exports.
struct SmoothedLine : OxStrokesFixWidth
{
    static const std::vector<OxInkPoint> &of(const OxStrokesFixWidth &engine)
    {
        return engine.*(&SmoothedLine::smoothedPoints);
    }
};

// What a sketch call exports, taken from the engine's own shapes.
struct Export
{
    std::vector<int> sizes;
    std::vector<float> coords;

    // Every element counts (a lone move-to is one pair); a path without elements gets no entry.
    void addPath(const QPainterPath &path)
    {
        if (path.elementCount() == 0)
            return;
        sizes.push_back(path.elementCount());
        for (int i = 0; i < path.elementCount(); ++i) {
            coords.push_back(float(path.elementAt(i).x));
            coords.push_back(float(path.elementAt(i).y));
        }
    }
};

// The brush hands out its outline (body, then tails; only the tails at the backward-only end),
// the filled pen its centre line (its outline after sketching2 and endSketch4).
Export expectedExport(const OxQuillmarkGateway &g, GatewayOp op)
{
    Export x;
    const OxEngineKind &kind = *OxEngineKind::of(*g.engine);
    const QVector<QPainterPath> outlines = kind.outlines(*g.engine);
    if (kind.drawn == OxEngineKind::Drawn::kOutlineAndTails) {
        const bool tailsOnly = op == kEndSketch3 || op == kEndSketch4;
        for (int i = tailsOnly ? 1 : 0; i < outlines.size(); ++i)
            x.addPath(outlines[i]);
        return x;
    }
    if (kind.drawn == OxEngineKind::Drawn::kOutline && (op == kSketching2 || op == kEndSketch4)) {
        x.addPath(outlines.front());
        return x;
    }
    const std::vector<OxInkPoint> &line = SmoothedLine::of(*g.engine);
    x.sizes.push_back(int(line.size()));
    for (const OxInkPoint &p : line) {
        x.coords.push_back(p.x);
        x.coords.push_back(p.y);
    }
    return x;
}

bool sameFloat(float a, float b)
{
    uint32_t x, y;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    return x == y;
}

// The process-wide rectangle of endSketch3 collects from every gateway since the last start:
// whether only moderate numbers went into it.
bool accumulatedModerate = true;

class GatewayScript
{
public:
    // Each input starts the process-wide rectangle anew, as a startSketch does: it would carry
    // the last input's strokes into this one's, and no input could be replayed alone.
    explicit GatewayScript(Reader &in) : in(in)
    {
        OxQuillmarkGateway::accumulatedRect = QRectF(0, 0, 0, 0);
        accumulatedModerate = true;
    }

    void run()
    {
        while (!in.atEnd())
            step();
    }

private:
    Reader &in;
    GatewaySlot lanes[kGatewayCount];
    fuzzchecks::WorkBudget budget{kMaxSamples, kMaxTravel};
    cface::CFaceCalls cFace{in, budget, accumulatedModerate};

    long long readTime()
    {
        switch (in.byte() & 3) {
        case 0: return 0;
        case 1: return in.wholeNumber();
        case 2: return in.int64();
        default: return -1;
        }
    }

    int readPenType()
    {
        switch (in.byte() & 3) {
        case 0: return 1;
        case 1: return 2;
        case 2: return int8_t(in.byte());
        default: return in.int32();
        }
    }

    void step()
    {
        const GatewayOp op = GatewayOp(in.byte() % kGatewayOpCount);
        GatewaySlot &slot = lanes[in.byte() % kGatewayCount];
        OxQuillmarkGateway &g = *slot.gateway;
        switch (op) {
        case kSetEnvironmentPara: return setEnvironment(slot);
        case kFreeStroke:
            g.freeStroke();
            FUZZ_REQUIRE(g.engine == nullptr);
            slot.engineReplaced();
            return;
        case kClearup:
            g.clearup();
            FUZZ_REQUIRE(g.exportCoords == nullptr && g.exportPathSizes == nullptr);
            FUZZ_REQUIRE(g.exportPointCount == 0 && g.exportPathCount == 0);
            return;
        case kCopyGateway:
        case kAssignGateway: return copy(slot, op);
        case kSketching2: return batch(slot);
        case kCPenCall: return cFace.penCall();
        case kCStrokeCall: return cFace.strokeCall();
        default: return sketch(slot, op);
        }
    }

    void setEnvironment(GatewaySlot &slot)
    {
        OxQuillmarkGateway &g = *slot.gateway;
        const float f1 = in.number(kOther), f2 = in.number(kOther), w = in.number(kWidth);
        const int type = readPenType();
        const OxStrokesFixWidth *engineBefore = g.engine;
        const int typeBefore = g.penType;
        const bool accepted = g.setEnvironmentPara(f1, f2, w, type);
        auto positiveFinite = [](float v) { return std::isfinite(v) && v > 0; };
        FUZZ_REQUIRE(accepted
                     == (positiveFinite(f1) && positiveFinite(f2) && positiveFinite(w)
                         && type > 0));
        if (!accepted) {
            FUZZ_REQUIRE(g.engine == engineBefore && g.penType == typeBefore);
            return;
        }
        FUZZ_REQUIRE(g.penType == type && g.penWidth == w);
        FUZZ_REQUIRE((g.engine != nullptr) == (type == 1 || type == 2));
        if (type != typeBefore || !engineBefore)
            slot.engineReplaced();
    }

    void copy(GatewaySlot &target, GatewayOp op)
    {
        GatewaySlot &source = lanes[in.byte() % kGatewayCount];
        if (&source == &target) {
            // Assignment to itself changes nothing.
            const OxQuillmarkGateway &g = *target.gateway;
            const OxStrokesFixWidth *engine = g.engine;
            const float *coords = g.exportCoords;
            if (op == kAssignGateway)
                *target.gateway = *source.gateway;
            FUZZ_REQUIRE(g.engine == engine && g.exportCoords == coords);
            return;
        }
        if (op == kCopyGateway)
            target.gateway.reset(new OxQuillmarkGateway(*source.gateway));
        else
            *target.gateway = *source.gateway;
        const OxQuillmarkGateway &g = *target.gateway;
        FUZZ_REQUIRE(g.engine == nullptr);
        FUZZ_REQUIRE(g.exportCoords == nullptr && g.exportPathSizes == nullptr);
        FUZZ_REQUIRE(g.exportPointCount == 0 && g.exportPathCount == 0);
        target.engineReplaced();
        target.pens.points = source.pens.points;   // the points come along
    }

    void sketch(GatewaySlot &slot, GatewayOp op)
    {
        OxQuillmarkGateway &g = *slot.gateway;
        const float x = in.number(kX), y = in.number(kY);
        const long long time = readTime();
        // startSketch clears the gateway's points first.
        fuzzchecks::Pens cost =
            op == kStartSketch ? fuzzchecks::Pens::openingStroke() : slot.pens.next();
        cost.add(x, y);
        if (!budget.spend(cost.dearer()))
            return;
        const bool hadEngine = g.engine != nullptr;
        if (hadEngine) {
            slot.pens = cost;
            if (op != kStartSketch && op != kSketching)
                slot.pens.strokeEnded();
        }
        noteSample(slot, x, y);
        Outputs o;
        float *(OxQuillmarkGateway::*timed)(float, float, long long, float &, float &, float &,
                                            float &, int &, int &, int *&) = nullptr;
        switch (op) {
        case kStartSketch: timed = &OxQuillmarkGateway::startSketch; break;
        case kEndSketch2: timed = &OxQuillmarkGateway::endSketch2; break;
        case kEndSketch3: timed = &OxQuillmarkGateway::endSketch3; break;
        case kEndSketch4: timed = &OxQuillmarkGateway::endSketch4; break;
        default: break;
        }
        if (timed)
            o.coords = (g.*timed)(x, y, time, o.left, o.top, o.width, o.height, o.pointCount,
                                  o.pathCount, o.pathSizes);
        else if (op == kSketching)
            o.coords = g.sketching(x, y, o.left, o.top, o.width, o.height, o.pointCount,
                                   o.pathCount, o.pathSizes);
        else
            o.coords = g.endSketch(x, y, o.left, o.top, o.width, o.height, o.pointCount,
                                   o.pathCount, o.pathSizes);
        if (!hadEngine) {
            FUZZ_REQUIRE(o.coords == nullptr && !o.rectWritten() && !o.shapeWritten());
            return;
        }
        if (op == kStartSketch)
            accumulatedModerate = slot.moderate;
        else if (op == kEndSketch3)
            accumulatedModerate = accumulatedModerate && slot.moderate;
        check(slot, o, op, op == kEndSketch3 ? accumulatedModerate : slot.moderate);
    }

    void batch(GatewaySlot &slot)
    {
        OxQuillmarkGateway &g = *slot.gateway;
        const int pairs = in.byte() % (kMaxBatch + 1);
        const uint8_t shape = in.byte();
        // The host's arrays, exactly as large as it made them; count varies within them.
        std::vector<float> xy(size_t(2 * pairs));
        for (int i = 0; i < pairs; ++i) {
            xy[size_t(2 * i)] = in.number(kX);
            xy[size_t(2 * i + 1)] = in.number(kY);
        }
        const int count = (shape & 0x80) ? pairs - (shape & 3) : pairs;
        std::vector<long long> times(size_t(std::max(count, 0)));
        for (long long &t : times)
            t = readTime();
        float *xyArray = (shape & 0x40) && pairs > 0 ? xy.data() : nullptr;
        long long *timeArray = (shape & 0x20) && count > 0 ? times.data() : nullptr;
        if (shape & 0x10)
            xyArray = nullptr;

        fuzzchecks::Pens cost = slot.pens.next();
        for (int i = 0; i < count; ++i)
            cost.add(xy[size_t(2 * i)], xy[size_t(2 * i + 1)]);
        if (!budget.spend(cost.dearer()))
            return;
        const bool hadEngine = g.engine != nullptr;
        if (hadEngine && xyArray)
            slot.pens = cost;
        for (int i = 0; i < count; ++i)
            noteSample(slot, xy[size_t(2 * i)], xy[size_t(2 * i + 1)]);
        Outputs o;
        o.coords = g.sketching2(count, xyArray, timeArray, o.left, o.top, o.width, o.height,
                                o.pointCount, o.pathCount, o.pathSizes);
        if (!hadEngine || count <= 0 || !xyArray) {
            FUZZ_REQUIRE(o.coords == nullptr && !o.rectWritten() && !o.shapeWritten());
            return;
        }
        accumulatedModerate = accumulatedModerate && slot.moderate;
        check(slot, o, kSketching2, slot.moderate);
    }

    // A finite sample that is not moderate (or a pen width that is not) releases the gateway's
    // engine from the finiteness checks; non-finite samples are dropped by the engines.
    void noteSample(GatewaySlot &slot, float x, float y)
    {
        const bool finite = std::isfinite(x) && std::isfinite(y);
        if ((finite && !(isModerate(x) && isModerate(y))) || !isModerate(slot.gateway->penWidth))
            slot.moderate = false;
    }

    void check(GatewaySlot &slot, const Outputs &o, GatewayOp op, bool moderateRect)
    {
        const OxQuillmarkGateway &g = *slot.gateway;
        FUZZ_REQUIRE(o.shapeWritten());
        FUZZ_REQUIRE(o.pathCount >= 0 && o.pointCount >= 0);
        FUZZ_REQUIRE((o.pathSizes == nullptr) == (o.pathCount == 0));
        FUZZ_REQUIRE((o.coords == nullptr) == (o.pointCount == 0));
        long long sum = 0;
        for (int i = 0; i < o.pathCount; ++i) {
            FUZZ_REQUIRE(o.pathSizes[i] >= 0);
            sum += o.pathSizes[i];
        }
        FUZZ_REQUIRE(sum == o.pointCount);
        FUZZ_REQUIRE(o.coords == g.exportCoords && o.pathSizes == g.exportPathSizes);
        FUZZ_REQUIRE(o.pointCount == g.exportPointCount && o.pathCount == g.exportPathCount);
        if (moderateRect && o.rectWritten())
            FUZZ_REQUIRE(fuzzchecks::isFiniteRect(QRectF(o.left, o.top, o.width, o.height)));
        const bool endsStroke =
            op == kEndSketch || op == kEndSketch2 || op == kEndSketch3 || op == kEndSketch4;
        if (!endsStroke && ++slot.callsSinceFullCheck < kFullCheckEvery)
            return;
        slot.callsSinceFullCheck = 0;
        const Export expected = expectedExport(g, op);
        FUZZ_REQUIRE(size_t(o.pathCount) == expected.sizes.size());
        for (int i = 0; i < o.pathCount; ++i)
            FUZZ_REQUIRE(o.pathSizes[i] == expected.sizes[size_t(i)]);
        FUZZ_REQUIRE(size_t(2 * o.pointCount) == expected.coords.size());
        for (int i = 0; i < 2 * o.pointCount; ++i)
            FUZZ_REQUIRE(sameFloat(o.coords[i], expected.coords[size_t(i)]));
        bool finiteCoords = true;
        for (int i = 0; i < 2 * o.pointCount; ++i)
            finiteCoords = finiteCoords && std::isfinite(o.coords[i]);
        if (slot.moderate)
            FUZZ_REQUIRE(finiteCoords);
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
    GatewayScript(in).run();
    return 0;
}
