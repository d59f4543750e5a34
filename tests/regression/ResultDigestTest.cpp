// Replays the recorded strokes through every engine and the gateway, in every mode, and compares
// digests of every returned rectangle, outline element, point and exported number with the
// stored ones: a change that is meant to keep results (an optimisation) must reproduce them bit
// for bit. Each stroke keeps one digest per kind of output and call, so a failure names the
// case, the file, the first stroke that differs and what differs in it. After an intended change
// of results, regenerate the file with
//   QUILLMARK_WRITE_DIGESTS=1 build/release/tests/regression/regression_tests

#include "OxQuillmarkGateway.h"
#include "StrokeRun.h"
#include "TestData.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iomanip>
#include <map>
#include <memory>
#include <sstream>
#include <vector>

namespace {
const char *const kFiles[] = {"pf-recorded.txt", "pf-edge-cases.txt",
                              "mypaint-painting30sec.txt", "synth-1k.txt"};
constexpr float kWidth = 7;
// Outlines are hashed after every call of short strokes and after every 16th of long ones.
constexpr size_t kEveryCallUpTo = 200;

// The digests of one stroke, one per kind of output and call ("creating rect", "outline", ...),
// in the order they were first fed.
class StrokeDigests
{
public:
    ResultDigest &operator[](const std::string &field)
    {
        for (auto &[name, digest] : fields_) {
            if (name == field)
                return digest;
        }
        fields_.emplace_back(field, ResultDigest());
        return fields_.back().second;
    }
    // "field=hex field=hex ...", the way the digest file stores them: 32 bits a field, which
    // keeps the file small and still misses a change only once in four billion.
    std::string text() const
    {
        std::ostringstream out;
        for (const auto &[name, digest] : fields_) {
            const uint32_t folded = uint32_t(digest.value() ^ (digest.value() >> 32));
            out << (&name == &fields_.front().first ? "" : " ") << name << '=' << std::hex
                << std::setw(8) << std::setfill('0') << folded;
        }
        return out.str();
    }

private:
    std::vector<std::pair<std::string, ResultDigest>> fields_;
};

// What an engine shows besides the caller's path and points: its outline, then its tails.
void addShapes(StrokeDigests &d, const QVector<QPainterPath> &outlines)
{
    for (int i = 0; i < outlines.size(); ++i)
        d[i == 0 ? "outline" : "tail-paths"].add(outlines[i]);
}

// Every sample through startCreate / creating / endCreate (live), or the inner samples in
// batches of four through one of the batched ways and the end call that goes with it.
void fed(StrokeDigests &d, const OxEngineKind &kind, OxEngineKind::Feed feed,
         const RecordedStroke &stroke)
{
    StrokeRun run(kind, stroke, feed, kWidth);
    const bool live = feed == OxEngineKind::kSamples;
    const size_t last = run.callCount() - 1;
    for (size_t k = 0; k <= last; ++k) {
        const char *call = k == 0      ? "startCreate-rect"
                           : k < last ? (live ? "creating-rects" : "batch-rects")
                                      : (live ? "endCreate-rect" : "end-rect");
        d[call].add(run.call(k));
        if (live ? stroke.size() <= kEveryCallUpTo || k % 16 == 0 || k == last : k > 0)
            addShapes(d, run.outlines());
    }
    d["points"].add(run.points());
    if (live)
        d["path"].add(run.path());
}

// The whole stroke at once. A replay has no time stamps, so the brush's tail never closes and it
// rebuilds the whole stroke at every point: its replays are cut to kReplayBrushSamples.
constexpr size_t kReplayBrushSamples = 120;

void replay(StrokeDigests &d, const OxEngineKind &kind, const RecordedStroke &stroke)
{
    auto engine = kind.make();
    const size_t n = std::string(kind.name) == "brush"
                         ? std::min(stroke.size(), kReplayBrushSamples)
                         : stroke.size();
    std::vector<OxInkPoint> points;
    for (size_t i = 0; i < n; ++i)
        points.emplace_back(float(stroke[i].x), float(stroke[i].y), double(stroke[i].timeMs),
                            stroke[i].pressure, 0, 0);
    QPainterPath path;
    d["loadFromWholePoints-rect"].add(engine->loadFromWholePoints(points, path, kWidth));
    addShapes(d, kind.outlines(*engine));
    d["points"].add(points);
    d["path"].add(path);
}

// A gateway whose sketch calls' outputs are digested, all of them: the rectangle as
// "<call>-rect", the arrays as "<call>-arrays".
struct GatewayRun
{
    StrokeDigests &d;
    OxQuillmarkGateway gateway;

