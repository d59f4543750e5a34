#include "EngineStroke.h"
#include "OxStrokesVaryWidthTime.h"

#include <gtest/gtest.h>
#include <limits>

namespace {
struct Speed : OxStrokesVaryWidthTime
{
    using OxStrokesVaryWidthTime::arcLengths;
    using OxStrokesVaryWidthTime::computePressure;
    using OxStrokesVaryWidthTime::speedWindowStart;
    using OxStrokesVaryWidthTime::velocityToWidth;
};

struct Stroke : EngineStroke<Speed>
{
    Stroke() : EngineStroke<Speed>(30) {}
};
} // namespace

TEST(OxStrokesVaryWidthTimeWidth, SpeedRule)
{
    Speed e;
    EXPECT_FLOAT_EQ(e.velocityToWidth(0, 30), 30);
    EXPECT_FLOAT_EQ(e.velocityToWidth(1.75f, 30), 20);
    EXPECT_FLOAT_EQ(e.velocityToWidth(3.5f, 30), 10);
    EXPECT_FLOAT_EQ(e.velocityToWidth(20, 30), 10);
    // At width 9 or less the floor is 3: never thinner. Below width 3 the floor is wider than
    // the pen, so up to maxVelocity every speed gives 3; beyond it the linear rule keeps rising.
    EXPECT_FLOAT_EQ(e.velocityToWidth(20, 9), 3);
    EXPECT_FLOAT_EQ(e.velocityToWidth(0, 2), 3);
    EXPECT_FLOAT_EQ(e.velocityToWidth(3.5f, 2), 3);
    EXPECT_FLOAT_EQ(e.velocityToWidth(7, 2), 4);

    std::vector<OxInkPoint> none;
    // Duration 0 counts as speed 1.0: (1 - 1 / 3.5) * 20 + 10 = 24.2857 of 30, alone in its window.
    EXPECT_FLOAT_EQ(e.computePressure(none, 50, 0, -1, 30), ((1 - 1 / 3.5f) * 20 + 10) / 30);
}

TEST(OxStrokesVaryWidthTimePhases, EqualTimeStampsDrawAtSpeedOne)
{
    Stroke s;
    s.start(QPointF(0, 0), 500);
    for (int i = 1; i < 120; ++i)
        s.move(QPointF(i * 5, (i % 2) * 3), 500);
    s.end(QPointF(600, 0), 500);
    const float expected = ((1 - 1 / 3.5f) * 20 + 10) / 30;
    // points is the smoothed line now. Its first point starts at 0.5; the smoothing window
    // forgets it after some dozens of points.
    const auto &sm = s.points;
    ASSERT_GT(sm.size(), 100u);
    for (size_t i = 60; i < sm.size(); ++i)
        EXPECT_NEAR(sm[i].pressure, expected, 1e-5) << i;
}

TEST(OxStrokesVaryWidthTimePhases, SpeedWindowJumpsAfterItsLength)
{
    Stroke s;
    s.start(QPointF(0, 0), 0);
    int i = 1;
    // A straight run 5 apart: arc lengths grow by 5 a point (after the first, at 5 and 7.5).
    while (s.engine.speedWindowStart == 0 && i < 100) {
        s.move(QPointF(i * 5, 0), i * 10);
        ++i;
    }
    const auto &len = s.engine.arcLengths;
    ASSERT_GT(len.size(), 3u);
    // The window moved at the first point whose arc length passed 100, to a third of its index.
    size_t passed = 0;
    while (len[passed] <= 100)
        ++passed;
    EXPECT_EQ(s.engine.speedWindowStart, int(float(passed - 1) / 3.0));
}

TEST(OxStrokesVaryWidthTimePhases, TapAndFreshStrokes)
{
    Stroke s;
    const QRectF dot = s.start(QPointF(10, 10), 7);
    EXPECT_NEAR(dot.width(), 2 * 30 / 5.0 + 8, 1e-9);   // circle of radius width / 5, margin 4
    s.end(QPointF(10, 10), 20);
    ASSERT_EQ(s.points.size(), 2u);
    EXPECT_EQ(s.points[1].pressure, 0.5f);
    EXPECT_EQ(s.points[1].time, 30);
    ASSERT_EQ(s.engine.arcLengths.size(), 2u);
    EXPECT_FLOAT_EQ(s.engine.arcLengths[1], 1.96f);

    // startCreate starts afresh: the next stroke owes nothing to the first.
    std::vector<OxInkPoint> points;
    QPainterPath path;
    s.engine.startCreate(points, path, QPointF(200, 200), atTime(0), 30);
    s.engine.creating(points, path, QPointF(230, 200), atTime(10), 30);
    s.engine.endCreate(points, path, QPointF(230, 200), atTime(20), 30);
    EXPECT_EQ(positions(points), (std::vector<QPointF>{QPointF(200, 200), QPointF(230, 200)}));
    EXPECT_GT(s.engine.getPathWhole().boundingRect().left(), 150);
}

TEST(OxStrokesVaryWidthTimePhases, TapAtTheLastMillisecondOfTheIntRange)
{
    // The tap's point is 10 ms after the end call; at INT_MAX that sum used to overflow an int.
    Stroke s;
    const int last = std::numeric_limits<int>::max();
    s.start(QPointF(10, 10), last - 5);
    s.end(QPointF(10, 10), last);
    ASSERT_EQ(s.points.size(), 2u);
    EXPECT_EQ(s.points[1].time, double(last) + 10);
}
