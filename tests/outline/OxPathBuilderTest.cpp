#include "EngineStroke.h"
#include "OxPathGenerator.h"
#include "TurnedEllipseNib.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {
// Opens the builder's state to the tests; with round set, it carries the round nib of the filled
// engine (radius 40 at reference size 40).
template <class Builder>
struct Open : Builder
{
    explicit Open(bool round = true)
    {
        QPainterPath nib;
        nib.addEllipse(QPointF(100, 100), 40, 40);
        if (round)
            this->setSamplePath(nib, 40);
    }
    using Builder::anchorHeld;
    using Builder::anchorX;
    using Builder::lastCorners;
    using Builder::lastEndLeft;
    using Builder::lastEndRight;
    using Builder::leftSide;
    using Builder::rightSide;
    using Builder::samplePath;
    using Builder::samplePoints;
    using Builder::sections;
};
using Generator = Open<OxPathGenerator>;

// Both nibs of a segment as placeSegment puts them.
struct Placed
{
    int placement;
    OxPathSectionPara start, end;
    QMatrix startMatrix, endMatrix;
    QRectF startRect, endRect;
};

Placed place(Generator &g, float x0, float y0, float w0, float x1, float y1, float w1)
{
    Placed p;
    p.placement = g.placeSegment(x0, y0, w0, x1, y1, w1, p.start, p.startMatrix, p.startRect,
                                 p.end, p.endMatrix, p.endRect);
    return p;
}
} // namespace

// The sectors' tangent points are the nib table's test; here which sector a segment picks.
TEST(OxPathBuilderSectors, TheDirectionPicksTheSectorAndThePlacedNibHasTheRadius)
{
    Generator g;
    // Travel to the right: the top of the nib is on the left (y down), the bottom on the right.
    EXPECT_NEAR(g.samplePoints.at(g.sections[0].leftIndex).y(), 60, 1e-9);
    EXPECT_NEAR(g.samplePoints.at(g.sections[0].rightIndex).y(), 140, 1e-9);

    const Placed p = place(g, 0, 0, 5, 10, 0, 5);
    EXPECT_EQ(p.placement, OxPathBuilder::kSeparateNibs);
    EXPECT_EQ(p.start.startAngle, 0.0f);
    EXPECT_LE(p.end.startAngle, float(M_PI));
    EXPECT_GT(p.end.endAngle, float(M_PI));
    // The placed nib has the given radius around the given point.
    expectRectNear(p.startRect, QRectF(-5, -5, 10, 10), 1e-6);
    expectRectNear(p.endRect, QRectF(5, -5, 10, 10), 1e-6);
}

TEST(OxPathBuilderSectors, PlacedRectanglesEqualTheMappedNibAndDecideCovering)
{
    // The rectangles come from the nib's extreme points; they must equal mapping every point,
    // for any width, including zero and negative ones. A nib covers the other where its
    // rectangle contains the other's as QRectF::contains says.
    Generator g(false);
    g.setSamplePath(turnedEllipseNib(), 40);
    auto same = [](const QRectF &a, const QRectF &b) {
        return a.x() == b.x() && a.y() == b.y() && a.width() == b.width()
               && a.height() == b.height();
    };
    for (int i = 0; i < 200; ++i) {
        const float x = float(i * 37 % 101) - 50.3f, y = float(i * 53 % 97) * 1.7f;
        const float w = float(i % 13) - 4.5f + (i % 7 == 0 ? 4.5f : 0);
        const Placed p = place(g, x, y, w, x + 3, y - 2, w * 2);
        EXPECT_TRUE(same(p.startRect, p.startMatrix.map(g.samplePath).boundingRect())) << i;
        EXPECT_TRUE(same(p.endRect, p.endMatrix.map(g.samplePath).boundingRect())) << i;
        const int covering = p.startRect.contains(p.endRect)   ? OxPathBuilder::kStartNibCoversEnd
                             : p.endRect.contains(p.startRect) ? OxPathBuilder::kEndNibCoversStart
                                                               : OxPathBuilder::kSeparateNibs;
        EXPECT_EQ(p.placement, covering) << i;
    }
}

