#include "OxPenPredictor.h"
#include "PredictionError.h"
#include "TestData.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

namespace {
// x advancing by dx per sample, every 8 ms, at pressure p.
std::vector<OxInkPoint> line(int count, float dx, float p = 0.5f)
{
    std::vector<OxInkPoint> samples;
    for (int i = 0; i < count; ++i)
        samples.emplace_back(10 + dx * float(i), 20, 8.0 * i, p, 0, 0);
    return samples;
}

double moved(const std::vector<OxInkPoint> &samples, const OxInkPoint &guess)
{
    return std::hypot(guess.x - samples.back().x, guess.y - samples.back().y);
}
} // namespace

// On each real recording the guess 16 ms ahead lies at most half as far from the pen as the
// newest sample does, and at 8, 16 and 33 ms it is never farther off in the 90th percentile.
TEST(OxPenPredictorTest, BeatsPredictingNothingOnTheRealRecordings)
{
    for (const char *file : {"mypaint-painting30sec.txt", "pf-recorded.txt"}) {
        const std::vector<RecordedStroke> strokes = loadStrokes(file);
        for (double h : {8.0, 16.0, 33.0}) {
            std::vector<double> held, predicted;
            for (const PredictionMiss &m : predictionMisses(strokes, h)) {
                held.push_back(m.held);
                predicted.push_back(m.predicted);
            }
            ASSERT_GT(held.size(), 1000u) << file;
            if (h == 16.0) {
                EXPECT_LE(quantile(predicted, 0.5), 0.5 * quantile(held, 0.5)) << file;
            }
            EXPECT_LE(quantile(predicted, 0.9), quantile(held, 0.9))
                << file << " at " << h << " ms";
        }
    }
}

TEST(OxPenPredictorTest, PredictedPressureStaysWithinZeroToOne)
{
    std::vector<OxInkPoint> rising = line(5, 3);
    for (size_t i = 0; i < rising.size(); ++i)
        rising[i].pressure = 0.6f + 0.1f * float(i);   // ends at 1.0, still rising
    EXPECT_EQ(OxPenPredictor::predict(rising, 100).back().pressure, 1.0f);
    for (OxInkPoint &p : rising)
        p.pressure = 1.0f - p.pressure;                // falling to 0
    EXPECT_EQ(OxPenPredictor::predict(rising, 100).back().pressure, 0.0f);
}

TEST(OxPenPredictorTest, OneSamplePerFrameOfHorizonEvenlySpaced)
{
    const std::vector<OxInkPoint> samples = line(5, 2);
    EXPECT_EQ(OxPenPredictor::predict(samples, 8).size(), 1u);
    EXPECT_EQ(OxPenPredictor::predict(samples, 16).size(), 1u);
    const std::vector<OxInkPoint> three = OxPenPredictor::predict(samples, 33);
    ASSERT_EQ(three.size(), 3u);
    EXPECT_DOUBLE_EQ(three[0].time, 32 + 11.0);
    EXPECT_DOUBLE_EQ(three[2].time, 32 + 33.0);
    EXPECT_EQ(OxPenPredictor::predict(samples, 100).size(), 7u);
}

TEST(OxPenPredictorTest, SteadyMotionGoesOnAtItsSpeed)
{
    const std::vector<OxInkPoint> samples = line(8, 4);   // 0.5 units a ms
    const std::vector<OxInkPoint> guess = OxPenPredictor::predict(samples, 16);
    ASSERT_EQ(guess.size(), 1u);
    EXPECT_NEAR(guess[0].x, samples.back().x + 8, 1e-3);
    EXPECT_NEAR(guess[0].y, 20, 1e-3);
    EXPECT_FLOAT_EQ(guess[0].pressure, 0.5f);
}

// A tap, a pen that has stopped and a pen that has just turned back give the newest sample held:
// nothing to draw ahead of the pen.
TEST(OxPenPredictorTest, HoldsTheLastSampleAtATapAStopAndAReversal)
{
    const std::vector<OxInkPoint> tap = line(1, 0);
    std::vector<OxInkPoint> stop = line(4, 6);
    stop.push_back(stop.back());
    stop.back().time += 8;
    std::vector<OxInkPoint> reversal = line(4, 6);
    reversal.push_back(reversal[2]);
    reversal.back().time = reversal[3].time + 8;
    const std::vector<OxInkPoint> *cases[] = {&tap, &stop, &reversal};
    for (const std::vector<OxInkPoint> *samples : cases) {
        const std::vector<OxInkPoint> guess = OxPenPredictor::predict(*samples, 16);
        ASSERT_EQ(guess.size(), 1u);
        EXPECT_EQ(moved(*samples, guess[0]), 0.0);
        EXPECT_DOUBLE_EQ(guess[0].time, samples->back().time + 16);
    }
}

// A pen slowing down stops where its fitted speed runs out, short of where its speed would
// carry it, and never turns back.
TEST(OxPenPredictorTest, ASlowingPenStopsShortOfItsSpeed)
{
    std::vector<OxInkPoint> samples;
    const float xs[] = {0, 12, 22, 30, 36, 40};
    for (int i = 0; i < 6; ++i)
        samples.emplace_back(xs[i], 0, 8.0 * i, 0.5f, 0, 0);
    const OxInkPoint guess = OxPenPredictor::predict(samples, 33).back();
    EXPECT_GE(guess.x, 40.0f);
    EXPECT_LT(guess.x - 40.0f, 4.0f / 8 * 33);
}

// After a pause only the motion since it counts.
TEST(OxPenPredictorTest, MotionBeforeAPauseIsForgotten)
{
    std::vector<OxInkPoint> samples = line(4, -5);   // moving left
    for (int i = 1; i <= 3; ++i)                      // 200 ms later, moving down
        samples.emplace_back(samples[3].x, 20 + 4.0f * float(i), samples[3].time + 200 + 8.0 * i,
                             0.5f, 0, 0);
    const OxInkPoint guess = OxPenPredictor::predict(samples, 16).back();
    EXPECT_FLOAT_EQ(guess.x, samples.back().x);
    EXPECT_NEAR(guess.y, samples.back().y + 8, 1e-3);
}

TEST(OxPenPredictorTest, BadInputGivesNoSamples)
{
    const std::vector<OxInkPoint> samples = line(5, 2);
    const double inf = std::numeric_limits<double>::infinity();
    for (double h : {-1.0, 0.0, 100.001, inf, -inf, std::nan("")}) {
        EXPECT_TRUE(OxPenPredictor::predict(samples, h).empty()) << h;
        EXPECT_FALSE(OxPenPredictor::isUsableHorizon(h)) << h;
    }
    EXPECT_TRUE(OxPenPredictor::isUsableHorizon(100));
    EXPECT_TRUE(OxPenPredictor::predict(nullptr, 3, 16).empty());
    EXPECT_TRUE(OxPenPredictor::predict(samples.data(), 0, 16).empty());
    for (int field = 0; field < 4; ++field) {
        std::vector<OxInkPoint> bad = samples;
        const float nan = std::numeric_limits<float>::quiet_NaN();
        OxInkPoint &p = bad.back();
        if (field == 3)
            p.time = std::nan("");
        else
            (field == 0 ? p.x : field == 1 ? p.y : p.pressure) = nan;
        EXPECT_TRUE(OxPenPredictor::predict(bad, 16).empty()) << field;
    }
}
