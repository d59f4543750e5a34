// Records written and read back are the records, to the bit: the recorded strokes with every
// engine, floats without any grid, the values a grid cannot hold, and numbers at the edges.

#include "OxEngineKind.h"
#include "OxPageFile.h"
#include "RecordCompare.h"
#include "StrokeRecords.h"
#include "TestData.h"

#include <cmath>
#include <limits>
#include <random>

namespace {
const char *const kRecordings[] = {"pf-recorded.txt", "mypaint-painting30sec.txt", "synth-1k.txt",
                                   "pf-edge-cases.txt", "synth-10k.txt"};

std::vector<OxStrokeRecord> roundTrip(const std::vector<OxStrokeRecord> &records, int *bytesOut = nullptr)
{
    QByteArray bytes;
    const OxStorageError written = OxPageFile::toBytes(records, bytes);
    EXPECT_TRUE(written.ok()) << written.message.toStdString();
    if (bytesOut)
        *bytesOut = bytes.size();
    std::vector<OxStrokeRecord> read;
    const OxStorageError error = OxPageFile::fromBytes(bytes, read);
    EXPECT_TRUE(error.ok()) << error.message.toStdString();
    return read;
}

// One stroke whose samples are the given channel values, fed by one start, adds and one end.
OxStrokeRecord strokeOf(const std::vector<float> &xs, const std::vector<float> &ys,
                        const std::vector<qint32> &times, const std::vector<float> &pressures)
{
    OxStrokeRecord record;
    record.engine = 3;
    record.width = 5.5f;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        record.samples.push_back(OxRecordedSample{xs[i], ys[i], times[i], pressures[i]});
        record.steps.push_back(OxRecordedStep{i == 0 ? OxRecordedStep::kStart : OxRecordedStep::kAdd, 1});
    }
    return record;
}

std::vector<float> randomFloats(std::mt19937 &random, std::size_t count, bool allowNaN)
{
    std::vector<float> values;
    while (values.size() < count) {
        const float v = floatOfBits(std::uint32_t(random()));
        if (allowNaN || !std::isnan(v))
            values.push_back(v);
    }
    return values;
}

std::vector<qint32> randomInts(std::mt19937 &random, std::size_t count)
{
    std::vector<qint32> values;
    for (std::size_t i = 0; i < count; ++i)
        values.push_back(qint32(std::uint32_t(random())));
    return values;
}
} // namespace

TEST(PageFileRoundTrip, EveryRecordingWithEveryEngineComesBackToTheBit)
{
    for (const char *name : kRecordings) {
        const std::vector<RecordedStroke> strokes = loadStrokes(name);
        for (const OxEngineKind &kind : OxEngineKind::all()) {
            const std::vector<OxStrokeRecord> records = recordsOf(strokes, kind.id, 4.5f, 0x336699cc);
            EXPECT_EQ(recordDifference(records, roundTrip(records)), "") << name << ", " << kind.name;
        }
    }
}

TEST(PageFileRoundTrip, RandomFloatsAndIntsComeBackExactly)
{
    std::mt19937 random(20240527);
    std::vector<OxStrokeRecord> records;
    for (std::size_t length : {1u, 2u, 3u, 17u, 500u, 4000u})
        records.push_back(strokeOf(randomFloats(random, length, false), randomFloats(random, length, false),
                                   randomInts(random, length), randomFloats(random, length, false)));
    EXPECT_EQ(recordDifference(records, roundTrip(records)), "");
}

TEST(PageFileRoundTrip, NaNsKeepTheirSignAndPayload)
{
    std::mt19937 random(7);
    const std::size_t n = 300;
    std::vector<float> xs = randomFloats(random, n, true), pressures(n, 0.5f);
    for (std::size_t i = 0; i < n; i += 3)
        xs[i] = floatOfBits(0x7f800000u | std::uint32_t(random() % 0x7fffff + 1) | (i % 2 ? 0x80000000u : 0));
    for (std::size_t i = 0; i < n; i += 7)
        pressures[i] = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> ys(n);
    for (std::size_t i = 0; i < n; ++i)
        ys[i] = float(i) * 0.25f;
    const std::vector<OxStrokeRecord> records{strokeOf(xs, ys, std::vector<qint32>(n, 0), pressures)};
    EXPECT_EQ(recordDifference(records, roundTrip(records)), "");
}

TEST(PageFileRoundTrip, ValuesOffTheGridAmongValuesOnItComeBackExactly)
{
    // Two-decimal positions with the numbers a grid cannot hold between them.
    const float specials[] = {-0.0f, std::numeric_limits<float>::denorm_min(), -1e-42f,
                              std::numeric_limits<float>::min(), std::numeric_limits<float>::max(),
                              -std::numeric_limits<float>::max(), std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(), 0.1f + 0.2f, 16777217.0f, 1e30f,
                              std::nextafter(100.25f, 200.0f)};
    std::vector<float> xs, ys, pressures;
    std::vector<qint32> times;
    for (int i = 0; i < 400; ++i) {
        xs.push_back(float(100 + i * 0.37));
        ys.push_back(float(50 - i * 0.11));
        pressures.push_back(float(i % 100) / 100.0f);
        times.push_back(i * 8);
    }
    for (std::size_t i = 0; i < std::size(specials); ++i) {
        xs[i * 31 + 1] = specials[i];
        ys[i * 29 + 3] = specials[i];
        pressures[i * 17 + 5] = specials[i];
    }
    times[100] = std::numeric_limits<qint32>::max();
    times[101] = std::numeric_limits<qint32>::min();
    times[250] = 2001;
    const std::vector<OxStrokeRecord> records{strokeOf(xs, ys, times, pressures)};
    EXPECT_EQ(recordDifference(records, roundTrip(records)), "");
}

