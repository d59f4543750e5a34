#include "GatewayOutputs.h"
#include "OxStrokesVaryWidthPressure.h"
#include "TestData.h"

#include <QTime>
#include <gtest/gtest.h>

namespace {
Host configured(int penType, float width = 6)
{
    Host h;
    EXPECT_TRUE(h.gateway.setEnvironmentPara(1, 1, width, penType));
    return h;
}

int millisecondsOfDay()
{
    return QTime(0, 0).msecsTo(QTime::currentTime());
}
} // namespace

TEST(OxSketchCalls, PositionsAreRoundedHalvesUp)
{
    Host h = configured(1);
    h.start(0, 0, 1);
    h.move(2.5f, -2.5f);
    EXPECT_EQ(h.gateway.points.back().x, 3);
    EXPECT_EQ(h.gateway.points.back().y, -2);
    h.move(10.4f, -0.4f);
    EXPECT_EQ(h.gateway.points.back().x, 10);
    EXPECT_EQ(h.gateway.points.back().y, 0);
    // endSketch rounds too: (20.49, 0.5) arrives as (20, 1).
    h.end(20.49f, 0.5f);
    EXPECT_EQ(h.gateway.points.back().x, 20);
    EXPECT_EQ(h.gateway.points.back().y, 1);
}

TEST(OxSketchCalls, TimeStampsOrTheTimeOfDay)
{
    Host h = configured(2);
    h.start(0, 0, 1);
    EXPECT_EQ(h.gateway.points[0].time, 1);
    const int before = millisecondsOfDay();
    h.start(0, 0, 0);
    const double stamped = h.gateway.points[0].time;
    EXPECT_GE(stamped, before - 5);
    EXPECT_LT(stamped, 86400000);
    // sketching always stamps the time of day.
    h.move(40, 0);
    EXPECT_GE(h.gateway.points.back().time, before - 5);
}

TEST(OxSketchCalls, FilledPenHandsOutItsCentreLine)
{
    Host h = configured(1);
    Outputs o = h.start(10, 10, 1);
    ASSERT_EQ(o.pathCount, 1);
    EXPECT_EQ(o.pathSizes[0], 1);
    EXPECT_EQ(o.coords[0], 10);
    o.expectConsistent();
    o = h.move(30, 10);
    EXPECT_EQ(o.pointCount, 2);
    EXPECT_EQ(o.rect(), QRectF(QPointF(3, 3), QPointF(37, 17)));    // outline bounds grown by 4
    o.expectConsistent();

    // endSketch3 on the filled pen calls nothing and leaves the rectangle outputs alone.
    const auto points = h.gateway.points.size();
    o = h.endWithTime(3, 50, 10, 9);
    EXPECT_EQ(o.left, -7);
    EXPECT_EQ(o.height, -7);
    EXPECT_EQ(h.gateway.points.size(), points);
    EXPECT_EQ(o.pointCount, 2);
}

TEST(OxSketchCalls, FilledPenWithNoPointsHasOneEmptyPath)
{
    Host h = configured(1);
    const Outputs o = h.endWithTime(3, 50, 10, 9);
    EXPECT_EQ(o.pathCount, 1);
    EXPECT_EQ(o.pathSizes[0], 0);
    EXPECT_EQ(o.pointCount, 0);
    EXPECT_EQ(o.coords, nullptr);
}

TEST(OxSketchCalls, BrushEndSketch2ReportsTheWholeOutlineGrown)
{
    Host h = configured(2, 8);
    h.start(0, 0, 1000);
    for (int i = 1; i < 30; ++i)
        h.move(i * 6, (i % 2) * 3);
    const Outputs o = h.endWithTime(2, 180, 0, 99000);
    const QPainterPath whole =
        static_cast<OxStrokesVaryWidthPressure *>(h.gateway.engine)->getPathWhole();
    const QRectF expected = whole.boundingRect().adjusted(-8, -8, 8, 8);
    EXPECT_TRUE(o.rect().adjusted(-1e-3, -1e-3, 1e-3, 1e-3).contains(expected));
    EXPECT_EQ(o.pathCount, 1);                 // the body; the tail list is empty now
    o.expectConsistent();
}

TEST(OxSketchCalls, BackwardOnlyStrokeAccumulatesItsRectangles)
{
    Host first = configured(2, 6);
    Host second = configured(2, 6);
    const Outputs start = first.start(0, 0, 1000);
    float xy[] = {10, 0, 20, 0, 30, 0};
    long long times[] = {1060, 1, 2};
    const Outputs batch = first.batch(3, xy, times);
    EXPECT_FALSE(batch.rect().isEmpty());
    EXPECT_EQ(batch.pathCount, 1);             // the tail (the body stays empty)
    batch.expectConsistent();
    const Outputs end = first.endWithTime(3, 40, 0, 1080);
    EXPECT_TRUE(end.rect().contains(start.rect()));
    EXPECT_TRUE(end.rect().contains(batch.rect()));
    end.expectConsistent();

    // The rectangle is one per process: a startSketch on another gateway resets it.
    first.start(0, 0, 1000);
    first.batch(3, xy, times);
    const Outputs elsewhere = second.start(-100, -100, 1);
    const Outputs reset = first.endWithTime(3, 40, 0, 1080);
    EXPECT_TRUE(reset.rect().contains(elsewhere.rect()));
}

TEST(OxSketchCalls, EmptyOrUnreadableBatches)
{
    Host h = configured(1);
    h.start(0, 0, 1);
    float xy[] = {0.2f, 0.2f};
    EXPECT_TRUE(h.batch(0, xy, nullptr).untouched());
    EXPECT_TRUE(h.batch(1, nullptr, nullptr).untouched());
    // Too close to the last point: nothing drawn, the rectangle outputs are zeroed.
    const Outputs close = h.batch(1, xy, nullptr);
    EXPECT_EQ(close.rect(), QRectF(0, 0, 0, 0));
    close.expectConsistent();
    // A null times array stamps the time of day.
    float far[] = {30, 0};
    EXPECT_FALSE(h.batch(1, far, nullptr).rect().isEmpty());
    const Outputs end = h.endWithTime(4, 40, 0, 5);
    EXPECT_EQ(end.pathCount, 1);               // the filled outline
    end.expectConsistent();
}

TEST(OxSketchCalls, RecordedStrokesKeepTheExportConsistent)
{
    for (int penType : {1, 2}) {
        for (const RecordedStroke &stroke : loadStrokes("pf-recorded.txt")) {
            Host h = configured(penType, 5);
            h.start(float(stroke[0].x), float(stroke[0].y), stroke[0].timeMs + 1);
            for (size_t i = 1; i + 1 < stroke.size(); ++i) {
                const Outputs o = h.move(float(stroke[i].x), float(stroke[i].y));
                o.expectConsistent();
                EXPECT_TRUE(std::isfinite(o.left) && std::isfinite(o.width));
            }
            const RecordedSample &last = stroke.back();
            h.endWithTime(2, float(last.x), float(last.y), last.timeMs + 1).expectConsistent();
        }
    }
}
