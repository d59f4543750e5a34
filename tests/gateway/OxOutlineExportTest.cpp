#include "OxQuillmarkGateway.h"

#include <gtest/gtest.h>
#include <cmath>

// What the arrays hold (every element of every path with elements, a lone move-to as one pair,
// narrowed to float) and that the arrays followed from call to call hold exactly the engine's
// shape are checked element for element by the gateway fuzzer over its seeds, and bit for bit
// after every call of every recorded stroke by the result digests.

// Each stroke is exported as its engine holds it, to the bit: a new engine's stroke that starts at
// (0, -0) hands out -0, not the 0 of the last engine's export.
TEST(OxOutlineExport, ANewStrokeIsExportedAsItIsNotAsTheLastOneWas)
{
    OxQuillmarkGateway g;
    g.setEnvironmentPara(1, 1, 6, 1);
    float l, t, w, h;
    int pointCount = 0, pathCount = 0;
    int *sizes = nullptr;
    g.startSketch(0, 0, 1, l, t, w, h, pointCount, pathCount, sizes);
    g.endSketch3(0, 0, 2, l, t, w, h, pointCount, pathCount, sizes);
    g.endSketch3(0, 12.25f, 3, l, t, w, h, pointCount, pathCount, sizes);
    g.freeStroke();
    g.setEnvironmentPara(1, 1, 6, 1);
    g.startSketch(0, -0.0f, 1, l, t, w, h, pointCount, pathCount, sizes);
    const float *coords = g.endSketch(0, 0, l, t, w, h, pointCount, pathCount, sizes);
    ASSERT_GE(pointCount, 1);
    EXPECT_TRUE(std::signbit(coords[1]));
}