TEST(PageFileRoundTrip, LargeNumbersOfFewDigitsAfterSmallOnesOfManyComeBack)
{
    // Where floats lie further apart than a grid's step, a number has several integers on it;
    // 86517.24 has two digits, found after a number of three.
    const std::vector<float> xs{0.125f, 86517.24f, 1.5f, 86517.25f, 0.001f, 123456.7f, 9.999f, 8388607.5f};
    std::vector<float> ys(xs.rbegin(), xs.rend());
    const std::vector<OxStrokeRecord> records{strokeOf(xs, ys, std::vector<qint32>(xs.size(), 3), xs)};
    EXPECT_EQ(recordDifference(records, roundTrip(records)), "");
}

TEST(PageFileRoundTrip, RandomDecimalsOfMixedDigitsAndMagnitudesComeBack)
{
    // Numbers written with 0 to 9 decimals, from 10^-4 to 10^8, mixed within strokes and
    // within channels, as floats: the grids of every kind and size meet every spacing of floats.
    std::mt19937 random(11);
    const auto decimal = [&] {
        const int digits = int(random() % 10);
        const double magnitude = std::pow(10.0, int(random() % 13) - 4);
        const double v = std::round((double(random()) / 4294967296.0 - 0.3) * magnitude *
                                    std::pow(10.0, digits)) / std::pow(10.0, digits);
        return float(v);
    };
    std::vector<OxStrokeRecord> records;
    for (int stroke = 0; stroke < 40; ++stroke) {
        const std::size_t n = 1 + random() % 60;
        std::vector<float> xs, ys, pressures;
        std::vector<qint32> times;
        for (std::size_t i = 0; i < n; ++i) {
            xs.push_back(decimal());
            ys.push_back(stroke % 2 ? decimal() : float(i) * 0.01f + 400);
            pressures.push_back(decimal());
            times.push_back(qint32(i * (1 + stroke % 9)));
        }
        records.push_back(strokeOf(xs, ys, times, pressures));
    }
    EXPECT_EQ(recordDifference(records, roundTrip(records)), "");
}

TEST(PageFileRoundTrip, TabletUnitsAndPressureLevelsComeBackExactlyAndSmall)
{
    // A tablet's whole units scaled to drawing units and written with three decimals, pressure
    // levels out of 1023 with six: on a lattice of the grid, whose step the page finds.
    std::vector<float> xs, ys, pressures;
    std::vector<qint32> times;
    std::mt19937 random(3);
    for (int i = 0; i < 2000; ++i) {
        const int unitX = int(4000 + 600 * std::sin(i * 0.01) + random() % 3);
        const int unitY = int(3000 + 500 * std::cos(i * 0.013));
        xs.push_back(float(std::round(unitX * 0.0846 * 1000) / 1000));
        ys.push_back(float(std::round((unitY * 0.0846 + 12.5) * 1000) / 1000));
        pressures.push_back(float(std::round((300 + i % 200) / 1023.0 * 1e6) / 1e6));
        times.push_back(i * 5);
    }
    const std::vector<OxStrokeRecord> records{strokeOf(xs, ys, times, pressures)};
    int bytes = 0;
    EXPECT_EQ(recordDifference(records, roundTrip(records, &bytes)), "");
    EXPECT_LT(bytes, 2000 * 2);
}

TEST(PageFileRoundTrip, EmptyPagesStrokesAndBatchesComeBack)
{
    EXPECT_TRUE(roundTrip({}).empty());
    OxStrokeRecord empty;
    empty.engine = 1;
    empty.width = -0.0f;
    OxStrokeRecord batches = recordOf(loadStrokes("pf-recorded.txt").front(), 6, 3, 0xffffffff);
    batches.steps = {{OxRecordedStep::kStart, 1}, {OxRecordedStep::kBatch, 0},
                     {OxRecordedStep::kBatch, quint32(batches.samples.size() - 2)},
                     {OxRecordedStep::kEndBatch, 1}};
    const std::vector<OxStrokeRecord> records{empty, batches, empty};
    EXPECT_EQ(recordDifference(records, roundTrip(records)), "");
}

TEST(PageFileRoundTrip, RecordsAReaderWouldRefuseAreNotWritten)
{
    std::vector<OxStrokeRecord> records = recordsOf(loadStrokes("pf-edge-cases.txt"), 2, 4);
    QByteArray bytes("left alone");
    records[1].engine = 7;
    OxStorageError error = OxPageFile::toBytes(records, bytes);
    EXPECT_EQ(error.kind, OxStorageError::kMalformed);
    EXPECT_NE(error.message.indexOf(QStringLiteral("stroke 1")), -1) << error.message.toStdString();
    records[1].engine = 2;
    records[2].steps.pop_back();
    EXPECT_EQ(OxPageFile::toBytes(records, bytes).kind, OxStorageError::kMalformed);
    EXPECT_EQ(bytes, QByteArray("left alone"));
}
