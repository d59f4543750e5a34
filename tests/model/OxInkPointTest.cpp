#include "EngineStroke.h"
#include "OxInkPoint.h"

#include <gtest/gtest.h>
#include <cmath>

TEST(OxInkPoint, ArithmeticActsOnEveryFieldPressureMarkersIncluded)
{
    EXPECT_EQ(OxInkPoint().pressure, 0.5f);
    const OxInkPoint a(1, 2, 10, 0.25f, 3, 4), b(5, 7, 30, 0.75f, 1, 2);
    EXPECT_EQ(fields(b - a), (Fields{4, 5, 20, 0.5, -2, -2}));
    EXPECT_EQ(fields(a * 2.0f), (Fields{2, 4, 20, 0.5, 6, 8}));
    EXPECT_EQ(fields(interpolate(a, b, 0.5f)), (Fields{3, 4.5, 20, 0.5, 2, 3}));
    EXPECT_EQ(a.dot(b), 1 * 5 + 2 * 7);
    // The marker of a point without pressure (-0.5) survives a midpoint.
    const OxInkPoint unpressured(1, 2, 0, -0.5f, 0, 0), other(3, 6, 0, -0.5f, 0, 0);
    EXPECT_EQ(fields((unpressured + other) / 2.0f), (Fields{2, 4, 0, -0.5, 0, 0}));
    // Division by zero is not guarded.
    const OxInkPoint q = OxInkPoint(1, 0, 1, 0.5f, 0, 0) / 0.0f;
    EXPECT_TRUE(std::isinf(q.x) && std::isnan(q.y) && std::isinf(q.time));

    // Attributes are interpolated into a target that keeps its position.
    OxInkPoint target(7, 9, 0, 0, 0, 0);
    interpolateAttributes(OxInkPoint(0, 0, 0, 0, 0, 0), OxInkPoint(100, 100, 100, 1, 4, 8), target,
                          0.25f);
    EXPECT_EQ(fields(target), (Fields{7, 9, 25, 0.25, 1, 2}));
}

TEST(OxInkPoint, NormalizeAndSetLengthScaleAllFieldsButLeaveShortVectorsAlone)
{
    OxInkPoint v(3, 4, 10, 5, 0, 0);
    const OxInkPoint copy = v.normalize();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);
    EXPECT_DOUBLE_EQ(v.time, 2.0);
    EXPECT_FLOAT_EQ(v.pressure, 1.0f);
    EXPECT_EQ(fields(copy), fields(v));
    OxInkPoint w(3, 4, 10, 5, 0, 0), zero(0, 0, 7, 1, 0, 0), tiny(1e-7f, 0, 7, 1, 0, 0);
    w.setLength(10);
    zero.normalize();
    tiny.setLength(5);
    EXPECT_EQ(fields(w), (Fields{6, 8, 20, 10, 0, 0}));
    EXPECT_EQ(fields(zero), (Fields{0, 0, 7, 1, 0, 0}));
    EXPECT_EQ(fields(tiny), (Fields{1e-7f, 0, 7, 1, 0, 0}));
}
