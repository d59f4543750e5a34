// Writes the seed corpus of the fuzz targets from recorded strokes: the engine calls and the
// gateway calls a host makes when it draws them, in the targets' byte encoding (FuzzBytes.h).
// Strokes are cut to their first kMaxSamples samples to keep the seeds small.
//
//   quillmark-fuzz-seeds DATA_DIR CORPUS_DIR
//   (writes CORPUS_DIR/engine/*, CORPUS_DIR/gateway/*, CORPUS_DIR/page/* and CORPUS_DIR/cpage/*)

#include "FuzzBytes.h"
#include "OxEngineKind.h"
#include "quillmark_page.h"
#include "StrokeFile.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>

using namespace fuzzbytes;

namespace {

constexpr size_t kMaxSamples = 16;
constexpr float kPenWidth = 6;
constexpr int kBatchSize = 6;

RecordedStroke shortened(const RecordedStroke &stroke)
{
    return RecordedStroke(stroke.begin(),
                          stroke.begin() + long(std::min(stroke.size(), kMaxSamples)));
}

// The C stroke seeds hand over a sample more than the stroke has (a refused call) and must fit
// the gateway target's work budget of 16 samples and 150 units of travel: strokes are cut to
// kCStrokeSamples samples and kCStrokeTravel units.
constexpr size_t kCStrokeSamples = 12;
constexpr double kCStrokeTravel = 120;

RecordedStroke withinCStrokeBudget(const RecordedStroke &stroke)
{
    RecordedStroke cut;
    double travel = 0;
    for (const RecordedSample &s : stroke) {
        if (!cut.empty())
            travel += std::hypot(s.x - cut.back().x, s.y - cut.back().y);
        if (cut.size() == kCStrokeSamples || travel > kCStrokeTravel)
            break;
        cut.push_back(s);
    }
    return cut;
}

struct EngineSeed
{
    Writer w;

    void call(EngineOp op, int slot = 0)
    {
        w.byte(op);
        w.byte(uint8_t(slot));
    }
    void newEngine(const OxEngineKind &kind, int slot = 0)
    {
        call(kNewEngine, slot);
        w.byte(uint8_t(kind.id - 1));
    }
    void point(const RecordedSample &s)
    {
        w.number(kX, float(s.x));
        w.number(kY, float(s.y));
    }
    void params(const RecordedSample &s)
    {
        w.byte(paramFlags(kIntTime, kFloatPressure));
        w.wholeNumber(int32_t(s.timeMs));
        w.number(kPressure, s.pressure);
    }
    void width() { w.number(kWidth, kPenWidth); }
    void phase(EngineOp op, const RecordedSample &s, int slot = 0)
    {
        call(op, slot);
        point(s);
        params(s);
        width();
    }
    void batch(EngineOp op, const RecordedStroke &stroke, size_t from, size_t to)
    {
        call(op);
        w.byte(uint8_t(to - from));
        for (size_t i = from; i < to; ++i)
            point(stroke[i]);
        params(stroke[to - 1]);
        width();
    }
    void storedPoints(const RecordedStroke &stroke)
    {
        w.byte(uint8_t(stroke.size()));
        for (const RecordedSample &s : stroke) {
            point(s);
            w.number(kTime, float(s.timeMs));
            w.number(kPressure, s.pressure);
        }
    }
};

struct GatewaySeed
{
    Writer w;

    void call(GatewayOp op)
    {
        w.byte(op);
        w.byte(0);
    }
    void environment(int penType)
    {
        call(kSetEnvironmentPara);
        w.number(kOther, 1);
        w.number(kOther, 1);
        w.number(kWidth, kPenWidth);
        w.byte(penType == 1 ? 0 : 1);
    }
    void time(long long t)
    {
        w.byte(1);
        w.wholeNumber(int32_t(t));
    }
    void sample(GatewayOp op, const RecordedSample &s)
    {
        call(op);
        w.number(kX, float(s.x));
        w.number(kY, float(s.y));
        time(s.timeMs + 1);
    }
    void batch(const RecordedStroke &stroke, size_t from, size_t to)
    {
        call(kSketching2);
        w.byte(uint8_t(to - from));
        w.byte(0x60);   // xy and times given, count = all pairs
        for (size_t i = from; i < to; ++i) {
            w.number(kX, float(stroke[i].x));
            w.number(kY, float(stroke[i].y));
        }
        for (size_t i = from; i < to; ++i)
            time(stroke[to - 1].timeMs + 1);
    }
};

// The gateway target's calls of the C faces (CFaceCalls.h): the host's calls of one pen or one
// stroke, each handed a rectangle or shape to write.
struct CFaceSeed : GatewaySeed
{
    // Stamps on the host's clock: milliseconds since the stroke began, or since the epoch.
    bool epochClock = false;

