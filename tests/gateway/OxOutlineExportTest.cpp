#include "OxQuillmarkGateway.h"

#include <gtest/gtest.h>

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
