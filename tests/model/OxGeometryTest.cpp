#include "EngineStroke.h"
#include "OxGeometry.h"

#include <gtest/gtest.h>
#include <cmath>

TEST(OxGeometry, LineAngleCountsCounterClockwiseOnScreen)
{
    // Flip set: y grows downward on screen, the angle counts counter-clockwise as seen there.
    EXPECT_FLOAT_EQ(lineAngle(0, 0, 1, 0, true), 0);
    EXPECT_FLOAT_EQ(lineAngle(0, 0, 0, -1, true), 1.5707964f);    // up on screen
    EXPECT_FLOAT_EQ(lineAngle(1, 0, 0, 0, true), float(M_PI));
    EXPECT_FLOAT_EQ(lineAngle(0, 0, 0, 1, true), 4.712389f);      // down on screen
    EXPECT_FLOAT_EQ(lineAngle(0, 0, 1, -1, true), float(M_PI / 4));
    EXPECT_FLOAT_EQ(lineAngle(0, 0, -1, -1, true), float(3 * M_PI / 4));
    EXPECT_FLOAT_EQ(lineAngle(0, 0, -1, 1, true), float(5 * M_PI / 4));
    EXPECT_FLOAT_EQ(lineAngle(0, 0, 1, 1, true), float(7 * M_PI / 4));
    EXPECT_FLOAT_EQ(lineAngle(0, 0, 1, 1, false), float(M_PI / 4));
    EXPECT_EQ(lineAngle(2, 2, 2, 2, true), 0);
}

TEST(OxGeometry, VertexAngleAndDistances)
{
    EXPECT_FLOAT_EQ(vertexAngle(0, 0, 1, 0, 0, 1), float(M_PI / 2));
    EXPECT_FLOAT_EQ(vertexAngle(0, 0, 1, 0, -2, 0), float(M_PI));
    EXPECT_FLOAT_EQ(vertexAngle(0, 0, 1, 0, 3, 0), 0);
    EXPECT_TRUE(std::isnan(vertexAngle(0, 0, 0, 0, 3, 0)));
    EXPECT_EQ(pointDistance(0, 0, 3, 4), 5);

    EXPECT_FLOAT_EQ(pointToLineDistance(0, 0, 10, 0, 5, 3), 3);
    EXPECT_FLOAT_EQ(pointToLineDistance(0, 0, 10, 0, -5, -3), 3);
    EXPECT_EQ(pointToLineDistance(1, 1, 1, 1, 4, 5), 5);          // degenerate line
    EXPECT_EQ(pointToLineDistance(0, 0, 10, 0, 10, 0), 0);
}

TEST(OxGeometry, LineCoefficientsAndSides)
{
    float a, b, d;
    lineCoefficients(&a, &b, &d, 1, 0, 1, 5);    // the line x = 1
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(d, -5);
    EXPECT_TRUE(isSameSide(QPointF(1, 0), QPointF(1, 5), QPointF(3, 1), QPointF(2, 9)));
    EXPECT_FALSE(isSameSide(QPointF(1, 0), QPointF(1, 5), QPointF(3, 1), QPointF(0, 1)));
    EXPECT_FALSE(isSameSide(QPointF(1, 0), QPointF(1, 5), QPointF(1, 3), QPointF(2, 1)));
}

TEST(OxGeometry, RotatePoint)
{
    float x = 2, y = 1;
    rotatePoint(float(M_PI / 2), &x, &y, 1, 1);
    EXPECT_NEAR(x, 1, 1e-6);
    EXPECT_NEAR(y, 2, 1e-6);
    rotatePoint(1e-7f, &x, &y, 0, 0);
    EXPECT_NEAR(x, 1, 1e-6);
}

TEST(OxGeometry, BezierEvaluationBlendsEveryField)
{
    std::vector<OxInkPoint> ctrl{OxInkPoint(0, 0, 0, 0, 0, 0), OxInkPoint(0, 10, 10, 1, 0, 0),
                                 OxInkPoint(10, 10, 20, 1, 0, 0), OxInkPoint(10, 0, 30, 0, 0, 0)};
    EXPECT_EQ(fields(bezierPoint(ctrl, 0.5f, 3)), (Fields{5, 7.5, 15, 0.75, 0, 0}));

    std::vector<OxInkPoint> trace;
    deCasteljau(ctrl, 0.5f, 3, trace);
    ASSERT_EQ(trace.size(), 4u);
    EXPECT_FLOAT_EQ(trace[1].y, 5);        // first point of the first level
    EXPECT_FLOAT_EQ(trace[2].x, 2.5f);
    EXPECT_FLOAT_EQ(trace[3].y, 7.5f);     // the curve point

    EXPECT_FLOAT_EQ(bezierPoint(ctrl, 0.25f, 1).y, 2.5f);   // only the first two points count
    std::vector<OxInkPoint> none;
    EXPECT_EQ(bezierPoint(none, 0.5f, 3).pressure, 0.5f);
}