TEST(OxPathBuilderBegin, ALoneOrCoveringNibIsTheOutlineAndHoldsTheAnchor)
{
    Generator g;
    const QRectF r = g.addSegment(10, 10, 3, 10, 10, 3);  // no length: the nib alone
    expectRectNear(r, QRectF(7, 7, 6, 6), 1e-6);
    EXPECT_EQ(g.getOutlinePath().fillRule(), Qt::WindingFill);
    EXPECT_EQ(g.getOutlinePath().boundingRect(), r);
    EXPECT_TRUE(g.leftSide.isEmpty() && g.rightSide.isEmpty());

    // The end nib (radius 20) contains the start nib (radius 1) a unit away.
    Generator covered;
    covered.addSegment(0, 0, 1, 1, 0, 20);
    EXPECT_NEAR(covered.getOutlinePath().boundingRect().width(), 40, 1e-6);
    EXPECT_EQ(covered.anchorX, 0);
    // The next segment begins from the anchor, not from its own start.
    covered.addSegment(1, 0, 20, 100, 0, 20);
    ASSERT_EQ(covered.lastCorners.size(), 4);
    EXPECT_NEAR(covered.lastCorners[0].x(), 0, 1e-6);  // start-right on the anchor's small nib
    EXPECT_NEAR(covered.lastCorners[0].y(), 1, 1e-6);
}

TEST(OxPathBuilderExtend, StraightRunJoinsWithPlainLines)
{
    Generator g;
    g.addSegment(0, 0, 5, 10, 0, 5);
    EXPECT_EQ(g.leftSide.elementCount(), 2);
    EXPECT_EQ(g.rightSide.elementCount(), 2);
    for (int x = 10; x < 50; x += 10)  // the new piece and its end cap only
        expectRectNear(g.addSegment(x, 0, 5, x + 10, 0, 5), QRectF(x, -5, 15, 10), 1e-6);
    EXPECT_EQ(g.leftSide.elementCount(), 6);
    EXPECT_EQ(g.rightSide.elementCount(), 6);
    expectRectNear(g.getOutlinePath().boundingRect(), QRectF(-5, -5, 60, 10), 1e-6);
}

TEST(OxPathBuilderExtend, TurnsAndReversalsWalkTheNibOnTheOuterSide)
{
    Generator g;
    g.addSegment(0, 0, 5, 20, 0, 5);
    // Turn down the screen: a right turn, so the left side is outside.
    g.addSegment(20, 0, 5, 20, 20, 5);
    EXPECT_GT(g.leftSide.elementCount(), 2 + 2);   // walked along the nib, then to the end
    EXPECT_EQ(g.rightSide.elementCount(), 2 + 2);  // straight to the new start, then the end
    // No outline point lies beyond the nib's reach (the flattened circle is off by < 0.01); the
    // outer corner follows the nib round (20 + 5 cos a, -5 sin a).
    const QPainterPath outline = g.getOutlinePath();
    int onCorner = 0;
    for (int i = 0; i < outline.elementCount(); ++i) {
        const QPointF p = outline.elementAt(i);
        const double toFirst = std::hypot(std::max(0.0, std::max(p.x() - 20, -p.x())), p.y());
        const double toSecond = std::hypot(p.x() - 20, std::max(0.0, std::max(p.y() - 20, -p.y())));
        EXPECT_LE(std::min(toFirst, toSecond), 5.01);
        onCorner += p.x() > 20 && p.y() < 0 && std::abs(std::hypot(p.x() - 20, p.y()) - 5) < 0.01;
    }
    EXPECT_GT(onCorner, 10);

    Generator back;
    back.addSegment(0, 0, 5, 20, 0, 5);
    const int previousEndRight = back.lastEndRight;
    back.addSegment(20, 0, 5, 0, 0, 5);
    // Travelling back, the new left tangent point is the old right one.
    EXPECT_EQ(back.sections[0].rightIndex, previousEndRight);
    EXPECT_GT(back.leftSide.elementCount(), 4);
    EXPECT_NEAR(back.getOutlinePath().boundingRect().right(), 25, 1e-6);
}