    template <class Call, class... Args>
    void run(const std::string &callName, Call sketchCall, Args... args)
    {
        float rect[4] = {0, 0, 0, 0};
        int pointCount = 0, pathCount = 0;
        int *sizes = nullptr;
        const float *coords = (gateway.*sketchCall)(args..., rect[0], rect[1], rect[2], rect[3],
                                                    pointCount, pathCount, sizes);
        for (float v : rect)
            d[callName + "-rect"].add(v);
        ResultDigest &arrays = d[callName + "-arrays"];
        arrays.add(pointCount);
        arrays.add(pathCount);
        for (int i = 0; i < pathCount; ++i)
            arrays.add(sizes[i]);
        if (coords)
            arrays.addBytes(coords, sizeof(float) * 2 * size_t(pointCount));
    }
};

void gatewayStroke(StrokeDigests &d, int penType, const RecordedStroke &stroke, bool backwardOnly,
                   int endCall)
{
    using G = OxQuillmarkGateway;
    GatewayRun g{d, {}};
    g.gateway.setEnvironmentPara(1, 1, kWidth, penType);
    // Recorded times start at 0, which the gateway reads as "now": shift them by 1 ms.
    auto stamp = [](const RecordedSample &s) { return s.timeMs + 1; };
    const RecordedSample &first = stroke[0], &last = stroke.back();
    g.run("startSketch", &G::startSketch, float(first.x), float(first.y), stamp(first));
    const size_t step = backwardOnly ? 4 : 1;
    for (size_t i = 1; i + 1 < stroke.size(); i += step) {
        std::vector<float> xy;
        for (size_t k = i; k < std::min(i + step, stroke.size() - 1); ++k) {
            xy.push_back(float(stroke[k].x));
            xy.push_back(float(stroke[k].y));
        }
        long long times[] = {stamp(stroke[std::min(i + step, stroke.size() - 1) - 1])};
        // The brush's sketching stamps the time of day; its batch call takes the host's.
        if (!backwardOnly && penType == 1)
            g.run("sketching", &G::sketching, xy[0], xy[1]);
        else
            g.run("sketching", &G::sketching2, int(xy.size() / 2), xy.data(), times);
    }
    const auto end = endCall == 2 ? &G::endSketch2 : endCall == 3 ? &G::endSketch3 : &G::endSketch4;
    g.run("endSketch", end, float(last.x), float(last.y), stamp(last));
}

// Every case: its name and how it feeds one stroke into the digest.
std::map<std::string, std::function<void(StrokeDigests &, const RecordedStroke &)>> cases()
{
    std::map<std::string, std::function<void(StrokeDigests &, const RecordedStroke &)>> all;
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        const std::string name = kind.name;
        all["live-" + name] = [&kind](StrokeDigests &d, const RecordedStroke &s) {
            fed(d, kind, OxEngineKind::kSamples, s);
        };
        all["replay-" + name] = [&kind](StrokeDigests &d, const RecordedStroke &s) {
            replay(d, kind, s);
        };
        for (auto [way, caseName] : {std::pair(OxEngineKind::kBatch, "batch-"),
                                     std::pair(OxEngineKind::kRaw, "raw-"),
                                     std::pair(OxEngineKind::kFitted, "fitted-")}) {
            if (kind.canFeed(way))
                all[caseName + name] = [&kind, way = way](StrokeDigests &d,
                                                          const RecordedStroke &s) {
                    fed(d, kind, way, s);
                };
        }
    }
    for (int pen : {1, 2}) {
        const std::string p = std::to_string(pen);
        all["gateway" + p + "-end2"] = [pen](StrokeDigests &d, const RecordedStroke &s) {
            gatewayStroke(d, pen, s, false, 2);
        };
        all["gateway" + p + "-backward-end3"] = [pen](StrokeDigests &d, const RecordedStroke &s) {
            gatewayStroke(d, pen, s, true, 3);
        };
        all["gateway" + p + "-backward-end4"] = [pen](StrokeDigests &d, const RecordedStroke &s) {
            gatewayStroke(d, pen, s, true, 4);
        };
    }
    return all;
}

