#include "FakeEngines.h"
#include "StatsTable.h"
#include "StrokeRunner.h"

#include <gtest/gtest.h>
#include <iterator>
#include <sstream>

namespace {
using Log = std::vector<std::string>;

// Sample i at (10 i, 2 i), 8 i ms, pressure 0.25 (i mod 4).
RecordedStroke strokeOf(int samples)
{
    RecordedStroke stroke;
    for (int i = 0; i < samples; ++i)
        stroke.push_back({10.0 * i, 2.0 * i, 8LL * i, 0.25f * float(i % 4)});
    return stroke;
}

// The engine's log of the stroke, then the samples the run counted per call.
Log run(const RecordedStroke &stroke, FeedMode mode, int batchSize = 8)
{
    LoggingEngine::log.clear();
    const StrokeRun run = runStroke(batchLoggingAdapter(), stroke, {mode, 6, batchSize});
    Log out = LoggingEngine::log;
    for (const EngineCall &call : run.calls)
        out.push_back(std::to_string(call.samples) + (call.opensStroke ? " opens" : ""));
    return out;
}
} // namespace

TEST(StrokeRunner, EachModeHandsOverTheSamplesWithTheNewestTimeAndPressure)
{
    RecordedStroke stroke = strokeOf(3);
    stroke[2].timeMs = 5'000'000'000LL;  // beyond an int: clamped
    EXPECT_EQ(run(stroke, FeedMode::Live),
              (Log{"startCreate 0,0 t0 p0", "creating 10,2 t8 p0.25",
                   "endCreate 20,4 t2147483647 p0.5", "1 opens", "1", "1"}));
    // A one-sample stroke is closed with the sample that opened it.
    EXPECT_EQ(run(strokeOf(1), FeedMode::Live),
              (Log{"startCreate 0,0 t0 p0", "endCreate 0,0 t0 p0", "1 opens", "0"}));
    EXPECT_EQ(run(strokeOf(4), FeedMode::Replay),
              (Log{"loadFromWholePoints 0,0 10,2 20,4 30,6 t24 p0.75", "4 opens"}));
    // The inner samples in batches, each stamped with its newest sample.
    EXPECT_EQ(run(strokeOf(11), FeedMode::Batch, 4),
              (Log{"startCreate 0,0 t0 p0", "creatingOnlyBackward 10,2 20,4 30,6 40,8 t32 p0",
                   "creatingOnlyBackward 50,10 60,12 70,14 80,16 t64 p0",
                   "creatingOnlyBackward 90,18 t72 p0.25", "endCreateOnlyBackward 100,20 t80 p0.5",
                   "1 opens", "4", "4", "1", "1"}));

    const StrokeRun live = runStroke(loggingAdapter(), strokeOf(3), FeedSettings());
    EXPECT_EQ(live.calls[2].dirty, QRectF(20, 4, 1, 1));
    EXPECT_EQ(live.shapes.centreLine.size(), 3);
    LoggingEngine::made = 0;
    EXPECT_EQ(drawStrokes(loggingAdapter(), {strokeOf(2), strokeOf(1)}, {}).strokes.size(), 2u);
    EXPECT_EQ(LoggingEngine::made, 2);  // an engine per stroke
}

TEST(EngineStats, CountsSamplesAreasAndTimes)
{
    const EngineAdapter adapter = loggingAdapter();
    StrokeRun stroke;
    stroke.shapes.centreLine << QPointF(0, 0) << QPointF(8, 0);  // 10 x 2 with the pen
    // The opening call (accepted even without a rectangle), a dropped sample, a call of four
    // samples, and a closing call that repeats a sample.
    stroke.calls = {{QRectF(), 10, 1, true},
                    {QRectF(), 2, 1, false},
                    {QRectF(0, 0, 3, 2), 40, 4, false},
                    {QRectF(0, 0, 1, 1), 5, 0, false}};
    const EngineStats stats = engineStats({&adapter, 2, {stroke}});

    EXPECT_EQ(stats.strokes, 1u);
    EXPECT_EQ(stats.samples, 6u);
    EXPECT_EQ(stats.accepted, 5u);
    EXPECT_EQ(stats.elements, 2u);
    EXPECT_DOUBLE_EQ(stats.repaintedArea, 7.0);
    EXPECT_DOUBLE_EQ(stats.fullRepaintArea, 20.0 * 6);
    // Per sample: 10, 2, 10, 10, 10, 10 + 5.
    EXPECT_DOUBLE_EQ(stats.meanMicros, 57.0 / 6);
    EXPECT_DOUBLE_EQ(stats.p99Micros, 15.0);
    EXPECT_DOUBLE_EQ(stats.maxMicros, 15.0);
    const std::string table = statsTable({stats, stats});
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 3);
}

// Huge figures widen their column instead of running into the next one.
TEST(EngineStats, TableColumnsStayApartForHugeFigures)
{
    EngineStats huge;
    huge.engine = "a-long-engine-name";
    huge.strokes = huge.samples = huge.accepted = huge.elements = 123456789012;
    huge.meanMicros = huge.p99Micros = huge.maxMicros = 1e15;
    huge.repaintedArea = 1e20;
    huge.fullRepaintArea = 1e22;
    EngineStats small;
    small.engine = "fix";
    const std::string table = statsTable({small, huge});
    std::istringstream lines(table);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);)
        rows.push_back(line);
    ASSERT_EQ(rows.size(), 3u);
    for (size_t i = 1; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].size(), rows[0].size()) << table;
        std::istringstream cells(rows[i]);
        EXPECT_EQ(std::distance(std::istream_iterator<std::string>(cells),
                                std::istream_iterator<std::string>()),
                  11)
            << rows[i];
    }
    // Right-aligned cells end where their title ends.
    EXPECT_EQ(rows[2].find("100000000000.0G") + 15, rows[0].find("repainted") + 9) << table;
}
