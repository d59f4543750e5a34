// The shape comparisons of the fuzz targets: an exact comparison that let a changed bit pass, or
// change bounds that missed a changed piece, would let a wrong outline through.

#include "FuzzGeometry.h"

#include <gtest/gtest.h>
#include <limits>

using namespace fuzzgeometry;

namespace {
QPainterPath polyline(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    for (QPointF p : points) {
        if (path.elementCount() == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    return path;
}

void expectBounds(const Bounds &b, double left, double top, double right, double bottom)
{
    EXPECT_EQ(b.left, left);
    EXPECT_EQ(b.top, top);
    EXPECT_EQ(b.right, right);
    EXPECT_EQ(b.bottom, bottom);
}
} // namespace

TEST(FuzzGeometry, EqualityIsBitForBit)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QPainterPath a = polyline({{0, 0}, {1, 1}});
    QPainterPath b = a;
    EXPECT_TRUE(samePath(a, b));
    b.setElementPositionAt(1, 1, -0.0);
    EXPECT_TRUE(samePath(a, a));
    a.setElementPositionAt(1, 1, 0.0);
    EXPECT_FALSE(samePath(a, b));   // 0 and -0 differ
    a.setElementPositionAt(0, nan, 0);
    b.setElementPositionAt(0, nan, 0);
    b.setElementPositionAt(1, 1, 0.0);
    EXPECT_TRUE(samePath(a, b));    // the same NaN is the same
    b.setFillRule(Qt::WindingFill);
    EXPECT_FALSE(samePath(a, b));

    OxInkPoint p(1, 2, 3, 0.5f, 0, 0), q = p;
    EXPECT_TRUE(samePoint(p, q));
    q.aux2 = 1e-30f;
    EXPECT_FALSE(samePoint(p, q));
}

TEST(FuzzGeometry, AnAppendedSegmentChangesFromThePointItStartsAt)
{
    const QPainterPath before = polyline({{0, 0}, {10, 0}, {10, 10}});
    const QPainterPath after = polyline({{0, 0}, {10, 0}, {10, 10}, {20, 15}});
    expectBounds(changedBounds(before, after), 10, 10, 20, 15);
    expectBounds(changedBounds(after, before), 10, 10, 20, 15);   // erased alike
    EXPECT_TRUE(changedBounds(after, after).empty());
}

TEST(FuzzGeometry, AnOutlineGrowingInItsMiddleChangesOnlyThere)
{
    // Out along one side, back along the other: the new end lies in the middle of the sequence.
    const QPainterPath before = polyline({{0, 1}, {10, 1}, {10, -1}, {0, -1}, {0, 1}});
    const QPainterPath after =
        polyline({{0, 1}, {10, 1}, {20, 1}, {20, -1}, {10, -1}, {0, -1}, {0, 1}});
    // The old end (10, 1) - (10, -1) is erased, the new stretch drawn.
    expectBounds(changedBounds(before, after), 10, -1, 20, 1);
}

TEST(FuzzGeometry, PiecesMovedInTheSequenceOrLeftUndrawnAreNoChange)
{
    // An excursion inserted at (5, 0): the piece from there to (9, 0) moves in the sequence.
    const QPainterPath before = polyline({{0, 0}, {5, 0}, {9, 0}});
    const QPainterPath after = polyline({{0, 0}, {5, 0}, {5, 3}, {5, 0}, {9, 0}});
    expectBounds(changedBounds(before, after), 5, 0, 5, 3);

    // A move-to nothing is drawn from adds nothing.
    QPainterPath moved = before;
    moved.moveTo(100, 100);
    EXPECT_TRUE(changedBounds(before, moved).empty());
}

TEST(FuzzGeometry, CurvesCountTheirEndsNotTheirControlPoints)
{
    QPainterPath before;
    before.moveTo(0, 0);
    QPainterPath after = before;
    after.cubicTo(0, 50, 10, 50, 10, 0);
    expectBounds(changedBounds(before, after), 0, 0, 10, 0);
}

TEST(FuzzGeometry, BoundsFitARectangleWithinAMargin)
{
    Bounds b;
    EXPECT_TRUE(b.within(Bounds(), 0));   // nothing fits anywhere
    b.add(QRectF(0, 0, 10, 0));           // "nothing to repaint" adds nothing
    EXPECT_TRUE(b.empty());
    b.add(10, 20);
    b.add(12, 18);
    Bounds r;
    r.add(QRectF(10, 18, 1.5, 2));
    EXPECT_FALSE(b.within(r, 0.49));
    EXPECT_TRUE(b.within(r, 0.5));
}
