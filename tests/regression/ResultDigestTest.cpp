// Replays the recorded strokes through every engine and the gateway, in every mode, and compares
// a digest of every returned rectangle, outline element, point and exported number with the
// stored ones: a change that is meant to keep results (an optimisation) must reproduce them bit
// for bit. After an intended change of results, regenerate the file with
//   QUILLMARK_WRITE_DIGESTS=1 build/release/tests/regression/regression_tests

#include "OxQuillmarkGateway.h"
#include "OxStrokesFixWidthFill.h"
#include "OxStrokesVaryWidthBackwardTime.h"
#include "OxStrokesVaryWidthTime.h"
#include "ResultDigest.h"
#include "TestData.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iomanip>
#include <map>
#include <memory>
#include <sstream>

namespace {
const char *const kFiles[] = {"pf-recorded.txt", "pf-edge-cases.txt",
                              "mypaint-painting30sec.txt", "synth-1k.txt"};
constexpr float kWidth = 7;
// Outlines are hashed after every call of short strokes and after every 16th of long ones.
constexpr size_t kEveryCallUpTo = 200;

QPointF at(const RecordedSample &s)
{
    return QPointF(s.x, s.y);
}

QMap<QString, QVariant> paramsOf(const RecordedSample &s)
{
    return {{QStringLiteral("time"), int(s.timeMs)}, {QStringLiteral("pressure"), s.pressure}};
}

// What an engine shows besides the caller's path and points.
void addShapes(ResultDigest &d, OxStrokesFixWidth &engine)
{
    if (auto *fill = dynamic_cast<OxStrokesFixWidthFill *>(&engine))
        d.add(fill->getPathWhole());
    if (auto *vary = dynamic_cast<OxStrokesVaryWidthPressure *>(&engine))
        d.add(vary->getPathWhole());
    if (auto *extend = dynamic_cast<OxStrokesVaryWidthBackwardExtend *>(&engine)) {
        for (const QPainterPath &p : extend->getBackwardPaths())
            d.add(p);
    }
}

using EngineFactory = std::function<std::unique_ptr<OxStrokesFixWidth>()>;

const std::map<std::string, EngineFactory> &engines()
{
    static const std::map<std::string, EngineFactory> table = {
        {"fix", [] { return std::make_unique<OxStrokesFixWidth>(); }},
        {"fill", [] { return std::make_unique<OxStrokesFixWidthFill>(); }},
        {"pressure", [] { return std::make_unique<OxStrokesVaryWidthPressure>(); }},
        {"speed", [] { return std::make_unique<OxStrokesVaryWidthTime>(); }},
        {"extend", [] { return std::make_unique<OxStrokesVaryWidthBackwardExtend>(); }},
        {"brush", [] { return std::make_unique<OxStrokesVaryWidthBackwardTime>(); }},
    };
    return table;
}

// Every sample through startCreate / creating / endCreate.
void live(ResultDigest &d, const EngineFactory &make, const RecordedStroke &stroke)
{
    auto engine = make();
    std::vector<OxInkPoint> points;
    QPainterPath path;
    const size_t n = stroke.size();
    for (size_t i = 0; i < std::max<size_t>(n, 2); ++i) {
        const RecordedSample &s = stroke[std::min(i, n - 1)];
        QRectF r;
        if (i == 0)
            r = engine->startCreate(points, path, at(s), paramsOf(s), kWidth);
        else if (i + 1 < n)
            r = engine->creating(points, path, at(s), paramsOf(s), kWidth);
        else
            r = engine->endCreate(points, path, at(s), paramsOf(s), kWidth);
        d.add(r);
        if (n <= kEveryCallUpTo || i % 16 == 0 || i + 1 >= n)
            addShapes(d, *engine);
    }
    d.add(points);
    d.add(path);
}

// The whole stroke at once. A replay has no time stamps, so the brush's tail never closes and it
// rebuilds the whole stroke at every point: its replays are cut to kReplayBrushSamples.
constexpr size_t kReplayBrushSamples = 120;

void replay(ResultDigest &d, const EngineFactory &make, const RecordedStroke &stroke)
{
    auto engine = make();
    const size_t n = dynamic_cast<OxStrokesVaryWidthBackwardTime *>(engine.get())
                         ? std::min(stroke.size(), kReplayBrushSamples)
                         : stroke.size();
    std::vector<OxInkPoint> points;
    for (size_t i = 0; i < n; ++i)
        points.emplace_back(float(stroke[i].x), float(stroke[i].y), double(stroke[i].timeMs),
                            stroke[i].pressure, 0, 0);
    QPainterPath path;
    d.add(engine->loadFromWholePoints(points, path, kWidth));
    addShapes(d, *engine);
    d.add(points);
    d.add(path);
}

// Batches of four samples through a batch call, then the matching end call.
template <class Engine, class BatchCall, class EndCall>
void batches(ResultDigest &d, const RecordedStroke &stroke, BatchCall batch, EndCall end)
{
    Engine engine;
    std::vector<OxInkPoint> points;
    QPainterPath path;
    d.add(engine.startCreate(points, path, at(stroke[0]), paramsOf(stroke[0]), kWidth));
    for (size_t i = 1; i + 1 < stroke.size(); i += 4) {
        QList<QPointF> samples;
        for (size_t k = i; k < std::min(i + 4, stroke.size() - 1); ++k)
            samples.append(at(stroke[k]));
        const RecordedSample &newest = stroke[std::min(i + 3, stroke.size() - 2)];
        d.add(batch(engine, points, path, samples, newest));
        addShapes(d, engine);
    }
    d.add(end(engine, points, path, stroke.back()));
    addShapes(d, engine);
    d.add(points);
}

// The gateway's outputs, all of them, after one sketch call.
struct GatewayRun
{
    OxQuillmarkGateway gateway;
    ResultDigest &d;

