#include "OxStrokesVaryWidthBackwardTime.h"
#include "TestData.h"

#include <gtest/gtest.h>

namespace {
struct Brush : OxStrokesVaryWidthBackwardTime
{
    using OxStrokesVaryWidthBackwardTime::backwardDuration;
    using OxStrokesVaryWidthBackwardTime::backwardInfos;
    using OxStrokesVaryWidthBackwardTime::backwardPaths;
    using OxStrokesVaryWidthBackwardTime::backwardRect;
    using OxStrokesVaryWidthBackwardTime::lastDrawnIndex;
    using OxStrokesVaryWidthBackwardTime::smoothedPoints;
};

QMap<QString, QVariant> at(int time)
{
    return {{QStringLiteral("time"), time}};
}

struct Stroke
{
    Brush engine;
    std::vector<OxInkPoint> points;
    QPainterPath path;
    float width = 10;

    QRectF start(QPointF p, int t) { return engine.startCreate(points, path, p, at(t), width); }
    QRectF move(QPointF p, int t) { return engine.creating(points, path, p, at(t), width); }
    QRectF end(QPointF p, int t) { return engine.endCreate(points, path, p, at(t), width); }
    QRectF batch(QList<QPointF> samples, int t)
    {
        return engine.creatingOnlyBackward(points, samples, at(t), width);
    }
    QRectF raw(QList<QPointF> samples, int t)
    {
        return engine.creatingYuanShi(points, samples, at(t), width);
    }
};

// A zig-zag line sampled every 4 units and 10 ms.
void drawTimed(Stroke &s, int samples, const QMap<QString, QVariant> &params = {})
{
    const bool timed = params.isEmpty();
    s.engine.startCreate(s.points, s.path, QPointF(0, 0), timed ? at(0) : params, s.width);
    for (int i = 1; i < samples; ++i)
        s.engine.creating(s.points, s.path, QPointF(i * 4, (i % 2) * 2),
                          timed ? at(i * 10) : params, s.width);
}
} // namespace

TEST(OxStrokesVaryWidthBackwardTimePhases, TailCoversTheLastHundredMilliseconds)
{
    Stroke s;
    drawTimed(s, 50);
    const auto &sm = s.engine.smoothedPoints;
    const double newest = sm.back().time;
    ASSERT_FALSE(s.engine.backwardInfos.isEmpty());
    // Radii fall from half the width where the window begins to a quarter at the newest point.
    EXPECT_FLOAT_EQ(s.engine.backwardInfos.first().startRadius, 5);
    EXPECT_FLOAT_EQ(s.engine.backwardInfos.last().endRadius, 2.5f);
    const int first = s.engine.lastDrawnIndex;
    EXPECT_LE(newest - sm[size_t(first)].time, 100);
    EXPECT_GT(newest - sm[size_t(first) - 1].time, 100);
    // The centre line follows the committed smoothed points.
    EXPECT_EQ(s.path.elementCount(), first + 1);
    EXPECT_FALSE(s.engine.getPathWhole().isEmpty());

    s.end(QPointF(200, 0), 500);
    EXPECT_TRUE(s.engine.backwardPaths.isEmpty());
    EXPECT_FLOAT_EQ(s.points.back().pressure, 0.5f);
    EXPECT_EQ(s.path.elementCount(), int(s.points.size()));
}

TEST(OxStrokesVaryWidthBackwardTimePhases, WithoutTimeTheWholeStrokeIsOneTail)
{
    Stroke s;
    drawTimed(s, 30, {{QStringLiteral("unused"), 0}});
    EXPECT_TRUE(s.engine.getPathWhole().isEmpty());
    EXPECT_EQ(s.path.elementCount(), 1);
    EXPECT_EQ(s.engine.lastDrawnIndex, 0);
    EXPECT_EQ(s.engine.backwardInfos.first().startPoint, QPointF(0, 0));
    const QRectF tail = s.engine.backwardPaths.at(0).boundingRect();
    s.engine.endCreate(s.points, s.path, QPointF(130, 0), {}, s.width);
    EXPECT_TRUE(s.engine.backwardPaths.isEmpty());
    EXPECT_TRUE(s.engine.getPathWhole().boundingRect().contains(tail.adjusted(1, 1, -1, -1)));
}

TEST(OxStrokesVaryWidthBackwardTimePhases, OldPointsAreCommittedWithoutTail)
{
    Stroke s;
    s.start(QPointF(0, 0), 0);
    s.move(QPointF(5, 0), 1000);
    s.move(QPointF(10, 0), 2000);
    // Every smoothed point before the newest one is more than 100 ms old.
    EXPECT_EQ(s.engine.lastDrawnIndex, int(s.engine.smoothedPoints.size()) - 1);
    EXPECT_TRUE(s.engine.backwardInfos.isEmpty());
    EXPECT_TRUE(s.engine.backwardPaths.at(0).isEmpty());
}

TEST(OxStrokesVaryWidthBackwardTimePhases, WindowOfOnePositionHasNoTailAndNoCommit)
{
    Brush e;
    std::vector<OxInkPoint> pts{OxInkPoint(1, 1, 0, 0, 0, 0), OxInkPoint(1, 1, 50, 0, 0, 0),
                                OxInkPoint(1, 1, 60, 0, 0, 0)};
    QVector<OxBackwardInfo> infos;
    int index = 0;
    struct Open : Brush
    {
        using Brush::prepareBackwardPath;
    };
    EXPECT_FALSE(static_cast<Open &>(e).prepareBackwardPath(infos, pts, index, QPointF(), 10));
    EXPECT_TRUE(infos.isEmpty());
    EXPECT_EQ(index, 0);
}

