#include "FakeEngines.h"
#include "StatsTable.h"
#include "StrokeRunner.h"

#include <gtest/gtest.h>

namespace {
RecordedStroke strokeOf(int samples)
{
    RecordedStroke stroke;
    for (int i = 0; i < samples; ++i)
        stroke.push_back({10.0 * i, 2.0 * i, 8LL * i, 0.25f * float(i % 4)});
    return stroke;
}

std::vector<std::string> callNames()
{
    std::vector<std::string> names;
    for (const LoggedCall &call : engineLog().calls)
        names.push_back(call.name);
    return names;
}

std::vector<int> samplesPerCall(const StrokeRun &run)
{
    std::vector<int> samples;
    for (const EngineCall &call : run.calls)
        samples.push_back(call.samples);
    return samples;
}

class StrokeRunner : public ::testing::Test
{
protected:
    void SetUp() override { engineLog() = EngineLog(); }
    StrokeRun run(int samples, FeedMode mode, int batchSize = 8)
    {
        return runStroke(adapter, strokeOf(samples), {mode, 6, batchSize});
    }
    const EngineAdapter adapter = batchLoggingAdapter();
};
} // namespace

TEST_F(StrokeRunner, LiveModeMakesOnePhaseCallPerSampleWithItsTimeAndPressure)
{
    RecordedStroke stroke = strokeOf(3);
    stroke[2].timeMs = 5'000'000'000LL;  // beyond an int: clamped
    const StrokeRun live = runStroke(adapter, stroke, FeedSettings());

    EXPECT_EQ(callNames(), (std::vector<std::string>{"startCreate", "creating", "endCreate"}));
    const std::vector<LoggedCall> &calls = engineLog().calls;
    EXPECT_EQ(calls[1].samples, std::vector<QPointF>{QPointF(10, 2)});
    EXPECT_EQ(calls[1].time, 8);
    EXPECT_EQ(calls[1].pressure, 0.25f);
    EXPECT_EQ(calls[2].time, std::numeric_limits<int>::max());
    EXPECT_EQ(samplesPerCall(live), (std::vector<int>{1, 1, 1}));
    EXPECT_TRUE(live.calls[0].opensStroke);
    EXPECT_FALSE(live.calls[1].opensStroke);
    EXPECT_EQ(live.calls[2].dirty, QRectF(20, 4, 1, 1));
    EXPECT_EQ(live.shapes.centreLine.size(), 3);

    engineLog() = EngineLog();
    // A one-sample stroke is closed with the sample that opened it.
    EXPECT_EQ(samplesPerCall(run(1, FeedMode::Live)), (std::vector<int>{1, 0}));
    EXPECT_EQ(engineLog().calls[1].samples, std::vector<QPointF>{QPointF(0, 0)});
}

TEST_F(StrokeRunner, ReplayHandsOverTheWholeStrokeInOneCall)
{
    const StrokeRun replay = run(4, FeedMode::Replay);
    ASSERT_EQ(callNames(), std::vector<std::string>{"loadFromWholePoints"});
    const LoggedCall &call = engineLog().calls[0];
    EXPECT_EQ(call.samples.size(), 4u);
    EXPECT_EQ(call.samples[3], QPointF(30, 6));
    EXPECT_EQ(call.time, 24);
    EXPECT_EQ(call.pressure, 0.75f);
    EXPECT_EQ(samplesPerCall(replay), std::vector<int>{4});
    EXPECT_TRUE(replay.calls[0].opensStroke);
}

TEST_F(StrokeRunner, BatchModeHandsTheInnerSamplesOverInBatches)
{
    const StrokeRun batches = run(11, FeedMode::Batch, 4);
    EXPECT_EQ(callNames(), (std::vector<std::string>{"startCreate", "creatingOnlyBackward",
                                                     "creatingOnlyBackward", "creatingOnlyBackward",
                                                     "endCreateOnlyBackward"}));
    const std::vector<LoggedCall> &calls = engineLog().calls;
    EXPECT_EQ(calls[1].samples.front(), QPointF(10, 2));
    EXPECT_EQ(calls[1].time, 32);  // the newest sample of the batch
    EXPECT_EQ(calls[3].samples, std::vector<QPointF>{QPointF(90, 18)});
    EXPECT_EQ(calls[4].samples, std::vector<QPointF>{QPointF(100, 20)});
    EXPECT_EQ(samplesPerCall(batches), (std::vector<int>{1, 4, 4, 1, 1}));
}

TEST_F(StrokeRunner, EveryStrokeGetsAnEngineOfItsOwn)
{
    const EngineDrawing drawing =
        drawStrokes(adapter, {strokeOf(2), strokeOf(3), strokeOf(1)}, FeedSettings());
    EXPECT_EQ(engineLog().enginesMade, 3);
    EXPECT_EQ(drawing.strokes.size(), 3u);
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
