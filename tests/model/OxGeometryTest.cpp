// The geometry helpers on the inputs that have no proper answer: what every outline builds on
// when a stroke stands still. (Their ordinary results are pinned by the engines' tests and the
// result digests.)

#include "EngineStroke.h"
#include "OxGeometry.h"

#include <gtest/gtest.h>
#include <cmath>

TEST(OxGeometry, DegenerateInputsGiveDefinedResults)
{
    EXPECT_EQ(lineAngle(2, 2, 2, 2, true), 0);                     // no direction
    EXPECT_TRUE(std::isnan(vertexAngle(0, 0, 0, 0, 3, 0)));       // a leg of no length
    EXPECT_EQ(pointToLineDistance(1, 1, 1, 1, 4, 5), 5);          // a line of no length
    EXPECT_FALSE(isSameSide(QPointF(1, 0), QPointF(1, 5), QPointF(1, 3), QPointF(2, 1)));
    std::vector<OxInkPoint> none;
    EXPECT_EQ(bezierPoint(none, 0.5f, 3).pressure, 0.5f);         // a curve of no points
    // Screen orientation: y grows downward, angles count counter-clockwise as seen there.
    EXPECT_FLOAT_EQ(lineAngle(0, 0, 0, -1, true), 1.5707964f);
    EXPECT_FLOAT_EQ(lineAngle(0, 0, 1, 1, false), float(M_PI / 4));
}
