// Writes the seed corpus of the fuzz targets from recorded strokes: the engine calls and the
// gateway calls a host makes when it draws them, in the targets' byte encoding (FuzzBytes.h).
// Strokes are cut to their first kMaxSamples samples to keep the seeds small.
//
//   quillmark-fuzz-seeds DATA_DIR CORPUS_DIR
//   (writes CORPUS_DIR/engine/*, CORPUS_DIR/gateway/* and CORPUS_DIR/page/*)

#include "FuzzBytes.h"
#include "OxEngineKind.h"
#include "StrokeFile.h"

#include <cstdio>
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
    }
    const std::string pageDir = corpus + "/page/";
    for (size_t s = 0; s < strokes.size(); ++s) {
        if (strokes[s].size() < 3)
            continue;
        writeSeed(pageDir + "page-" + std::to_string(s), pageSeed(strokes, s, false));
        writeSeed(pageDir + "page-wide-" + std::to_string(s), pageSeed(strokes, s, true));
    }
    return 0;
}
