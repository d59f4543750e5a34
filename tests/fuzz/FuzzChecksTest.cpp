// The fuzz targets' own checks: a check that never fails, or a budget that never runs out, would
// leave the fuzzers running without telling anything.

#include "FuzzChecks.h"

#include <gtest/gtest.h>
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
    CallCost cost(0, 0);   // the last sample taken
    cost.add(3, 4);
    cost.add(kNaN, 1);     // dropped: no travel, but counted
    cost.add(3, -kInf);
    cost.add(6, 8);
    EXPECT_EQ(cost.samples, 4);
    EXPECT_EQ(cost.travel, 10.0);

    CallCost first;        // a stroke's first sample travels nowhere
    first.add(1e30, -1e30);
    EXPECT_EQ(first.travel, 0.0);
}

TEST(FuzzChecks, TheWorkBudgetRefusesWhatNoLongerFits)
{
    WorkBudget budget;
    CallCost half;
    half.add(0, 0);
    half.add(kMaxTravel / 2, 0);
    EXPECT_TRUE(budget.spend(half));
    EXPECT_TRUE(budget.spend(half));
    CallCost step;
    step.add(0, 0);
    step.add(0, 1);
    EXPECT_FALSE(budget.spend(step));   // refused whole: nothing spent
    EXPECT_TRUE(budget.spend(CallCost()));

    WorkBudget samples;
    CallCost still;
    for (int i = 0; i < kMaxSamples; ++i)
        still.add(kNaN, 0);
    EXPECT_TRUE(samples.spend(still));
    CallCost one;
    one.add(0, 0);
    EXPECT_FALSE(samples.spend(one));

    CallCost huge(0, 0);   // a jump beyond any budget, however far
    huge.add(3e38f, 0);
    EXPECT_FALSE(WorkBudget().spend(huge));
}
