#include "EngineStroke.h"
#include "OxStrokesVaryWidthBackwardExtend.h"

#include <gtest/gtest.h>

namespace {
struct Extend : OxStrokesVaryWidthBackwardExtend
{
    using OxStrokesVaryWidthBackwardExtend::backwardInfos;
    using OxStrokesVaryWidthBackwardExtend::backwardRect;
    using OxStrokesVaryWidthBackwardExtend::lastDrawnIndex;
    using OxStrokesVaryWidthBackwardExtend::prepareBackwardPath;
    using OxStrokesVaryWidthBackwardExtend::smoothedPoints;
};

// A slightly wavy line along x, a sample every step units.
void drawLine(EngineStroke<Extend> &s, int samples, double step)
{
    s.start(QPointF(0, 0));
    for (int i = 1; i < samples; ++i)
        s.move(QPointF(i * step, 0.3 * (i % 3)));
}
} // namespace

TEST(OxStrokesVaryWidthBackwardExtendTaper, RadiiGrowFromTheTip)
{
    Extend e;
    std::vector<OxInkPoint> pts;
    for (int x = 0; x <= 200; x += 10)
        pts.emplace_back(float(x), 0, 0, -0.5f, 0, 0);
    QVector<OxBackwardInfo> infos;
    int index = -1;
    // Half width 2: full after (2 - 0.1) / 0.05 = 38 units from the tip at (205, 0).
    EXPECT_TRUE(e.prepareBackwardPath(infos, pts, index, QPointF(205, 0), 4));
    ASSERT_FALSE(infos.isEmpty());
    EXPECT_FLOAT_EQ(infos.last().endRadius, 0.1f);
    EXPECT_EQ(infos.last().endPoint, QPointF(205, 0));
    EXPECT_FLOAT_EQ(infos.last().startRadius, 0.1f + 0.05f * 15);
    EXPECT_FLOAT_EQ(infos.first().startRadius, 2);
    // The tail's first point follows the last body point: pts[index + 1] at full width.
    EXPECT_EQ(infos.first().startPoint, QPointF(pts[size_t(index) + 1].x, 0));
    for (int i = 1; i < infos.size(); ++i)
        EXPECT_EQ(infos[i - 1].endPoint, infos[i].startPoint);

    // A half width of 0.1 or less has no tail at all: a stroke commits every point.
    QVector<OxBackwardInfo> none;
    EXPECT_TRUE(e.prepareBackwardPath(none, pts, index, QPointF(205, 0), 0.2f));
    EXPECT_TRUE(none.isEmpty());
    EXPECT_EQ(index, int(pts.size()) - 2);
    EngineStroke<Extend> thin(0.2f);
    drawLine(thin, 10, 5);
    EXPECT_EQ(thin.engine.lastDrawnIndex, int(thin.engine.smoothedPoints.size()) - 1);
    EXPECT_TRUE(thin.engine.getBackwardPaths().at(0).isEmpty());
}

TEST(OxStrokesVaryWidthBackwardExtendPhases, BodyGrowsBehindTheTailAndTakesItAtTheEnd)
{
    EngineStroke<Extend> s(10);
    drawLine(s, 60, 5);
    const QRectF body = s.engine.getPathWhole().boundingRect();
    EXPECT_GT(body.width(), 150);
    // The tail ends at the latest sample with radius 0.1.
    ASSERT_FALSE(s.engine.backwardInfos.isEmpty());
    EXPECT_FLOAT_EQ(s.engine.backwardInfos.last().endRadius, 0.1f);
    EXPECT_EQ(s.engine.backwardInfos.last().endPoint, QPointF(59 * 5, 0.3 * (59 % 3)));
    s.end(QPointF(300, 0));
    EXPECT_TRUE(s.engine.getBackwardPaths().isEmpty());
    EXPECT_GT(s.engine.getPathWhole().boundingRect().right(), body.right());
    // Relative widths: 1.0 on the body, 0.2 / width at the tip.
    EXPECT_FLOAT_EQ(s.points.back().pressure, 0.2f / 10);
    EXPECT_FLOAT_EQ(s.points.front().pressure, 1.0f);
    EXPECT_GT(std::count_if(s.points.begin(), s.points.end(),
                            [](const OxInkPoint &p) { return p.pressure == 1.0f; }),
              long(s.points.size()) / 2);

    // A tap: the final tail is one segment at radius 0.1 from the first point to the end sample.
    EngineStroke<Extend> tap(10);
    tap.start(QPointF(40, 40));
    tap.end(QPointF(40, 40));
    EXPECT_EQ(positions(tap.points), (std::vector<QPointF>{QPointF(40, 40), QPointF(41, 41)}));
    const QRectF outline = tap.engine.getPathWhole().boundingRect();
    EXPECT_NEAR(outline.center().x(), 40, 0.01);
    EXPECT_LT(outline.width(), 0.25);
    EXPECT_FLOAT_EQ(tap.points[1].pressure, 0.2f / 10);
}