    void stamp(long long ms)
    {
        if (epochClock) {
            w.byte(2);   // 1.7e12 + a whole number
            w.wholeNumber(int32_t(ms));
        } else {
            w.byte(1);
            w.number(kTime, float(ms));
        }
    }
    void pairs(const RecordedStroke &stroke, size_t from, size_t to)
    {
        for (size_t i = from; i < to; ++i) {
            w.number(kX, float(stroke[i].x));
            w.number(kY, float(stroke[i].y));
        }
    }

    void pen(CPenOp op)
    {
        call(kCPenCall);
        w.byte(op);
    }
    void penCreate(bool create)
    {
        pen(kPenCreate);
        w.byte(create ? 1 : 0);
    }
    void penEnvironment(int penType)
    {
        pen(kPenSetEnvironment);
        w.number(kOther, 1);
        w.number(kOther, 1);
        w.number(kWidth, kPenWidth);
        w.byte(uint8_t(penType));
    }
    // A pen call with samples from .. to - 1 of stroke (one unless it is the batch call).
    void penSketch(CPenOp op, const RecordedStroke &stroke, size_t from, size_t to)
    {
        pen(op);
        if (op == kPenMoveBatch)
            w.byte(uint8_t(to - from));
        pairs(stroke, from, to);
        stamp(stroke[to - 1].timeMs);
        w.byte(0);   // a shape to write
    }

