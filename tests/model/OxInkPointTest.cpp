#include "OxInkPoint.h"

#include <gtest/gtest.h>
#include <cmath>

TEST(OxInkPoint, ArithmeticActsOnEveryFieldPressureMarkersIncluded)
{
    EXPECT_FLOAT_EQ(OxInkPoint().pressure, 0.5f);
    const OxInkPoint a(1, 2, 10, 0.25f, 3, 4), b(5, 7, 30, 0.75f, 1, 2);
    const OxInkPoint d = b - a;
    EXPECT_EQ(d.x, 4);
    EXPECT_EQ(d.y, 5);
    EXPECT_EQ(d.time, 20);
    EXPECT_EQ(d.pressure, 0.5f);
    EXPECT_EQ(d.aux1, -2);
    EXPECT_EQ(d.aux2, -2);
    const OxInkPoint s = a * 2.0f;
    EXPECT_EQ(s.time, 20);
    EXPECT_EQ(s.aux2, 8);
    EXPECT_EQ(a.dot(b), 1 * 5 + 2 * 7);
    const OxInkPoint half = interpolate(a, b, 0.5f);
    EXPECT_EQ(half.x, 3);
    EXPECT_EQ(half.time, 20);
    EXPECT_EQ(half.aux1, 2);

    // The marker of a point without pressure (-0.5) survives a midpoint.
    const OxInkPoint mid = (OxInkPoint(1, 2, 0, -0.5f, 0, 0) + OxInkPoint(3, 6, 0, -0.5f, 0, 0)) / 2.0f;
    EXPECT_FLOAT_EQ(mid.pressure, -0.5f);
    EXPECT_FLOAT_EQ(mid.x, 2.0f);
    EXPECT_FLOAT_EQ(mid.y, 4.0f);
    // Division by zero is not guarded.
    const OxInkPoint q = OxInkPoint(1, 0, 1, 0.5f, 0, 0) / 0.0f;
    EXPECT_TRUE(std::isinf(q.x) && std::isnan(q.y) && std::isinf(q.time));
}

TEST(OxInkPoint, NormalizeAndSetLengthScaleAllFieldsButLeaveShortVectorsAlone)
{
    OxInkPoint v(3, 4, 10, 5, 0, 0);
    const OxInkPoint copy = v.normalize();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);
    EXPECT_DOUBLE_EQ(v.time, 2.0);
    EXPECT_FLOAT_EQ(v.pressure, 1.0f);
    EXPECT_EQ(copy.x, v.x);

    OxInkPoint w(3, 4, 10, 5, 0, 0);
    w.setLength(10);
    EXPECT_FLOAT_EQ(w.x, 6);
    EXPECT_FLOAT_EQ(w.y, 8);
    EXPECT_DOUBLE_EQ(w.time, 20);
    EXPECT_FLOAT_EQ(w.pressure, 10);

    OxInkPoint zero(0, 0, 7, 1, 0, 0);
    zero.normalize();
    EXPECT_EQ(zero.x, 0);
    EXPECT_EQ(zero.time, 7);
    OxInkPoint tiny(1e-7f, 0, 7, 1, 0, 0);
    tiny.setLength(5);
    EXPECT_EQ(tiny.x, 1e-7f);
    EXPECT_EQ(tiny.pressure, 1);
}

TEST(OxInkPoint, InterpolateAttributesNeverMovesTheTarget)
{
    OxInkPoint target(7, 9, 0, 0, 0, 0);
    interpolateAttributes(OxInkPoint(0, 0, 0, 0, 0, 0), OxInkPoint(100, 100, 100, 1, 4, 8), target,
                          0.25f);
    EXPECT_EQ(target.x, 7);
    EXPECT_EQ(target.y, 9);
    EXPECT_EQ(target.time, 25);
    EXPECT_EQ(target.pressure, 0.25f);
    EXPECT_EQ(target.aux1, 1);
    EXPECT_EQ(target.aux2, 2);
}
