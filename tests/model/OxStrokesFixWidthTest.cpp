#include "EngineStroke.h"
#include "OxStrokesFixWidth.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {
// Opens the curve sampling, whose rules are finer than a stroke shows.
struct FixWidth : OxStrokesFixWidth
{
    using OxStrokesFixWidth::bezireToPoints;
};
// The plain engine lays every new smoothed point into the caller's path as it goes: the path is
// the smoothed line so far.
using Stroke = EngineStroke<OxStrokesFixWidth>;

OxInkPoint at(float x, float y, double time = 0, float pressure = 0)
{
    return OxInkPoint(x, y, time, pressure, 0, 0);
}
} // namespace

TEST(OxStrokesFixWidthPhases, StartSquareOfTwiceTheWidthThenTheFirstSampleAsItIs)
{
    Stroke s(4);
    EXPECT_EQ(s.start(QPointF(10, 10), 70), QRectF(6, 6, 8, 8));
    ASSERT_EQ(s.points.size(), 1u);
    EXPECT_EQ(fields(s.points[0]), (Fields{10, 10, 0, -0.5, 0, 0}));
    EXPECT_EQ(elements(s.path), (std::vector<QPointF>{QPointF(10, 10)}));
    // The first accepted sample is appended to the smoothed line unchanged, whatever its distance;
    // the time handed over is not kept.
    EXPECT_EQ(s.move(QPointF(30, 10), 80), QRectF(QPointF(8, 8), QPointF(32, 12)));
    EXPECT_EQ(elements(s.path), (std::vector<QPointF>{QPointF(10, 10), QPointF(30, 10)}));
    EXPECT_EQ(fields(s.points.back()), (Fields{30, 10, 0, -0.5, 0, 0}));
    s.end(QPointF(30, 10));
    EXPECT_EQ(fields(s.points.back()), (Fields{30, 10, 0, -0.5, 0, 0}));
}

TEST(OxStrokesFixWidthBadInput, HugeStepsFinish)
{
    Stroke s;
    s.start(QPointF(0, 0));
    for (QPointF p : {QPointF(1e6, 0), QPointF(-1e9, 3e9), QPointF(1e30, -1e30)})
        s.move(p);
    s.end(QPointF(0, 0));
    // Each curve is cut at 50,000 samples.
    EXPECT_LT(s.points.size(), size_t(3 * 50000));
}

// The distances that decide what a sample does, each pinned at its edge.
TEST(OxStrokesFixWidthRules, SamplesCloserThanATenthAreDropped)
{
    Stroke s(4);
    s.start(QPointF(0, 0));
    EXPECT_TRUE(s.move(QPointF(0.09, 0)).isNull());
    EXPECT_FALSE(s.move(QPointF(0.11, 0)).isNull()) << "a step of 0.11 must be taken";
    EXPECT_EQ(s.points.size(), 2u);
}

TEST(OxStrokesFixWidthRules, MovesOfSevenOrMoreAreExtendSteps)
{
    // After a contract step, another one ends the curve halfway to the sample, while an extend
    // step on a straight line reaches the sample itself.
    auto endAfter = [](double step) {
        Stroke s(4);
        s.start(QPointF(0, 0));
        s.move(QPointF(5, 0));
        s.move(QPointF(10, 0));
        s.move(QPointF(10 + step, 0));
        return s.path.currentPosition().x();
    };
    EXPECT_DOUBLE_EQ(endAfter(6.5), 13.25) << "a move of 6.5 is a contract step";
    EXPECT_DOUBLE_EQ(endAfter(7), 17) << "a move of exactly 7 is an extend step";
}

TEST(OxStrokesFixWidthRules, TheEndSampleIsKeptFromOneUnitOn)
{
    auto endsAt = [](double x) {
        Stroke s(4);
        s.start(QPointF(0, 0));
        s.move(QPointF(10, 0));
        s.end(QPointF(x, 0));
        return s.points.back().x;
    };
    EXPECT_EQ(endsAt(10.9), 10) << "an end sample 0.9 away is left out";
    EXPECT_EQ(endsAt(11), 11) << "an end sample exactly 1.0 away is kept";
}

TEST(OxStrokesFixWidthRules, CurvesKeepOnlyPointsWhereTheyTurnByMoreThanTwoDegrees)
{
    FixWidth engine;
    // A straight curve whose start continues a line from ref: its second sample is kept only
    // when the two meet at less than 178 degrees.
    auto keptAfterTurn = [&](double degrees) {
        const double a = degrees * M_PI / 180;
        std::vector<OxInkPoint> line{at(0, 0), at(10, 0), at(20, 0), at(30, 0)};
        const OxInkPoint ref = at(float(-10 * std::cos(a)), float(10 * std::sin(a)));
        return engine.bezireToPoints(line, true, ref).size();
    };
    EXPECT_EQ(keptAfterTurn(1.5), 2u) << "a turn of 1.5 degrees is straight on";
    EXPECT_EQ(keptAfterTurn(2.5), 3u) << "a turn of 2.5 degrees is kept";
    // Quarter circles sampled every 2 units of their control polygon.
    auto keptOnArc = [&](float r) {
        const float k = 0.5523f * r;   // control distance of a quarter circle
        std::vector<OxInkPoint> arc{at(r, 0), at(r, k), at(k, r), at(0, r)};
        return engine.bezireToPoints(arc, false, OxInkPoint()).size();
    };
    EXPECT_EQ(keptOnArc(40), 35u);
    EXPECT_EQ(keptOnArc(80), 48u);
    EXPECT_EQ(keptOnArc(200), 51u);
}

TEST(OxStrokesFixWidthRules, AfterAnExtendStepTheCurveOvershootsByTheControlDistance)
{
    // An extend step sets the next control point 4 ahead of its sample: turning there, the line
    // swings out past the corner toward it.
    Stroke s(4);
    s.start(QPointF(0, 0));
    s.move(QPointF(20, 0));
    s.move(QPointF(40, 0));
    s.move(QPointF(40, 20));
    EXPECT_FLOAT_EQ(float(s.path.boundingRect().right()), 41.975166f);
}
