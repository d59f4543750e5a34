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

TEST(FuzzChecks, FarIsEitherCoordinateBeyondTheBoundButNotNaN)
{
    EXPECT_FALSE(isFar(1e4, -1e4));
    EXPECT_TRUE(isFar(0, -1.0001e4));
    EXPECT_TRUE(isFar(2e4, 0));
    // Non-finite samples are dropped before they cost anything.
    EXPECT_FALSE(isFar(kNaN, kInf));
}

TEST(FuzzChecks, TheWorkBudgetRefusesWhatNoLongerFits)
{
    WorkBudget budget;
    EXPECT_TRUE(budget.spend(0));
    EXPECT_TRUE(budget.spend(kMaxFarSamples - 1));
    EXPECT_FALSE(budget.spend(2));   // refused whole, nothing spent
    EXPECT_TRUE(budget.spend(1));
    EXPECT_FALSE(budget.spend(1));
    EXPECT_TRUE(budget.spend(0));
}
