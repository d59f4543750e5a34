#include "FillStroke.h"

TEST(OxFillBackwardOnly, BatchTimesAreSpreadInTruncatedSteps)
{
    FillStroke s;
    s.start(QPointF(0, 0), 1000);
    // (2.5, 0) lies within 1.0 of the kept (2, 0); the NaN sample is no position at all.
    const QRectF r = s.batch({QPointF(2, 0), QPointF(2.5, 0), QPointF(kNaN, 0), QPointF(4, 0),
                              QPointF(6, 0), QPointF(8, 0)},
                             1010);
    EXPECT_EQ(positions(s.points), (std::vector<QPointF>{QPointF(0, 0), QPointF(2, 0),
                                                         QPointF(4, 0), QPointF(6, 0),
                                                         QPointF(8, 0)}));
    EXPECT_EQ(times(s.points), (std::vector<double>{1000, 1002, 1004, 1006, 1008}));
    // Younger than 300 ms: the whole stroke is the tail, reported without a margin.
    EXPECT_EQ(s.engine.lastDrawnIndex, 0);
    EXPECT_EQ(r, s.engine.getPathWhole().boundingRect());
    EXPECT_NEAR(r.left(), -3, 1e-4);
    EXPECT_EQ(s.engine.backwardRect, r);
}

TEST(OxFillBackwardOnly, TailStartsAtTheNewestPointOlderThan300Ms)
{
    FillStroke s;
    s.start(QPointF(0, 0), 0);
    QRectF previous;
    int previousStart = 0;
    for (int k = 1; k <= 12; ++k) {
        const int now = 100 * k;
        const QRectF r = s.batch({QPointF(10 * k, 3 * (k % 2))}, now);
        const auto &line = s.engine.smoothedPoints;
        const int tail = s.engine.lastDrawnIndex;
        ASSERT_GE(tail, previousStart);
        if (now < 300) {
            EXPECT_EQ(tail, 0);
        } else {
            EXPECT_LE(line[size_t(tail)].time, now - 300.0);
            for (size_t i = size_t(tail) + 1; i + 1 < line.size(); ++i)
                EXPECT_GT(line[i].time, now - 300.0);
        }
        const QRectF tailBounds = s.engine.getPathWhole().boundingRect();
        EXPECT_NEAR(tailBounds.left(), line[size_t(tail)].x - 3, 0.01);
        EXPECT_EQ(r, previous.isEmpty() ? tailBounds : (tailBounds | previous));
        previous = r;
        previousStart = tail;
    }
    EXPECT_GT(previousStart, 0);
}

TEST(OxFillBackwardOnly, BatchWithNothingUsableChangesNothing)
{
    FillStroke s;
    s.start(QPointF(0, 0), 0);
    s.batch({QPointF(10, 0), QPointF(20, 0)}, 50);
    const auto outline = elements(s.engine.getPathWhole());
    const QRectF reported = s.engine.backwardRect;
    EXPECT_TRUE(s.batch({}, 60).isNull());
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(s.batch({QPointF(20.5, 0.5), QPointF(kNaN, 1), QPointF(inf, 0)}, 70).isNull());
    EXPECT_EQ(s.points.size(), 3u);
    EXPECT_EQ(elements(s.engine.getPathWhole()), outline);
    EXPECT_EQ(s.engine.backwardRect, reported);
}


TEST(OxFillBackwardOnly, EndOutlinesTheLastTailAndHandsOverTheSmoothedLine)
{
    FillStroke s;
    s.start(QPointF(0, 0), 0);
    for (int k = 1; k <= 6; ++k)
        s.batch({QPointF(10 * k - 5, 0), QPointF(10 * k, 0)}, 100 * k);
    const QRectF previous = s.engine.backwardRect;
    const int tailStart = s.engine.lastDrawnIndex;
    ASSERT_GT(tailStart, 0);
    const float tailX = s.engine.smoothedPoints[size_t(tailStart)].x;

    const QRectF r = s.endBatch(QPointF(70, 0), 700);
    EXPECT_EQ(s.engine.smoothedPoints.back().x, 70);
    EXPECT_EQ(s.engine.smoothedPoints.back().time, 700);
    EXPECT_EQ(positions(s.points), positions(s.engine.smoothedPoints));
    EXPECT_EQ(s.engine.lastDrawnIndex, int(s.points.size()) - 1);
    const QRectF tail = s.engine.getPathWhole().boundingRect();
    EXPECT_NEAR(tail.left(), tailX - 3, 0.01);   // the tail start is not searched again
    EXPECT_NEAR(tail.right(), 73, 0.01);
    EXPECT_EQ(r, tail | previous);
    EXPECT_EQ(s.path.elementCount(), 1);   // only the start's moveTo: path is not used

    // Ending again outlines nothing new but still reports the previous area.
    EXPECT_EQ(s.endBatch(QPointF(70.5, 0), 710), r);
}
