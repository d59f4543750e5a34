// The fuzz targets' own checks: a check that never fails, or a budget that never runs out, would
// leave the fuzzers running without telling anything.

#include "FuzzChecks.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using namespace fuzzchecks;

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

TEST(FuzzChecks, ModerateMeansFiniteAndWithinTheBound)
{
    EXPECT_TRUE(isModerate(-1e6));
    EXPECT_TRUE(isModerate(std::numeric_limits<float>::denorm_min()));
    EXPECT_FALSE(isModerate(1.0000001e6));
    EXPECT_FALSE(isModerate(kNaN));
    EXPECT_FALSE(isModerate(-kInf));
}

TEST(FuzzChecks, NonFiniteRectanglesAndPathElementsAreFound)
{
    EXPECT_TRUE(isFiniteRect(QRectF()));
    EXPECT_FALSE(isFiniteRect(QRectF(0, 0, kNaN, 1)));
    EXPECT_FALSE(isFiniteRect(QRectF(-kInf, 0, 1, 1)));

    QPainterPath path;
    path.moveTo(0, 0);
    path.lineTo(10, 0);
    path.lineTo(10, 10);
    EXPECT_TRUE(isFinitePath(path));
    // Qt refuses non-finite points in lineTo, but an element can still be moved there.
    path.setElementPositionAt(1, kNaN, 0);
    EXPECT_FALSE(isFinitePath(path));
    EXPECT_TRUE(isFinitePath(QPainterPath()));
}

TEST(FuzzChecks, ACallCostsItsSamplesAndThePenTravelBetweenFiniteOnes)
{
    CallCost cost;         // a pen at the origin
    cost.add(3, 4);
    cost.add(kNaN, 1);     // dropped: no travel, but counted
    cost.add(3, -kInf);
    cost.add(6, 8);
    EXPECT_EQ(cost.samples, 4);
    EXPECT_EQ(cost.travel, 10.0);
    const CallCost next = CallCost::from(cost);   // goes on from (6, 8), nothing spent yet
    EXPECT_EQ(next.samples, 0);
    EXPECT_EQ(next.lastX, 6);

    CallCost first = CallCost::openingStroke();   // a stroke's first sample travels nowhere
    first.add(1e30, -1e30);
    EXPECT_EQ(first.travel, 0.0);
}

TEST(FuzzChecks, ACallPaysTheLongerWayFromTheEngineAndFromTheHostsPoints)
{
    Pens pens;             // a new engine smooths from the origin; no points yet
    pens.add(30, 40);
    EXPECT_EQ(pens.dearer().travel, 50.0);
    pens = pens.next();
    pens.strokeEnded();    // the engine starts over at the origin; the points stay at (30, 40)
    pens = pens.next();
    pens.add(30, 41);
    EXPECT_NEAR(pens.dearer().travel, std::hypot(30.0, 41.0), 1e-12);

    Pens opened = Pens::openingStroke();
    opened.add(1e30, 0);
    opened.add(1e30, 1);
    EXPECT_EQ(opened.dearer().travel, 1.0);
}

TEST(FuzzChecks, TheWorkBudgetRefusesWhatNoLongerFits)
{
    const int maxSamples = 4;
    const double maxTravel = 100;
    WorkBudget budget(maxSamples, maxTravel);
    CallCost half;
    half.add(maxTravel / 2, 0);
    EXPECT_TRUE(budget.spend(half));
    EXPECT_TRUE(budget.spend(half));
    CallCost step = CallCost::from(half);
    step.add(maxTravel / 2, 1);
    EXPECT_FALSE(budget.spend(step));   // refused whole: nothing spent
    EXPECT_TRUE(budget.spend(CallCost()));

    WorkBudget samples(maxSamples, maxTravel);
    CallCost still;
    for (int i = 0; i < maxSamples; ++i)
        still.add(kNaN, 0);
    EXPECT_TRUE(samples.spend(still));
    CallCost one;
    one.add(0, 0);
    EXPECT_FALSE(samples.spend(one));

    CallCost huge;   // a jump beyond any budget, however far
    huge.add(3e38f, 0);
    EXPECT_FALSE(WorkBudget(maxSamples, maxTravel).spend(huge));
}
