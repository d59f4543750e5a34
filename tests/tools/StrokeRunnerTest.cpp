#include "FakeEngines.h"
#include "StatsTable.h"
#include "StrokeRunner.h"

#include <gtest/gtest.h>

namespace {
// Sample i at (10 i, 2 i), 8 i ms, pressure 0.25 (i mod 4).
RecordedStroke strokeOf(int samples)
{
    RecordedStroke stroke;
    for (int i = 0; i < samples; ++i)
        stroke.push_back({10.0 * i, 2.0 * i, 8LL * i, 0.25f * float(i % 4)});
    return stroke;
}

// "name:samples handed over" of every logged call, and the run's own count per call.
std::vector<std::string> logged(const StrokeRun &run)
{
    std::vector<std::string> out;
    for (const LoggedCall &call : engineLog().calls)
        out.push_back(call.name + ":" + std::to_string(call.samples.size()));
    for (const EngineCall &call : run.calls)
        out.push_back(std::to_string(call.samples));
    return out;
}

class StrokeRunner : public ::testing::Test
{
protected:
    StrokeRun run(const RecordedStroke &stroke, FeedMode mode, int batchSize = 8)
    {
        engineLog().calls.clear();
        return runStroke(adapter, stroke, {mode, 6, batchSize});
    }
    const LoggedCall &call(size_t i) const { return engineLog().calls.at(i); }
    const EngineAdapter adapter = batchLoggingAdapter();
};
} // namespace

TEST_F(StrokeRunner, EachModeHandsOverTheSamplesWithTheNewestTimeAndPressure)
{
    RecordedStroke stroke = strokeOf(3);
    stroke[2].timeMs = 5'000'000'000LL;  // beyond an int: clamped
    const StrokeRun live = run(stroke, FeedMode::Live);
    EXPECT_EQ(logged(live), (std::vector<std::string>{"startCreate:1", "creating:1",
                                                      "endCreate:1", "1", "1", "1"}));
    EXPECT_EQ(call(1).samples, std::vector<QPointF>{QPointF(10, 2)});
    EXPECT_EQ(call(1).time, 8);
    EXPECT_EQ(call(1).pressure, 0.25f);
    EXPECT_EQ(call(2).time, std::numeric_limits<int>::max());
    EXPECT_TRUE(live.calls[0].opensStroke);
    EXPECT_FALSE(live.calls[1].opensStroke);
    EXPECT_EQ(live.calls[2].dirty, QRectF(20, 4, 1, 1));
    EXPECT_EQ(live.shapes.centreLine.size(), 3);

    // A one-sample stroke is closed with the sample that opened it.
    EXPECT_EQ(logged(run(strokeOf(1), FeedMode::Live)),
              (std::vector<std::string>{"startCreate:1", "endCreate:1", "1", "0"}));
    EXPECT_EQ(call(1).samples, std::vector<QPointF>{QPointF(0, 0)});

    const StrokeRun replay = run(strokeOf(4), FeedMode::Replay);
    EXPECT_EQ(logged(replay), (std::vector<std::string>{"loadFromWholePoints:4", "4"}));
    EXPECT_EQ(call(0).samples[3], QPointF(30, 6));
    EXPECT_EQ(call(0).time, 24);
    EXPECT_EQ(call(0).pressure, 0.75f);
    EXPECT_TRUE(replay.calls[0].opensStroke);

    // The inner samples in batches, each stamped with its newest sample.
    EXPECT_EQ(logged(run(strokeOf(11), FeedMode::Batch, 4)),
              (std::vector<std::string>{"startCreate:1", "creatingOnlyBackward:4",
                                        "creatingOnlyBackward:4", "creatingOnlyBackward:1",
                                        "endCreateOnlyBackward:1", "1", "4", "4", "1", "1"}));
    EXPECT_EQ(call(1).samples.front(), QPointF(10, 2));
    EXPECT_EQ(call(1).time, 32);
    EXPECT_EQ(call(3).samples, std::vector<QPointF>{QPointF(90, 18)});
    EXPECT_EQ(call(4).samples, std::vector<QPointF>{QPointF(100, 20)});

    engineLog().enginesMade = 0;
    EXPECT_EQ(drawStrokes(adapter, {strokeOf(2), strokeOf(1)}, FeedSettings()).strokes.size(), 2u);
    EXPECT_EQ(engineLog().enginesMade, 2);  // an engine per stroke
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