TEST(OxStrokesVaryWidthBackwardTimePhases, TapIsStampedTenMillisecondsLater)
{
    Stroke s;
    s.start(QPointF(7, 7), 400);
    s.end(QPointF(7, 7), 900);
    ASSERT_EQ(s.points.size(), 2u);
    EXPECT_EQ(s.points[1].time, 410);
    EXPECT_EQ(s.points[1].x, 8);
    EXPECT_EQ(s.engine.smoothedPoints.size(), 2u);
}

TEST(OxStrokesVaryWidthBackwardTimeBatches, TimeStampsAreSpreadOverTheBatch)
{
    Stroke s;
    s.start(QPointF(0, 0), 1000);
    s.batch({QPointF(10, 0), QPointF(20, 0), QPointF(30, 0)}, 1100);
    ASSERT_EQ(s.points.size(), 4u);
    EXPECT_EQ(s.points[1].time, 1033);
    EXPECT_EQ(s.points[2].time, 1066);
    EXPECT_EQ(s.points[3].time, 1099);
    // Raw batches keep positions farther than 0.1 apart, backward-only ones 1.0.
    const auto before = s.points.size();
    EXPECT_TRUE(s.batch({QPointF(30.5, 0), QPointF(30.9, 0)}, 1200).isNull());
    EXPECT_EQ(s.points.size(), before);
    EXPECT_FALSE(s.raw({QPointF(30.5, 0), QPointF(30.55, 0), QPointF(30.9, 0)}, 1200).isNull());
    EXPECT_EQ(s.points.size(), before + 2);
}

TEST(OxStrokesVaryWidthBackwardTimeBatches, WindowSwitchesAtThirtyRawPoints)
{
    // 28 samples 10 ms apart: 29 raw points keep the 500 ms window, the 30th switches to 200.
    Stroke s;
    s.start(QPointF(0, 0), 0);
    for (int i = 1; i <= 28; ++i)
        s.batch({QPointF(i * 5, 0)}, i * 10);
    EXPECT_EQ(s.engine.lastDrawnIndex, 0);          // 280 ms: all inside 500 ms
    s.batch({QPointF(29 * 5, 0)}, 290);
    EXPECT_EQ(s.points.size(), 30u);
    EXPECT_EQ(s.engine.smoothedPoints[size_t(s.engine.lastDrawnIndex)].time, 90);
    EXPECT_EQ(s.engine.backwardDuration, 100.0);   // restored after every call
    EXPECT_TRUE(s.engine.getPathWhole().isEmpty());     // nothing goes to the body
}

TEST(OxStrokesVaryWidthBackwardTimeBatches, EndOnlyBackwardLeavesPressuresAndBodyAlone)
{
    Stroke s;
    s.start(QPointF(0, 0), 0);
    for (int i = 1; i <= 40; ++i)
        s.batch({QPointF(i * 5, 0)}, i * 10);
    const QRectF lastTail = s.engine.backwardRect;
    const QRectF r = s.engine.endCreateOnlyBackward(s.points, s.path, QPointF(210, 0), at(420),
                                                    s.width);
    EXPECT_TRUE(r.contains(lastTail));
    EXPECT_EQ(s.engine.backwardPaths.size(), 1);   // the final tail stays
    EXPECT_TRUE(s.engine.getPathWhole().isEmpty());
    EXPECT_EQ(s.path.elementCount(), 1);
    for (const OxInkPoint &p : s.points)
        EXPECT_EQ(p.pressure, -0.5f);
    EXPECT_EQ(s.engine.backwardRect, lastTail);
    // Ending again with nothing new: no tail, the old rectangle reported.
    EXPECT_EQ(s.engine.endCreateOnlyBackward(s.points, s.path, QPointF(210, 0), at(430), s.width),
              lastTail);
    EXPECT_TRUE(s.engine.backwardPaths.isEmpty());
}

TEST(OxStrokesVaryWidthBackwardTimeFitted, ExtraSamplesSteerTheCurve)
{
    Stroke plain, fitted;
    plain.start(QPointF(0, 0), 0);
    fitted.start(QPointF(0, 0), 0);
    plain.move(QPointF(20, 0), 10);
    fitted.move(QPointF(20, 0), 10);
    QList<QPointF> bulge{QPointF(25, 6), QPointF(30, 8), QPointF(35, 6)};
    plain.move(QPointF(40, 0), 20);
    fitted.engine.creating(fitted.points, fitted.path, bulge, QPointF(40, 0), at(20), 10);
    // points gets the new sample, then the extra ones (stamped 0).
    ASSERT_EQ(fitted.points.size(), 6u);
    EXPECT_EQ(fitted.points[2].x, 40);
    EXPECT_EQ(fitted.points[3].time, 0);
    float plainTop = 0, fittedTop = 0;
    for (const OxInkPoint &p : plain.engine.smoothedPoints)
        plainTop = std::max(plainTop, p.y);
    for (const OxInkPoint &p : fitted.engine.smoothedPoints)
        fittedTop = std::max(fittedTop, p.y);
    EXPECT_EQ(plainTop, 0);
    EXPECT_GT(fittedTop, 3);
}

TEST(OxStrokesVaryWidthBackwardTimeOwnership, CopiesKeepTheirOwnBuilders)
{
    Stroke s;
    drawTimed(s, 30);
    Brush copy(s.engine);
    std::vector<OxInkPoint> points = s.points;
    QPainterPath path;
    copy.creating(points, path, QPointF(300, 0), at(400), 10);
    copy.endCreate(points, path, QPointF(310, 0), at(410), 10);
    s.end(QPointF(130, 0), 320);
    Brush assigned;
    assigned = copy;
    assigned = assigned;
    EXPECT_EQ(assigned.getPathWhole(), copy.getPathWhole());
    EXPECT_EQ(assigned.backwardDuration, 100.0);
}