    void stroke(CStrokeOp op, int lane = 0)
    {
        call(kCStrokeCall);
        w.byte(op);
        w.byte(uint8_t(lane));
    }
    void create(const OxEngineKind &kind)
    {
        stroke(kStrokeCreate);
        w.byte(uint8_t(kind.id));
        w.number(kWidth, kPenWidth);
    }
    void sample(CStrokeOp op, const RecordedSample &s)
    {
        stroke(op);
        w.number(kX, float(s.x));
        w.number(kY, float(s.y));
        stamp(s.timeMs);
        w.number(kPressure, s.pressure);
        w.byte(0);   // a rectangle to write
    }
    void batch(CStrokeOp op, const RecordedStroke &stroke, size_t from, size_t to)
    {
        this->stroke(op);
        w.byte(uint8_t(to - from));
        pairs(stroke, from, to);
        stamp(stroke[to - 1].timeMs);
        w.byte(0);   // the count is the pairs'
        w.byte(0);
    }
    void replay(const RecordedStroke &stroke)
    {
        this->stroke(kStrokeReplay);
        w.byte(uint8_t(stroke.size()));
        pairs(stroke, 0, stroke.size());
        for (const RecordedSample &s : stroke) {
            stamp(s.timeMs);
            w.number(kPressure, s.pressure);
        }
        w.byte(0);   // no null arrays
        w.byte(0);
    }
    void predict(float horizonMs)
    {
        stroke(kStrokePredict);
        w.number(kOther, horizonMs);
        w.byte(0);
    }
    // The host's own guess: the pen goes on as it went from before to last, a step per 8 ms.
    void predictSamples(const RecordedSample &before, const RecordedSample &last, int count)
    {
        stroke(kStrokePredictSamples);
        w.byte(uint8_t(count));
        for (int k = 1; k <= count; ++k) {
            w.number(kX, float(last.x + k * (last.x - before.x)));
            w.number(kY, float(last.y + k * (last.y - before.y)));
            stamp(last.timeMs + 8 * k);
            w.number(kPressure, last.pressure);
        }
        w.byte(0);   // the count as given, an array
        w.byte(0);
    }
    void otherRead(int which)
    {
        stroke(kStrokeOtherReads);
        w.byte(uint8_t(which));
    }
    void engineTable(int id, const char *name)
    {
        stroke(kEngineTable);
        w.byte(uint8_t(id));
        const size_t length = std::strlen(name);
        w.byte(uint8_t(length));
        for (size_t i = 0; i < length; ++i)
            w.byte(uint8_t(name[i]));
    }
};

void writeSeed(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

// Calls addMiddle for the batches of samples 1 .. n-2 of stroke.
void forBatches(const RecordedStroke &stroke, const std::function<void(size_t, size_t)> &add)
{
    for (size_t from = 1; from + 1 < stroke.size(); from += kBatchSize)
        add(from, std::min(from + kBatchSize, stroke.size() - 1));
}

std::vector<uint8_t> liveEngineSeed(const OxEngineKind &kind, const RecordedStroke &stroke,
                                    bool copy)
{
    EngineSeed seed;
    seed.newEngine(kind);
    seed.phase(kStartCreate, stroke.front());
    int slot = 0;
    for (size_t i = 1; i + 1 < stroke.size(); ++i) {
        if (copy && i == stroke.size() / 2) {
            seed.call(kCopyEngine, 1);
            seed.w.byte(0);
            slot = 1;
        }
        seed.phase(kCreating, stroke[i], slot);
    }
    seed.phase(kEndCreate, stroke.back(), slot);
    return seed.w.bytes;
}

std::vector<uint8_t> batchEngineSeed(const OxEngineKind &kind, EngineOp op,
                                     const RecordedStroke &stroke)
{
    EngineSeed seed;
    seed.newEngine(kind);
    seed.phase(kStartCreate, stroke.front());
    forBatches(stroke, [&](size_t from, size_t to) { seed.batch(op, stroke, from, to); });
    seed.phase(op == kCreatingYuanShi ? kEndCreate : kEndCreateOnlyBackward, stroke.back());
    return seed.w.bytes;
}

std::vector<uint8_t> fittedEngineSeed(const OxEngineKind &kind, const RecordedStroke &stroke)
{
    EngineSeed seed;
    seed.newEngine(kind);
    seed.phase(kStartCreate, stroke.front());
    for (size_t i = 3; i + 1 < stroke.size(); i += 3) {
        seed.call(kCreatingFitted);
        seed.w.byte(2);
        seed.point(stroke[i - 2]);
        seed.point(stroke[i - 1]);
        seed.point(stroke[i]);
        seed.params(stroke[i]);
        seed.width();
    }
    seed.phase(kEndCreate, stroke.back());
    return seed.w.bytes;
}

std::vector<uint8_t> storedEngineSeed(const OxEngineKind &kind, EngineOp op,
                                      const RecordedStroke &stroke)
{
    EngineSeed seed;
    seed.newEngine(kind);
    seed.call(op);
    if (op != kLoadFromWholePoints)
        seed.w.byte(1);   // points from the input
    seed.storedPoints(stroke);
    seed.width();
    if (op == kBuildPathFromXYCopying) {
        seed.w.byte(0);   // the slot of the engine to copy from: this one
        seed.w.byte(0);   // but copy from none
        seed.w.byte(0);   // no indices
    }
    return seed.w.bytes;
}

std::vector<uint8_t> liveGatewaySeed(int penType, const RecordedStroke &stroke, GatewayOp end)
{
    GatewaySeed seed;
    seed.environment(penType);
    seed.sample(kStartSketch, stroke.front());
    for (size_t i = 1; i + 1 < stroke.size(); ++i)
        seed.sample(kSketching, stroke[i]);
    seed.sample(end, stroke.back());
    seed.call(kFreeStroke);
    return seed.w.bytes;
}

std::vector<uint8_t> batchGatewaySeed(int penType, const RecordedStroke &stroke, GatewayOp end)
{
    GatewaySeed seed;
    seed.environment(penType);
    seed.sample(kStartSketch, stroke.front());
    forBatches(stroke, [&](size_t from, size_t to) { seed.batch(stroke, from, to); });
    seed.sample(end, stroke.back());
    seed.call(kClearup);
    return seed.w.bytes;
}

// One stroke of kind through the C stroke face, fed the way way, with the reads, predictions and
// refused calls a host makes around it.
std::vector<uint8_t> cStrokeSeed(const OxEngineKind &kind, OxEngineKind::Feed way,
                                 const RecordedStroke &stroke, bool epochClock)
{
    CFaceSeed seed;
    seed.epochClock = epochClock;
    seed.engineTable(kind.id, kind.name);
    seed.create(kind);
    seed.stroke(kStrokePolygons);   // refused: not started
    if (way == OxEngineKind::kReplay) {
        seed.replay(stroke);
        seed.stroke(kStrokeParts);
        seed.stroke(kStrokePolygons);
        seed.predict(16);                            // refused: finished
        seed.sample(kStrokeStart, stroke.front());   // refused: finished
        seed.stroke(kStrokeDestroy);
        return seed.w.bytes;
    }
    seed.sample(kStrokeStart, stroke.front());
    seed.stroke(kStrokeParts);
    const bool batchWay = way == OxEngineKind::kBatch;
    const size_t last = stroke.size() - 1;
    size_t calls = 0;
    for (size_t from = 1; from < last; ++calls) {
        const size_t to = way == OxEngineKind::kSamples ? from + 1 : std::min(from + 3, last);
        if (way == OxEngineKind::kSamples)
            seed.sample(kStrokeAdd, stroke[from]);
        else
            seed.batch(batchWay       ? kStrokeAddBatch
                       : way == OxEngineKind::kRaw ? kStrokeAddRaw
                                                   : kStrokeAddFitted,
                       stroke, from, to);
        from = to;
        if (calls % 2 == 0)
            seed.predict(calls % 4 ? 16 : 40);   // refused on a batch-fed stroke
        if (calls % 3 == 1)
            seed.stroke(kStrokeParts);
        if (calls == 2 && !batchWay)
            seed.predictSamples(stroke[from - 2], stroke[from - 1], 2);
    }
    seed.otherRead(0);
    seed.stroke(kStrokeParts);
    // Refused: the other way of feeding, or a call the engine lacks.
    seed.batch(batchWay ? kStrokeAddRaw : kStrokeAddBatch, stroke, last - 1, last);
    seed.sample(batchWay ? kStrokeEndBatch : kStrokeEnd, stroke.back());
    seed.stroke(kStrokePolygons);
    seed.stroke(kStrokeParts);
    seed.predictSamples(stroke[last - 1], stroke[last], 1);   // refused: finished
    seed.stroke(kStrokeDestroy);
    return seed.w.bytes;
}

// One stroke through the C pen face: pen type 1 or 2, drawn sample by sample or in batches.
std::vector<uint8_t> cPenSeed(int penType, bool batches, const RecordedStroke &stroke,
                              bool accumulated)
{
    CFaceSeed seed;
    seed.penCreate(true);
    seed.penEnvironment(penType);
    seed.penSketch(kPenStart, stroke, 0, 1);
    const size_t last = stroke.size() - 1;
    if (batches) {
        forBatches(stroke, [&](size_t from, size_t to) {
            seed.penSketch(kPenMoveBatch, stroke, from, to);
        });
        seed.penSketch(accumulated ? kPenEndBatchAccumulated : kPenEndBatch, stroke, last,
                       last + 1);
    } else {
        for (size_t i = 1; i < last; ++i)
            seed.penSketch(kPenMove, stroke, i, i + 1);
        seed.penSketch(accumulated ? kPenEndTimed : kPenEnd, stroke, last, last + 1);
    }
    seed.pen(kPenClearup);
    seed.pen(kPenFreeStroke);
    seed.penEnvironment(3 - penType);
    seed.penCreate(false);
    return seed.w.bytes;
}

const char *feedName(OxEngineKind::Feed way)
{
    switch (way) {
    case OxEngineKind::kSamples: return "samples";
    case OxEngineKind::kReplay: return "replay";
    case OxEngineKind::kBatch: return "batch";
    case OxEngineKind::kRaw: return "raw";
    default: return "fitted";
    }
}

// The engines that can be fed way, in the table's order; seed s takes the one at s modulo their
// number.
const OxEngineKind &feeding(OxEngineKind::Feed way, size_t s)
{
    std::vector<const OxEngineKind *> kinds;
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        if (kind.canFeed(way))
            kinds.push_back(&kind);
    }
    return *kinds[s % kinds.size()];
}

// A page: recorded strokes added with the engines in turn, then queries and edits around the
// first stroke's samples, with an eraser of radius 5 or, wide, of 15.
std::vector<uint8_t> pageSeed(const std::vector<RecordedStroke> &strokes, size_t first, bool wide)
{
    Writer w;
    auto point = [&](double x, double y) {
        w.number(kX, float(x));
        w.number(kY, float(y));
    };
    for (size_t k = 0; k < 3; ++k) {
        const RecordedStroke &stroke = strokes[(first + k) % strokes.size()];
        w.byte(kPageAdd);
        w.byte(uint8_t(1 + (first + k) % 6));
        w.number(kWidth, kPenWidth);
        w.byte(uint8_t(stroke.size() - 1));
        for (size_t i = 0; i < stroke.size(); ++i) {
            point(stroke[i].x, stroke[i].y);
            w.byte(uint8_t(i == 0 ? 0 : std::min(255ll, stroke[i].timeMs - stroke[i - 1].timeMs)));
            w.number(kPressure, stroke[i].pressure);
        }
    }
    const RecordedStroke &stroke = strokes[first % strokes.size()];
    const RecordedSample &a = stroke[stroke.size() / 3], &b = stroke[2 * stroke.size() / 3];
    w.byte(kPageHit);
    point(a.x, a.y);
    w.number(kOther, 3);
    w.byte(kPageBeginGroup);
    w.byte(kPageErase);
    w.byte(2);
    point(a.x - 4, a.y - 4);
    point(a.x + 4, a.y + 4);
    w.number(kOther, wide ? 15 : 5);
    w.byte(kPageErase);
    w.byte(1);
    point(b.x, b.y);
    w.number(kOther, 6);
    w.byte(kPageEndGroup);
    w.byte(kPageRecordRoundTrip);
    w.byte(0);
    w.byte(kPageLasso);
    w.byte(4);
    point(a.x - 50, a.y - 50);
    point(a.x + 50, a.y - 50);
    point(a.x + 50, a.y + 50);
    point(a.x - 50, a.y + 50);
    w.byte(kPageMove);
    w.byte(1);
    w.byte(0);
    point(12.5, -3);
    w.byte(kPageUndo);
    w.byte(kPageUndo);
    w.byte(kPageRedo);
    w.byte(kPageEraseStrokes);
    w.byte(1);
    point(b.x, b.y);
    w.number(kOther, 2);
    w.byte(kPageUndo);
    return w.bytes;
}


// The C page target's calls (cpage_calls_fuzzer.cpp): an operation byte, a page byte (a stroke
// slot's for a drawing), the call's arguments; bytes that choose NULL outputs are 0 (none).
struct CPageSeed
{
    Writer w;