// "<case>/<file>#<stroke>" -> that stroke's digests as StrokeDigests::text writes them.
using DigestTable = std::map<std::string, std::string>;

DigestTable storedDigests()
{
    DigestTable stored;
    std::ifstream file(QUILLMARK_DIGEST_FILE);
    std::string line;
    while (std::getline(file, line)) {
        const size_t space = line.find(' ');
        if (space != std::string::npos)
            stored[line.substr(0, space)] = line.substr(space + 1);
    }
    return stored;
}

std::map<std::string, std::string> fieldsOf(const std::string &text)
{
    std::map<std::string, std::string> fields;
    std::istringstream in(text);
    std::string field;
    while (in >> field) {
        const size_t eq = field.find('=');
        fields[field.substr(0, eq)] = eq == std::string::npos ? "" : field.substr(eq + 1);
    }
    return fields;
}

// "stroke 3 of 8 (120 samples): creating-rects, outline differ; startCreate-rect, points agree"
std::string describeDifference(const std::string &stored, const std::string &computed)
{
    const std::map<std::string, std::string> was = fieldsOf(stored), is = fieldsOf(computed);
    std::string differ, agree;
    for (const auto &[field, value] : is) {
        const auto old = was.find(field);
        std::string &list = old != was.end() && old->second == value ? agree : differ;
        list += (list.empty() ? "" : ", ") + field;
    }
    for (const auto &[field, value] : was) {
        if (!is.count(field))
            differ += (differ.empty() ? "" : ", ") + field + " (no longer produced)";
    }
    return differ + " differ" + (agree.empty() ? "" : "; " + agree + " agree");
}
} // namespace

TEST(ResultDigest, EveryEngineAndTheGatewayReproduceTheirResults)
{
    DigestTable computed;
    // For the messages: every case and file with its strokes in order.
    std::vector<std::pair<std::string, std::vector<RecordedStroke>>> runs;
    for (const auto &[name, feed] : cases()) {
        for (const char *file : kFiles) {
            const std::vector<RecordedStroke> strokes = loadStrokes(file);
            for (size_t i = 0; i < strokes.size(); ++i) {
                StrokeDigests d;
                feed(d, strokes[i]);
                computed[name + "/" + file + "#" + std::to_string(i)] = d.text();
            }
            runs.emplace_back(name + "/" + file, strokes);
        }
    }

    if (std::getenv("QUILLMARK_WRITE_DIGESTS")) {
        std::ofstream out(QUILLMARK_DIGEST_FILE);
        for (const auto &[key, value] : computed)
            out << key << ' ' << value << '\n';
        GTEST_SKIP() << "wrote " << computed.size() << " digests to " << QUILLMARK_DIGEST_FILE;
    }
    const DigestTable stored = storedDigests();
    ASSERT_EQ(stored.size(), computed.size()) << "regenerate " << QUILLMARK_DIGEST_FILE;
    // One failure per case and file, at its first stroke that differs.
    for (const auto &[run, strokes] : runs) {
        for (size_t i = 0; i < strokes.size(); ++i) {
            const std::string key = run + "#" + std::to_string(i);
            const auto old = stored.find(key);
            const std::string was = old == stored.end() ? "" : old->second;
            if (was == computed.at(key))
                continue;
            ADD_FAILURE() << run << ": stroke " << i << " of " << strokes.size() << " ("
                          << strokes[i].size() << " samples) is the first that changed: "
                          << describeDifference(was, computed.at(key));
            break;
        }
    }
}
