// A stroke of the C face, put on a page of the C face, is stored as exactly the engine calls it
// made: for every engine and every way of feeding it, the record read back from the page's bytes
// equals, to the bit, the record of those calls written out here (time as the engine's int
// milliseconds since the first stamp, batch samples at their batch's time with pressure 0).
// Predictions and samples dropped before the engine leave no trace.

#include "OxPageFile.h"
#include "RecordCompare.h"
#include "TestData.h"
#include "quillmark_page.h"

#include <cmath>
#include <limits>

namespace {
using Call = OxRecordedStep::Call;

// An epoch clock: the record counts from the first stamp all the same.
constexpr double kClock = 1.7e12;
constexpr size_t kBatch = 5;

enum class Way { kOrdinary, kBatch, kRaw, kFitted, kReplay };

// Feeds a C stroke and writes down the record its calls stand for.
class Feeder
{
public:
    Feeder(int engine, const RecordedStroke &samples) : samples(samples)
    {
        stroke = quillmark_stroke_create(engine, 6);
        expected.engine = engine;
        expected.width = 6;
        expected.rgba = 0x336699ccu;
    }
    ~Feeder() { quillmark_stroke_destroy(stroke); }

    quillmark_stroke *stroke = nullptr;
    OxStrokeRecord expected;

    float x(size_t i) const { return float(samples[i].x); }
    float y(size_t i) const { return float(samples[i].y); }
    double stamp(size_t i) const { return kClock + double(samples[i].timeMs); }
    // Pressures that differ from sample to sample, so that a mix-up shows.
    float pressure(size_t i) const { return 0.25f + 0.125f * float(i % 5); }
    qint32 time(size_t i) const { return qint32(samples[i].timeMs - samples[0].timeMs); }

    void note(Call call, std::vector<OxRecordedSample> taken)
    {
        expected.steps.push_back(OxRecordedStep{call, quint32(taken.size())});
        expected.samples.insert(expected.samples.end(), taken.begin(), taken.end());
    }

    void one(Call call, size_t i)
    {
        using Phase = int (*)(quillmark_stroke *, float, float, double, float, quillmark_rect *);
        const Phase phase = call == OxRecordedStep::kStart   ? quillmark_stroke_start
                            : call == OxRecordedStep::kAdd   ? quillmark_stroke_add
                            : call == OxRecordedStep::kEnd   ? quillmark_stroke_end
                                                             : quillmark_stroke_end_batch;
        ASSERT_EQ(phase(stroke, x(i), y(i), stamp(i), pressure(i), nullptr), 1);
        note(call, {{x(i), y(i), time(i), pressure(i)}});
    }

    // Samples first to end - 1 in one batch call, stamped with the last one's time.
    void batch(Call call, size_t first, size_t end)
    {
        using Batch = int (*)(quillmark_stroke *, int, const float *, double, quillmark_rect *);
        const Batch feed = call == OxRecordedStep::kBatch ? quillmark_stroke_add_batch
                           : call == OxRecordedStep::kRaw ? quillmark_stroke_add_raw
                                                          : quillmark_stroke_add_fitted;
        std::vector<float> xy;
        std::vector<OxRecordedSample> taken;
        for (size_t i = first; i < end; ++i) {
            xy.insert(xy.end(), {x(i), y(i)});
            taken.push_back({x(i), y(i), time(end - 1), 0});
        }
        ASSERT_EQ(feed(stroke, int(end - first), xy.data(), stamp(end - 1), nullptr), 1);
        note(call, taken);
    }

    void feed(Way way)
    {
        const size_t n = samples.size();
        if (way == Way::kReplay)
            return replay();
        one(OxRecordedStep::kStart, 0);
        for (size_t i = 1; i + 1 < n;) {
            const size_t end = std::min(n - 1, i + (way == Way::kOrdinary ? 1 : kBatch));
            if (way == Way::kOrdinary) {
                one(OxRecordedStep::kAdd, i);
                // Neither a prediction nor a sample dropped before the engine is recorded.
                quillmark_stroke_predict(stroke, 16, nullptr);
                quillmark_stroke_add(stroke, std::nanf(""), y(i), stamp(i), 1, nullptr);
            } else {
                batch(way == Way::kBatch ? OxRecordedStep::kBatch
                      : way == Way::kRaw ? OxRecordedStep::kRaw
                                         : OxRecordedStep::kFitted,
                      i, end);
            }
            i = end;
        }
        one(way == Way::kBatch ? OxRecordedStep::kEndBatch : OxRecordedStep::kEnd, n - 1);
    }

    // The whole stroke at once, with stamps off the whole millisecond (rounded in the record).
    void replay()
    {
        std::vector<float> xy, pressures;
        std::vector<double> stamps;
        std::vector<OxRecordedSample> taken;
        for (size_t i = 0; i < samples.size(); ++i) {
            xy.insert(xy.end(), {x(i), y(i)});
            stamps.push_back(stamp(i) + 0.375 * double(i % 2));
            pressures.push_back(pressure(i));
            taken.push_back({x(i), y(i), time(i), pressure(i)});
        }
        ASSERT_EQ(quillmark_stroke_replay(stroke, int(samples.size()), xy.data(), stamps.data(),
                                          pressures.data(), nullptr),
                  1);
        note(OxRecordedStep::kReplay, taken);
    }

private:
    const RecordedStroke &samples;
};

// The records of a C page, read back from its bytes.
std::vector<OxStrokeRecord> storedRecords(quillmark_page *page)
{
    quillmark_bytes bytes{};
    std::vector<OxStrokeRecord> records;
    EXPECT_EQ(quillmark_page_to_bytes(page, &bytes), 1) << quillmark_page_error(page);
    const QByteArray copy(reinterpret_cast<const char *>(bytes.data), int(bytes.size));
    EXPECT_TRUE(OxPageFile::fromBytes(copy, records).ok());
    return records;
}

bool engineHas(int engine, Way way)
{
    const int feeds = quillmark_engine_feeds(engine);
    switch (way) {
    case Way::kBatch: return feeds & QUILLMARK_FEED_BATCH;
    case Way::kRaw: return feeds & QUILLMARK_FEED_RAW;
    case Way::kFitted: return feeds & QUILLMARK_FEED_FITTED;
    default: return true;
    }
}
} // namespace

TEST(CStrokeRecord, EveryWayOfFeedingIsStoredAsTheEngineCallsItMade)
{
    const std::vector<RecordedStroke> strokes = loadStrokes("pf-recorded.txt");
    for (int engine = QUILLMARK_FIX; engine <= QUILLMARK_BRUSH; ++engine) {
        for (Way way : {Way::kOrdinary, Way::kBatch, Way::kRaw, Way::kFitted, Way::kReplay}) {
            if (!engineHas(engine, way))
                continue;
            quillmark_page *page = quillmark_page_create();
            std::vector<OxStrokeRecord> expected;
            for (const RecordedStroke &samples : strokes) {
                Feeder feeder(engine, samples);
                feeder.feed(way);
                quillmark_key key = 0;
                ASSERT_EQ(quillmark_page_add(page, feeder.stroke, feeder.expected.rgba, &key,
                                             nullptr),
                          1)
                    << quillmark_page_refusal_text(quillmark_page_refusal(page));
                expected.push_back(feeder.expected);
            }
            EXPECT_EQ(recordDifference(expected, storedRecords(page)), "")
                << "engine " << engine << ", way " << int(way);
            quillmark_page_destroy(page);
        }
    }
}