    void call(CPageOp op, int page = 0)
    {
        w.byte(op);
        w.byte(uint8_t(page));
    }
    void point(double x, double y)
    {
        w.number(kX, float(x));
        w.number(kY, float(y));
    }
    // An ended stroke of engine in slot 0, sample by sample or replayed.
    void draw(int engine, const RecordedStroke &stroke, bool replay)
    {
        call(kCPageDraw);
        w.byte(uint8_t(engine));
        w.number(kWidth, kPenWidth);
        w.byte(replay ? 2 : 0);
        w.byte(uint8_t(stroke.size() - 1));
        for (size_t i = 0; i < stroke.size(); ++i) {
            point(stroke[i].x, stroke[i].y);
            w.byte(uint8_t(i == 0 ? 0 : std::min(255ll, stroke[i].timeMs - stroke[i - 1].timeMs)));
            w.number(kPressure, stroke[i].pressure);
        }
    }
    void add(int page, uint32_t rgba)
    {
        call(kCPageAdd, page);
        w.byte(0);   // slot 0, its stroke
        w.byte(0);
        w.byte(1);   // the colour from the input
        w.int32(int32_t(rgba));
        w.byte(0);
        w.byte(0);
    }
    // A path of the points given, the count theirs, then a radius (the number of the
    // specialValues() index special, when it is given).
    void path(const std::vector<std::pair<double, double>> &points)
    {
        w.byte(uint8_t(points.size()));
        for (const auto &p : points)
            point(p.first, p.second);
        w.byte(0);
    }
    void radius(double r, int special = -1)
    {
        if (special >= 0)
            w.special(kOther, size_t(special));
        else
            w.number(kOther, float(r));
    }
    // An erase or a swept query along points, its outputs given.
    void sweep(CPageOp op, const std::vector<std::pair<double, double>> &points, double r)
    {
        call(op);
        path(points);
        radius(r);
        w.byte(0);
        if (op == kCPageEraseStrokes)
            w.byte(0);   // the rectangle too
    }
};

// Two pages through the C page face: strokes of recorded samples added to the first, read,
// queried, erased, moved, undone and redone, written to bytes and loaded onto the second, saved
// and loaded through a file, with refused calls between (a NaN radius, a lasso of two points, no
// page).
std::vector<uint8_t> cPageSeed(const std::vector<RecordedStroke> &strokes, size_t first)
{
    CPageSeed seed;
    for (size_t k = 0; k < 3; ++k) {
        seed.draw(int(1 + (first + k) % 6), strokes[(first + k) % strokes.size()], k == 2);
        seed.add(0, k == 1 ? 0xff0000ffu : 0x000000ffu);
    }
    const RecordedStroke &stroke = strokes[first % strokes.size()];
    const RecordedSample &a = stroke[stroke.size() / 3], &b = stroke[2 * stroke.size() / 3];
    seed.call(kCPageKeys);
    seed.w.byte(0);
    seed.call(kCPageHit);
    seed.point(a.x, a.y);
    seed.radius(3);
    seed.w.byte(0);
    seed.call(kCPageHit);
    seed.point(a.x, a.y);
    seed.radius(0, 10);   // NaN: refused
    seed.w.byte(0);
    seed.call(kCPagePolygons);
    seed.w.byte(1);   // the second stroke
    seed.w.byte(0);
    seed.call(kCPageBeginGroup);
    seed.sweep(kCPageErase, {{a.x - 4, a.y - 4}, {a.x + 4, a.y + 4}}, 5);
    seed.sweep(kCPageErase, {{b.x, b.y}}, 6);
    seed.call(kCPageEndGroup);
    seed.call(kCPageLasso);
    seed.path({{a.x - 50, a.y - 50}, {a.x + 50, a.y - 50}, {a.x + 50, a.y + 50},
               {a.x - 50, a.y + 50}});
    seed.w.byte(0);
    seed.call(kCPageLasso);
    seed.path({{a.x - 50, a.y - 50}, {a.x + 50, a.y - 50}});   // refused: two points
    seed.w.byte(0);
    seed.call(kCPageMove);
    seed.w.byte(1);
    seed.w.byte(0);   // the first stroke
    seed.w.byte(0);
    seed.point(12.5, -3);
    seed.w.byte(0);
    seed.call(kCPageToBytes);
    seed.w.byte(0);
    seed.call(kCPageFromBytes, 1);
    seed.w.byte(1);   // the bytes the first page wrote
    seed.w.byte(0);
    // The same with its keys moved up to a next key of 2^52 + 1 (refused), then of 2^52.
    for (int beyond : {1, 0}) {
        seed.call(kCPageFromBytes, 1);
        seed.w.byte(4);
        seed.w.byte(0);
        seed.w.byte(52);
        seed.w.byte(uint8_t(beyond));
    }
    for (CPageOp op : {kCPageUndo, kCPageUndo, kCPageRedo}) {
        seed.call(op);
        seed.w.byte(0);
    }
    seed.sweep(kCPageHitSwept, {{a.x, a.y}, {b.x, b.y}}, 2);
    seed.sweep(kCPageEraseStrokes, {{b.x, b.y}}, 2);
    seed.call(kCPageKeysIn, 1);
    seed.point(a.x - 20, a.y - 20);
    seed.w.number(kOther, 40);
    seed.w.number(kOther, 40);
    seed.w.byte(0);
    seed.call(kCPageColour, 1);
    seed.w.byte(1);
    seed.w.byte(0);
    seed.call(kCPageFile);
    seed.w.byte(0);   // save
    seed.call(kCPageFile, 1);
    seed.w.byte(1);   // load
    seed.call(kCPageFile, 1);
    seed.w.byte(2);   // a file that is not there: refused
    seed.call(kCPageFile, 1);
    seed.w.byte(5);   // bytes that are no page written to the file: refused
    seed.w.byte(4);
    for (char c : {'Q', 'M', 'K', '!'})
        seed.w.byte(uint8_t(c));
    seed.w.byte(0);
    seed.call(kCPageKeys, 0xff);   // no page: refused
    seed.w.byte(0);
    seed.call(kCPageTexts);
    seed.w.byte(0);
    seed.w.byte(QUILLMARK_PAGE_REFUSED_KEY);
    return seed.w.bytes;
}
} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DATA_DIR CORPUS_DIR\n", argv[0]);
        return 2;
    }
    const std::string data = argv[1], corpus = argv[2];
    std::vector<RecordedStroke> strokes;
    for (const char *file : {"/pf-recorded.txt", "/pf-edge-cases.txt", "/mypaint-painting30sec.txt"}) {
        const StrokeFileResult r = readStrokeFile(data + file);
        if (!r.error.empty()) {
            std::fprintf(stderr, "%s\n", r.error.c_str());
            return 1;
        }
        for (size_t i = 0; i < r.strokes.size() && i < 3; ++i)
            strokes.push_back(shortened(r.strokes[i]));
    }

    const std::string engineDir = corpus + "/engine/", gatewayDir = corpus + "/gateway/";
    for (size_t s = 0; s < strokes.size(); ++s) {
        const RecordedStroke &stroke = strokes[s];
        const std::string n = std::to_string(s);
        // Every engine draws every stroke; the others exercise one engine and one way each.
        const std::vector<OxEngineKind> &kinds = OxEngineKind::all();
        for (const OxEngineKind &kind : kinds)
            writeSeed(engineDir + "live-" + std::to_string(kind.id - 1) + "-" + n,
                      liveEngineSeed(kind, stroke, s % 3 == 1));
        if (stroke.size() < 3)
            continue;
        writeSeed(engineDir + "backward-" + n,
                  batchEngineSeed(feeding(OxEngineKind::kBatch, s), kCreatingOnlyBackward, stroke));
        writeSeed(engineDir + "raw-" + n,
                  batchEngineSeed(feeding(OxEngineKind::kRaw, s), kCreatingYuanShi, stroke));
        writeSeed(engineDir + "fitted-" + n,
                  fittedEngineSeed(feeding(OxEngineKind::kFitted, s), stroke));
        writeSeed(engineDir + "load-" + n,
                  storedEngineSeed(kinds[s % kinds.size()], kLoadFromWholePoints, stroke));
        // The copying rebuild is the filled engine's own.
        writeSeed(engineDir + "build-" + n,
                  storedEngineSeed(*OxEngineKind::byName(s % 2 ? "pressure" : "fill"),
                                   s % 3 ? kBuildPathFromXY : kBuildPathFromXYCopying, stroke));

        const int pen = 1 + int(s % 2);
        const GatewayOp ends[] = {kEndSketch, kEndSketch2, kEndSketch3, kEndSketch4};
        writeSeed(gatewayDir + "live-" + n, liveGatewaySeed(pen, stroke, ends[s % 2]));
        writeSeed(gatewayDir + "backward-" + n, batchGatewaySeed(pen, stroke, ends[2 + s % 2]));
        writeSeed(gatewayDir + "c-pen-" + n, cPenSeed(pen, s % 4 >= 2, stroke, s % 3 == 0));
    }

    // Every engine through the C stroke face, every way it can be fed, each on two strokes.
    std::vector<RecordedStroke> cStrokes;
    for (const RecordedStroke &stroke : strokes) {
        RecordedStroke cut = withinCStrokeBudget(stroke);
        if (cut.size() >= 6)
            cStrokes.push_back(std::move(cut));
    }
    size_t next = 0;
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        for (OxEngineKind::Feed way : {OxEngineKind::kSamples, OxEngineKind::kReplay,
                                       OxEngineKind::kBatch, OxEngineKind::kRaw,
                                       OxEngineKind::kFitted}) {
            if (!kind.canFeed(way))
                continue;
            for (int k = 0; k < 2; ++k, ++next) {
                const RecordedStroke &stroke = cStrokes[next % cStrokes.size()];
                writeSeed(gatewayDir + "c-stroke-" + kind.name + "-" + feedName(way) + "-"
                              + std::to_string(k),
                          cStrokeSeed(kind, way, stroke, next % 3 == 2));
            }
        }
    }
    const std::string pageDir = corpus + "/page/";
    for (size_t s = 0; s < strokes.size(); ++s) {
        if (strokes[s].size() < 3)
            continue;
        writeSeed(pageDir + "page-" + std::to_string(s), pageSeed(strokes, s, false));
        writeSeed(pageDir + "page-wide-" + std::to_string(s), pageSeed(strokes, s, true));
    }
    const std::string cPageDir = corpus + "/cpage/";
    for (size_t s = 0; s < cStrokes.size(); ++s)
        writeSeed(cPageDir + "cpage-" + std::to_string(s), cPageSeed(cStrokes, s));
    return 0;
}
