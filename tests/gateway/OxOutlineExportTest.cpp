#include "OxQuillmarkGateway.h"

#include <gtest/gtest.h>

namespace {
QVector<float> exportOf(const QVector<QPainterPath> &paths, bool append, QVector<int> &counts)
{
    QVector<float> coords;
    if (!append) {
        int total = 0;
        for (const QPainterPath &p : paths)
            total += p.isEmpty() ? 0 : p.elementCount();
        coords.fill(0, 2 * total);
    }
    for (const QPainterPath &p : paths)
        OxQuillmarkGateway::appendPathElements(p, counts, coords, append);
    return coords;
}
} // namespace

TEST(OxOutlineExport, EveryElementCountsCubicsIncluded)
{
    QPainterPath cubic;
    cubic.moveTo(0, 0);
    cubic.cubicTo(1, 1, 2, 2, 3, 3);
    QPainterPath polyline;
    polyline.moveTo(0, 0);
    polyline.lineTo(10, 0);
    polyline.lineTo(10, 10);

    QVector<int> counts;
    const QVector<float> coords = exportOf({cubic, polyline}, true, counts);
    EXPECT_EQ(counts, (QVector<int>{4, 3}));
    EXPECT_EQ(coords, (QVector<float>{0, 0, 1, 1, 2, 2, 3, 3, 0, 0, 10, 0, 10, 10}));
    EXPECT_EQ(OxQuillmarkGateway::sumCounts(counts), 7);
    EXPECT_EQ(OxQuillmarkGateway::sumCounts({}), 0);

    // In place, into a vector sized beforehand, gives the same arrays.
    QVector<int> inPlaceCounts;
    EXPECT_EQ(exportOf({cubic, polyline}, false, inPlaceCounts), coords);
    EXPECT_EQ(inPlaceCounts, counts);
}

TEST(OxOutlineExport, PathsWithoutElementsOfTheirOwnGetNoEntry)
{
    QPainterPath empty;
    QPainterPath loneMoveTo;
    loneMoveTo.setFillRule(Qt::WindingFill);   // Qt adds a move-to (0, 0) here
    ASSERT_EQ(loneMoveTo.elementCount(), 1);
    QPainterPath tail;
    tail.addRect(1, 2, 3, 4);
    QVector<int> counts;
    const QVector<float> coords = exportOf({empty, loneMoveTo, tail, tail}, true, counts);
    EXPECT_EQ(counts, (QVector<int>{5, 5}));
    EXPECT_EQ(coords.size(), 20);
    QVector<int> none;
    EXPECT_TRUE(exportOf({empty, loneMoveTo}, false, none).isEmpty());
    EXPECT_TRUE(none.isEmpty());
}

TEST(OxOutlineExport, CoordinatesAreNarrowedToFloat)
{
    QPainterPath p;
    p.moveTo(0.1, 1e10 + 0.5);
    p.lineTo(1.0 / 3, 2);
    QVector<int> counts;
    const QVector<float> coords = exportOf({p}, true, counts);
    EXPECT_EQ(coords[0], 0.1f);
    EXPECT_EQ(coords[1], float(1e10 + 0.5));
    EXPECT_EQ(coords[2], 1.0f / 3);
}