TEST(OxPathBuilderExtend, DroppedSegmentLeavesTheOutlineAlone)
{
    Generator g;
    g.addSegment(0, 0, 5, 20, 0, 5);
    const QPainterPath left = g.leftSide, right = g.rightSide, outline = g.getOutlinePath();
    const int endLeft = g.lastEndLeft;
    // A tiny step with a growing width: the end nib covers the start nib.
    EXPECT_TRUE(g.addSegment(20, 0, 5, 20.5f, 0, 8).isEmpty());
    EXPECT_EQ(g.leftSide, left);
    EXPECT_EQ(g.rightSide, right);
    EXPECT_EQ(g.getOutlinePath(), outline);
    EXPECT_EQ(g.lastEndLeft, endLeft);
    EXPECT_TRUE(g.anchorHeld);
    EXPECT_EQ(g.anchorX, 20);
    // The next segment spans the dropped one.
    EXPECT_FALSE(g.addSegment(20.5f, 0, 8, 40, 0, 5).isEmpty());
    EXPECT_FALSE(g.anchorHeld);
    EXPECT_EQ(g.anchorX, 40);
}

TEST(OxPathBuilderContinue, TheNextSegmentJoinsTheGivenCorners)
{
    Generator g;
    g.addSegment(0, 0, 5, 20, 0, 5);
    const QPolygonF corners = g.lastCorners;
    const int endRight = g.lastEndRight, endLeft = g.lastEndLeft;
    const int nibPoints = g.samplePoints.size();

    // Unusable corners are refused and change nothing.
    Generator h = g;
    EXPECT_FALSE(h.continueFromCorners(QPolygonF({QPointF(0, 0)}), endRight, endLeft));
    EXPECT_FALSE(h.continueFromCorners(corners, -1, endLeft));
    EXPECT_FALSE(h.continueFromCorners(corners, endRight, nibPoints));
    EXPECT_EQ(h.lastCorners, corners);

    // The corners the builder left itself: the stroke goes on as if nothing happened.
    ASSERT_TRUE(h.continueFromCorners(corners, endRight, endLeft));
    EXPECT_EQ(h.addSegment(20, 0, 5, 30, 10, 5), g.addSegment(20, 0, 5, 30, 10, 5));
    EXPECT_EQ(h.getOutlinePath(), g.getOutlinePath());

    // Corners turned the other way round make the next segment join them instead.
    Generator turned;
    turned.addSegment(0, 0, 5, 20, 0, 5);
    ASSERT_TRUE(turned.continueFromCorners(QPolygonF({corners[2], corners[3], corners[0],
                                                      corners[1]}),
                                           endLeft, endRight));
    turned.addSegment(20, 0, 5, 30, 10, 5);
    EXPECT_NE(turned.getOutlinePath(), g.getOutlinePath());
}

TEST(OxPathBuilderBadInput, UnusableSegmentsAreDropped)
{
    Generator noNib(false), dot(false);
    EXPECT_TRUE(noNib.addSegment(0, 0, 5, 10, 0, 5).isNull());
    EXPECT_TRUE(noNib.getOutlinePath().isEmpty());
    // A nib of a single point cannot sweep an outline.
    QPainterPath single;
    single.moveTo(1, 1);
    dot.setSamplePath(single, 40);
    EXPECT_TRUE(dot.addSegment(0, 0, 5, 10, 0, 5).isNull());

    Generator g;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_TRUE(g.addSegment(nan, 0, 5, 10, 0, 5).isNull());
    EXPECT_TRUE(g.addSegment(0, 0, inf, 10, 0, 5).isNull());
    EXPECT_TRUE(g.getOutlinePath().isEmpty());
    g.addSegment(0, 0, 5, 10, 0, 5);
    const QPainterPath before = g.getOutlinePath();
    EXPECT_TRUE(g.addSegment(10, 0, 5, 20, nan, 5).isNull());
    EXPECT_FALSE(g.anchorHeld);
    EXPECT_EQ(g.getOutlinePath(), before);
}
