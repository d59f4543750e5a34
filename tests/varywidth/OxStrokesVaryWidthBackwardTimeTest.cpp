#include "EngineStroke.h"
#include "OxStrokesVaryWidthBackwardTime.h"

#include <gtest/gtest.h>

namespace {
struct Brush : OxStrokesVaryWidthBackwardTime
{
    using OxStrokesVaryWidthBackwardTime::backwardDuration;
    using OxStrokesVaryWidthBackwardTime::backwardInfos;
    using OxStrokesVaryWidthBackwardTime::backwardRect;
    using OxStrokesVaryWidthBackwardTime::lastDrawnIndex;
    using OxStrokesVaryWidthBackwardTime::smoothedPoints;
};

struct Stroke : EngineStroke<Brush>
{
    Stroke() : EngineStroke<Brush>(10) {}
    QRectF batch(QList<QPointF> samples, int ms)
    {
        return engine.creatingOnlyBackward(points, samples, atTime(ms), width);
    }
    QRectF endBatch(QPointF p, int ms)
    {
        return engine.endCreateOnlyBackward(points, path, p, atTime(ms), width);
    }
    // A zig-zag line sampled every 4 units and 10 ms; without times every call says nothing.
    void drawZigzag(int samples, bool timed = true)
    {
        const Params none{{QStringLiteral("unused"), 0}};
        engine.startCreate(points, path, QPointF(0, 0), timed ? atTime(0) : none, width);
        for (int i = 1; i < samples; ++i)
            engine.creating(points, path, QPointF(i * 4, (i % 2) * 2),
                            timed ? atTime(i * 10) : none, width);
    }
    // One sample per batch, 5 units and 10 ms apart.
    void drawBatches(int batches)
    {
        start(QPointF(0, 0), 0);
        for (int i = 1; i <= batches; ++i)
            batch({QPointF(i * 5, 0)}, i * 10);
    }
};
} // namespace

TEST(OxStrokesVaryWidthBackwardTimePhases, TailCoversTheLastHundredMilliseconds)
{
    Stroke s;
    s.drawZigzag(50);
    const auto &sm = s.engine.smoothedPoints;
    ASSERT_FALSE(s.engine.backwardInfos.isEmpty());
    // Radii fall from half the width where the window begins to a quarter at the newest point.
    EXPECT_FLOAT_EQ(s.engine.backwardInfos.first().startRadius, 5);
    EXPECT_FLOAT_EQ(s.engine.backwardInfos.last().endRadius, 2.5f);
    const int first = s.engine.lastDrawnIndex;
    EXPECT_LE(sm.back().time - sm[size_t(first)].time, 100);
    EXPECT_GT(sm.back().time - sm[size_t(first) - 1].time, 100);
    // The centre line follows the committed smoothed points.
    EXPECT_EQ(s.path.elementCount(), first + 1);
    EXPECT_FALSE(s.engine.getPathWhole().isEmpty());

    s.end(QPointF(200, 0), 500);
    EXPECT_TRUE(s.engine.getBackwardPaths().isEmpty());
    EXPECT_FLOAT_EQ(s.points.back().pressure, 0.5f);
    EXPECT_EQ(s.path.elementCount(), int(s.points.size()));

    // A tap is closed 10 ms after it began.
    Stroke tap;
    tap.start(QPointF(7, 7), 400);
    tap.end(QPointF(7, 7), 900);
    EXPECT_EQ(positions(tap.points), (std::vector<QPointF>{QPointF(7, 7), QPointF(8, 8)}));
    EXPECT_EQ(times(tap.points), (std::vector<double>{400, 410}));
    EXPECT_EQ(tap.engine.smoothedPoints.size(), 2u);
}

TEST(OxStrokesVaryWidthBackwardTimePhases, WithoutTimeTheWholeStrokeIsOneTail)
{
    Stroke s;
    s.drawZigzag(30, false);
    EXPECT_TRUE(s.engine.getPathWhole().isEmpty());
    EXPECT_EQ(s.path.elementCount(), 1);
    EXPECT_EQ(s.engine.lastDrawnIndex, 0);
    EXPECT_EQ(s.engine.backwardInfos.first().startPoint, QPointF(0, 0));
    const QRectF tail = s.engine.getBackwardPaths().at(0).boundingRect();
    s.engine.endCreate(s.points, s.path, QPointF(130, 0), {}, s.width);
    EXPECT_TRUE(s.engine.getBackwardPaths().isEmpty());
    EXPECT_TRUE(s.engine.getPathWhole().boundingRect().contains(tail.adjusted(1, 1, -1, -1)));
}

