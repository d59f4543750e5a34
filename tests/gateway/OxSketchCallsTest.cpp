// The rules of the sketch calls. The format of every exported shape (on recorded strokes, both
// pens, live and in batches) and the lone move-to of a tail without a segment are checked by the
// C interface's test (tests/capi) and the gateway fuzzer.

#include "GatewayOutputs.h"
#include "OxStrokesVaryWidthPressure.h"

#include <QTime>
#include <gtest/gtest.h>

TEST(OxSketchCalls, PositionsAreRoundedHalvesUp)
{
    Host h(1);
    h.start(0, 0, 1);
    const auto last = [&] { return QPointF(h.gateway.points.back().x, h.gateway.points.back().y); };
    h.move(2.5f, -2.5f);
    EXPECT_EQ(last(), QPointF(3, -2));
    h.move(10.4f, -0.4f);
    EXPECT_EQ(last(), QPointF(10, 0));
    h.call(&G::endSketch, 20.49f, 0.5f);
    EXPECT_EQ(last(), QPointF(20, 1));
}

TEST(OxSketchCalls, TimeStampsOrTheTimeOfDay)
{
    Host h(2);
    h.start(0, 0, 1);
    EXPECT_EQ(h.gateway.points[0].time, 1);
    const int before = QTime(0, 0).msecsTo(QTime::currentTime());
    h.start(0, 0, 0);
    EXPECT_GE(h.gateway.points[0].time, before - 5);
    EXPECT_LT(h.gateway.points[0].time, 86400000);
    h.move(40, 0);  // always stamped with the time of day
    EXPECT_GE(h.gateway.points.back().time, before - 5);
}

TEST(OxSketchCalls, FilledPenHandsOutItsCentreLine)
{
    Host h(1);
    Outputs o = h.start(10, 10, 1);
    ASSERT_EQ(o.pathCount, 1);
    EXPECT_EQ(o.pathSizes[0], 1);
    EXPECT_EQ(o.coords[0], 10);
    o = h.move(30, 10);
    EXPECT_EQ(o.pointCount, 2);
    EXPECT_EQ(o.rect(), QRectF(QPointF(3, 3), QPointF(37, 17)));  // outline bounds grown by 4
    // endSketch3 calls nothing (and leaves the rectangle alone: tests/capi).
    const auto points = h.gateway.points.size();
    EXPECT_EQ(h.call(&G::endSketch3, 50, 10, 9LL).pointCount, 2);
    EXPECT_EQ(h.gateway.points.size(), points);
}

TEST(OxSketchCalls, BrushEndSketch2ReportsTheWholeOutlineGrown)
{
    Host h(2, 8);
    h.start(0, 0, 1000);
    for (int i = 1; i < 30; ++i)
        h.move(i * 6, (i % 2) * 3);
    const Outputs o = h.call(&G::endSketch2, 180, 0, 99000LL);
    const QPainterPath whole =
        static_cast<OxStrokesVaryWidthPressure *>(h.gateway.engine)->getPathWhole();
    const QRectF expected = whole.boundingRect().adjusted(-8, -8, 8, 8);
    EXPECT_TRUE(o.rect().adjusted(-1e-3, -1e-3, 1e-3, 1e-3).contains(expected));
    EXPECT_EQ(o.pathCount, 1);  // the body; the tail list is empty now
}

TEST(OxSketchCalls, BackwardOnlyStrokeAccumulatesItsRectangles)
{
    Host first(2), second(2);
    const Outputs start = first.start(0, 0, 1000);
    float xy[] = {10, 0, 20, 0, 30, 0};
    long long times[] = {1060, 1, 2};
    const Outputs batch = first.call(&G::sketching2, 3, xy, times);
    EXPECT_FALSE(batch.rect().isEmpty());
    EXPECT_EQ(batch.pathCount, 1);  // the tail (the body stays empty)
    const Outputs end = first.call(&G::endSketch3, 40, 0, 1080LL);
    EXPECT_TRUE(end.rect().contains(start.rect()));
    EXPECT_TRUE(end.rect().contains(batch.rect()));

    // The rectangle is one per process: a startSketch on another gateway resets it.
    first.start(0, 0, 1000);
    first.call(&G::sketching2, 3, xy, times);
    const Outputs elsewhere = second.start(-100, -100, 1);
    EXPECT_TRUE(first.call(&G::endSketch3, 40, 0, 1080LL).rect().contains(elsewhere.rect()));
}

// Empty and unreadable batches: tests/capi.
TEST(OxSketchCalls, BatchesThatDrawNothingZeroTheRectangle)
{
    Host h(1);
    h.start(0, 0, 1);
    float close[] = {0.2f, 0.2f}, far[] = {30, 0};
    const Outputs o = h.call(&G::sketching2, 1, close, nullptr);
    EXPECT_EQ(o.rect(), QRectF(0, 0, 0, 0));
    // A null times array stamps the time of day.
    EXPECT_FALSE(h.call(&G::sketching2, 1, far, nullptr).rect().isEmpty());
    const Outputs end = h.call(&G::endSketch4, 40, 0, 5LL);
    EXPECT_EQ(end.pathCount, 1);  // the filled outline
}
