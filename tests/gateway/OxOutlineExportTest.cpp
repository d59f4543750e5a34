#include "OxQuillmarkGateway.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {
// The arrays of paths appended one by one, or written in place into an array sized beforehand;
// both must give the same.
QVector<float> exportOf(const QVector<QPainterPath> &paths, QVector<int> &counts)
{
    QVector<float> appended, inPlace;
    QVector<int> inPlaceCounts;
    int total = 0;
    for (const QPainterPath &p : paths) {
        OxQuillmarkGateway::appendPathElements(p, counts, appended, true);
        total += p.elementCount();
    }
    inPlace.fill(0, 2 * total);
    for (const QPainterPath &p : paths)
        OxQuillmarkGateway::appendPathElements(p, inPlaceCounts, inPlace, false);
    EXPECT_EQ(inPlace, appended);
    EXPECT_EQ(inPlaceCounts, counts);
    return appended;
}
} // namespace

TEST(OxOutlineExport, EveryElementCountsCubicsIncludedNarrowedToFloat)
{
    QPainterPath cubic;
    cubic.moveTo(0, 0);
    cubic.cubicTo(1, 1, 2, 2, 3, 3);
    QPainterPath polyline;
    polyline.moveTo(0.1, 1e10 + 0.5);
    polyline.lineTo(1.0 / 3, 0);
    polyline.lineTo(10, 10);
    QVector<int> counts;
    EXPECT_EQ(exportOf({cubic, polyline}, counts),
              (QVector<float>{0, 0, 1, 1, 2, 2, 3, 3, 0.1f, float(1e10 + 0.5), 1.0f / 3, 0, 10, 10}));
    EXPECT_EQ(counts, (QVector<int>{4, 3}));
    EXPECT_EQ(OxQuillmarkGateway::sumCounts(counts), 7);
    EXPECT_EQ(OxQuillmarkGateway::sumCounts({}), 0);
}

// Only a path without elements is left out; a lone move-to is an element like any other.
TEST(OxOutlineExport, OnlyPathsWithoutElementsGetNoEntry)
{
    QPainterPath empty, loneMoveTo, tail;
    loneMoveTo.setFillRule(Qt::WindingFill);  // Qt adds a move-to (0, 0) here
    ASSERT_EQ(loneMoveTo.elementCount(), 1);
    ASSERT_TRUE(loneMoveTo.isEmpty());
    tail.addRect(1, 2, 3, 4);
    QVector<int> counts, one, none;
    EXPECT_EQ(exportOf({empty, loneMoveTo, tail, tail}, counts).size(), 22);
    EXPECT_EQ(counts, (QVector<int>{1, 5, 5}));
    EXPECT_EQ(exportOf({empty, loneMoveTo}, one), (QVector<float>{0, 0}));
    EXPECT_EQ(one, QVector<int>{1});
    EXPECT_TRUE(exportOf({empty, empty}, none).isEmpty());
    EXPECT_TRUE(none.isEmpty());
}

// That the arrays followed from call to call hold exactly the engine's shape is checked element
// for element by the gateway fuzzer over its seeds, and bit for bit after every call of every
// recorded stroke by the result digests.

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