TEST(OxStrokesVaryWidthBackwardTimePhases, NoTailWhenTheWindowHoldsOnePosition)
{
    // Every smoothed point before the newest one is more than 100 ms old: all are committed.
    Stroke s;
    s.start(QPointF(0, 0), 0);
    s.move(QPointF(5, 0), 1000);
    s.move(QPointF(10, 0), 2000);
    EXPECT_EQ(s.engine.lastDrawnIndex, int(s.engine.smoothedPoints.size()) - 1);
    EXPECT_TRUE(s.engine.backwardInfos.isEmpty());
    EXPECT_TRUE(s.engine.getBackwardPaths().at(0).isEmpty());
}

TEST(OxStrokesVaryWidthBackwardTimeBatches, RawBatchesKeepSamplesFartherThanATenthApart)
{
    Stroke s;
    s.start(QPointF(0, 0), 0);
    QList<QPointF> raw{QPointF(0.09, 0), QPointF(0.125, 0), QPointF(0.25, 0)};
    EXPECT_FALSE(s.engine.creatingYuanShi(s.points, raw, atTime(10), s.width).isNull());
    EXPECT_EQ(positions(s.points), (std::vector<QPointF>{QPointF(0, 0), QPointF(0.125, 0),
                                                         QPointF(0.25, 0)}))
        << "a sample 0.09 from the last one kept must be dropped, one 0.125 away kept";
}

// While the stroke is young (fewer than 30 points) its tail reaches back 500 ms: at 520 ms, to the
// sample of 20 ms, not to the first.
TEST(OxStrokesVaryWidthBackwardTimeBatches, TheYoungStrokesTailCoversFiveHundredMilliseconds)
{
    Stroke s;
    s.start(QPointF(0, 0), 0);
    for (int i = 1; i <= 26; ++i)
        s.batch({QPointF(i * 5, 0)}, i * 20);
    ASSERT_EQ(s.engine.getBackwardPaths().size(), 1);
    const QPainterPath tail = s.engine.getBackwardPaths()[0];
    EXPECT_TRUE(tail.contains(QPointF(6, 0))) << "the tail must reach the sample 500 ms old";
    EXPECT_FALSE(tail.contains(QPointF(-1, 0))) << "the tail must not reach the first sample";
}

TEST(OxStrokesVaryWidthBackwardTimeBatches, WindowSwitchesAtThirtyRawPoints)
{
    // 28 samples 10 ms apart: 29 raw points keep the 500 ms window, the 30th switches to 200.
    Stroke s;
    s.drawBatches(28);
    EXPECT_EQ(s.engine.lastDrawnIndex, 0);  // 280 ms: all inside 500 ms
    s.batch({QPointF(29 * 5, 0)}, 290);
    EXPECT_EQ(s.points.size(), 30u);
    EXPECT_EQ(s.engine.smoothedPoints[size_t(s.engine.lastDrawnIndex)].time, 90);
    EXPECT_EQ(s.engine.backwardDuration, 100.0);  // restored after every call
    EXPECT_TRUE(s.engine.getPathWhole().isEmpty());  // nothing goes to the body
}

TEST(OxStrokesVaryWidthBackwardTimeBatches, EndOnlyBackwardLeavesPressuresAndBodyAlone)
{
    Stroke s;
    s.drawBatches(40);
    const QRectF lastTail = s.engine.backwardRect;
    EXPECT_TRUE(s.endBatch(QPointF(210, 0), 420).contains(lastTail));
    EXPECT_EQ(s.engine.getBackwardPaths().size(), 1);  // the final tail stays
    EXPECT_TRUE(s.engine.getPathWhole().isEmpty());
    EXPECT_EQ(s.path.elementCount(), 1);
    for (const OxInkPoint &p : s.points)
        EXPECT_EQ(p.pressure, -0.5f);
    EXPECT_EQ(s.engine.backwardRect, lastTail);
    // Ending again with nothing new: no tail, the old rectangle reported.
    EXPECT_EQ(s.endBatch(QPointF(210, 0), 430), lastTail);
    EXPECT_TRUE(s.engine.getBackwardPaths().isEmpty());
}

TEST(OxStrokesVaryWidthBackwardTimeFitted, ExtraSamplesSteerTheCurve)
{
    Stroke plain, fitted;
    for (Stroke *s : {&plain, &fitted}) {
        s->start(QPointF(0, 0), 0);
        s->move(QPointF(20, 0), 10);
    }
    plain.move(QPointF(40, 0), 20);
    QList<QPointF> bulge{QPointF(25, 6), QPointF(30, 8), QPointF(35, 6)};
    fitted.engine.creating(fitted.points, fitted.path, bulge, QPointF(40, 0), atTime(20), 10);
    // points gets the new sample, then the extra ones (stamped 0).
    ASSERT_EQ(fitted.points.size(), 6u);
    EXPECT_EQ(fitted.points[2].x, 40);
    EXPECT_EQ(fitted.points[3].time, 0);
    const auto top = [](const Stroke &s) {
        float y = 0;
        for (const OxInkPoint &p : s.engine.smoothedPoints)
            y = std::max(y, p.y);
        return y;
    };
    EXPECT_EQ(top(plain), 0);
    EXPECT_GT(top(fitted), 3);
}