    using Call = std::function<float *(float &, float &, float &, float &, int &, int &, int *&)>;
    void run(const Call &call)
    {
        float left = 0, top = 0, width = 0, height = 0;
        int pointCount = 0, pathCount = 0;
        int *sizes = nullptr;
        const float *coords = call(left, top, width, height, pointCount, pathCount, sizes);
        for (float v : {left, top, width, height})
            d.add(v);
        d.add(pointCount);
        d.add(pathCount);
        for (int i = 0; i < pathCount; ++i)
            d.add(sizes[i]);
        if (coords)
            d.addBytes(coords, sizeof(float) * 2 * size_t(pointCount));
    }
};

void gatewayStroke(ResultDigest &d, int penType, const RecordedStroke &stroke, bool backwardOnly,
                   int endCall)
{
    GatewayRun g{OxQuillmarkGateway(), d};
    g.gateway.setEnvironmentPara(1, 1, kWidth, penType);
    // Recorded times start at 0, which the gateway reads as "now": shift them by 1 ms.
    auto stamp = [](const RecordedSample &s) { return s.timeMs + 1; };
    const RecordedSample &first = stroke[0];
    g.run([&](float &l, float &t, float &w, float &h, int &pc, int &pn, int *&ps) {
        return g.gateway.startSketch(float(first.x), float(first.y), stamp(first), l, t, w, h,
                                     pc, pn, ps);
    });
    const size_t step = backwardOnly ? 4 : 1;
    for (size_t i = 1; i + 1 < stroke.size(); i += step) {
        std::vector<float> xy;
        for (size_t k = i; k < std::min(i + step, stroke.size() - 1); ++k) {
            xy.push_back(float(stroke[k].x));
            xy.push_back(float(stroke[k].y));
        }
        long long times[] = {stamp(stroke[std::min(i + step, stroke.size() - 1) - 1])};
        g.run([&](float &l, float &t, float &w, float &h, int &pc, int &pn, int *&ps) {
            // The brush's sketching stamps the time of day; its batch call takes the host's.
            if (!backwardOnly && penType == 1)
                return g.gateway.sketching(xy[0], xy[1], l, t, w, h, pc, pn, ps);
            return g.gateway.sketching2(int(xy.size() / 2), xy.data(), times, l, t, w, h, pc,
                                        pn, ps);
        });
    }
    const RecordedSample &last = stroke.back();
    g.run([&](float &l, float &t, float &w, float &h, int &pc, int &pn, int *&ps) {
        auto call = endCall == 2 ? &OxQuillmarkGateway::endSketch2
                    : endCall == 3 ? &OxQuillmarkGateway::endSketch3
                                   : &OxQuillmarkGateway::endSketch4;
        return (g.gateway.*call)(float(last.x), float(last.y), stamp(last), l, t, w, h, pc, pn,
                                 ps);
    });
}

// Every case: its name and how it feeds one stroke into the digest.
std::map<std::string, std::function<void(ResultDigest &, const RecordedStroke &)>> cases()
{
    std::map<std::string, std::function<void(ResultDigest &, const RecordedStroke &)>> all;
    for (const auto &[name, make] : engines()) {
        all["live-" + name] = [make = make](ResultDigest &d, const RecordedStroke &s) {
            live(d, make, s);
        };
        all["replay-" + name] = [make = make](ResultDigest &d, const RecordedStroke &s) {
            replay(d, make, s);
        };
    }
    all["batch-fill"] = [](ResultDigest &d, const RecordedStroke &s) {
        batches<OxStrokesFixWidthFill>(
            d, s,
            [](auto &e, auto &points, auto &, auto &samples, const RecordedSample &newest) {
                return e.creatingOnlyBackward(points, samples, paramsOf(newest), kWidth);
            },
            [](auto &e, auto &points, auto &path, const RecordedSample &last) {
                return e.endCreateOnlyBackward(points, path, at(last), paramsOf(last), kWidth);
            });
    };
    all["batch-brush"] = [](ResultDigest &d, const RecordedStroke &s) {
        batches<OxStrokesVaryWidthBackwardTime>(
            d, s,
            [](auto &e, auto &points, auto &, auto &samples, const RecordedSample &newest) {
                return e.creatingOnlyBackward(points, samples, paramsOf(newest), kWidth);
            },
            [](auto &e, auto &points, auto &path, const RecordedSample &last) {
                return e.endCreateOnlyBackward(points, path, at(last), paramsOf(last), kWidth);
            });
    };
    all["raw-brush"] = [](ResultDigest &d, const RecordedStroke &s) {
        batches<OxStrokesVaryWidthBackwardTime>(
            d, s,
            [](auto &e, auto &points, auto &, auto &samples, const RecordedSample &newest) {
                return e.creatingYuanShi(points, samples, paramsOf(newest), kWidth);
            },
            [](auto &e, auto &points, auto &path, const RecordedSample &last) {
                return e.endCreate(points, path, at(last), paramsOf(last), kWidth);
            });
    };
    all["fitted-brush"] = [](ResultDigest &d, const RecordedStroke &s) {
        batches<OxStrokesVaryWidthBackwardTime>(
            d, s,
            [](auto &e, auto &points, auto &path, auto &samples, const RecordedSample &newest) {
                // The newest sample is the new point, the ones before it the extra samples.
                QList<QPointF> extra = samples;
                const QPointF point = extra.takeLast();
                return e.creating(points, path, extra, point, paramsOf(newest), kWidth);
            },
            [](auto &e, auto &points, auto &path, const RecordedSample &last) {
                return e.endCreate(points, path, at(last), paramsOf(last), kWidth);
            });
    };
    for (int pen : {1, 2}) {
        const std::string p = std::to_string(pen);
        all["gateway" + p + "-end2"] = [pen](ResultDigest &d, const RecordedStroke &s) {
            gatewayStroke(d, pen, s, false, 2);
        };
        all["gateway" + p + "-backward-end3"] = [pen](ResultDigest &d, const RecordedStroke &s) {
            gatewayStroke(d, pen, s, true, 3);
        };
        all["gateway" + p + "-backward-end4"] = [pen](ResultDigest &d, const RecordedStroke &s) {
            gatewayStroke(d, pen, s, true, 4);
        };
    }
    return all;
}

std::map<std::string, std::string> storedDigests()
{
    std::map<std::string, std::string> stored;
    std::ifstream file(QUILLMARK_DIGEST_FILE);
    std::string name, value;
    while (file >> name >> value)
        stored[name] = value;
    return stored;
}
} // namespace

TEST(ResultDigest, EveryEngineAndTheGatewayReproduceTheirResults)
{
    std::map<std::string, std::string> computed;
    for (const auto &[name, feed] : cases()) {
        for (const char *file : kFiles) {
            ResultDigest d;
            for (const RecordedStroke &stroke : loadStrokes(file))
                feed(d, stroke);
            std::ostringstream hex;
            hex << std::hex << std::setw(16) << std::setfill('0') << d.value();
            computed[name + "/" + file] = hex.str();
        }
    }

    if (std::getenv("QUILLMARK_WRITE_DIGESTS")) {
        std::ofstream out(QUILLMARK_DIGEST_FILE);
        for (const auto &[name, value] : computed)
            out << name << ' ' << value << '\n';
        GTEST_SKIP() << "wrote " << computed.size() << " digests to " << QUILLMARK_DIGEST_FILE;
    }
    const std::map<std::string, std::string> stored = storedDigests();
    ASSERT_EQ(stored.size(), computed.size()) << "regenerate " << QUILLMARK_DIGEST_FILE;
    for (const auto &[name, value] : computed)
        EXPECT_EQ(stored.at(name), value) << name;
}
