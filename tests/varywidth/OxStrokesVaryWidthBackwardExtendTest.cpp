#include "OxStrokesVaryWidthBackwardExtend.h"
#include "TestData.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {
struct Extend : OxStrokesVaryWidthBackwardExtend
{
    using OxStrokesVaryWidthBackwardExtend::backwardInfos;
    using OxStrokesVaryWidthBackwardExtend::backwardPaths;
    using OxStrokesVaryWidthBackwardExtend::backwardRect;
    using OxStrokesVaryWidthBackwardExtend::lastDrawnIndex;
    using OxStrokesVaryWidthBackwardExtend::pathConnector;
    using OxStrokesVaryWidthBackwardExtend::prepareBackwardPath;
    using OxStrokesVaryWidthBackwardExtend::smoothedPoints;
};

const QMap<QString, QVariant> kNoParams;

struct Stroke
{
    Extend engine;
    std::vector<OxInkPoint> points;
    QPainterPath path;
    float width = 10;

    QRectF start(QPointF p) { return engine.startCreate(points, path, p, kNoParams, width); }
    QRectF move(QPointF p) { return engine.creating(points, path, p, kNoParams, width); }
    QRectF end(QPointF p) { return engine.endCreate(points, path, p, kNoParams, width); }
};

void drawLine(Stroke &s, int samples, double step)
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

    // A half width of 0.1 or less has no tail at all.
    QVector<OxBackwardInfo> none;
    EXPECT_TRUE(e.prepareBackwardPath(none, pts, index, QPointF(205, 0), 0.2f));
    EXPECT_TRUE(none.isEmpty());
    EXPECT_EQ(index, int(pts.size()) - 2);
}

TEST(OxStrokesVaryWidthBackwardExtendPhases, FirstStepDropsTheDotUnreported)
{
    Stroke s;
    const QRectF dot = s.start(QPointF(0, 0));
    EXPECT_NEAR(dot.width(), 2 + 8, 1e-9);    // radius width / 10, margin 4
    ASSERT_EQ(s.engine.backwardPaths.size(), 1);
    const QRectF first = s.move(QPointF(30, 0));
    EXPECT_EQ(s.engine.backwardPaths.size(), 1);   // the tail replaced the dot
    EXPECT_EQ(first, s.engine.backwardRect);       // only the new tail, no dot, no body yet
    EXPECT_TRUE(s.engine.getPathWhole().isEmpty());
    // From now on the old tail's area is part of what each call repaints.
    const QRectF previousTail = s.engine.backwardRect;
    EXPECT_TRUE(s.move(QPointF(60, 0)).contains(previousTail));
}

TEST(OxStrokesVaryWidthBackwardExtendPhases, ThinPenCommitsEverything)
{
    Stroke s;
    s.width = 0.2f;
    drawLine(s, 10, 5);
    EXPECT_EQ(s.engine.lastDrawnIndex, int(s.engine.smoothedPoints.size()) - 1);
    ASSERT_EQ(s.engine.backwardPaths.size(), 1);
    EXPECT_TRUE(s.engine.backwardPaths[0].isEmpty());
}

TEST(OxStrokesVaryWidthBackwardExtendPhases, BodyGrowsBehindTheTail)
{
    Stroke s;
    drawLine(s, 60, 5);
    const QRectF body = s.engine.getPathWhole().boundingRect();
    EXPECT_GT(body.width(), 150);
    // The tail ends at the latest sample with radius 0.1.
    ASSERT_FALSE(s.engine.backwardInfos.isEmpty());
    EXPECT_FLOAT_EQ(s.engine.backwardInfos.last().endRadius, 0.1f);
    EXPECT_EQ(s.engine.backwardInfos.last().endPoint, QPointF(59 * 5, 0.3 * (59 % 3)));
    s.end(QPointF(300, 0));
    EXPECT_TRUE(s.engine.backwardPaths.isEmpty());
    EXPECT_GT(s.engine.getPathWhole().boundingRect().right(), body.right());
    // Relative widths: 1.0 on the body, 0.2 / width at the tip.
    EXPECT_FLOAT_EQ(s.points.back().pressure, 0.2f / 10);
    EXPECT_FLOAT_EQ(s.points.front().pressure, 1.0f);
    int full = 0;
    for (const OxInkPoint &p : s.points)
        full += p.pressure == 1.0f;
    EXPECT_GT(full, int(s.points.size()) / 2);
}

TEST(OxStrokesVaryWidthBackwardExtendPhases, OneSampleStroke)
{
    Stroke s;
    s.start(QPointF(40, 40));
    s.end(QPointF(40, 40));
    ASSERT_EQ(s.points.size(), 2u);
    EXPECT_EQ(s.points[1].x, 41);
    EXPECT_EQ(s.points[1].y, 41);
    // The final tail is one segment at radius 0.1 from the first point to the end sample.
    const QRectF outline = s.engine.getPathWhole().boundingRect();
    EXPECT_NEAR(outline.center().x(), 40, 0.01);
    EXPECT_LT(outline.width(), 0.25);
    EXPECT_FLOAT_EQ(s.points[1].pressure, 0.2f / 10);
}

TEST(OxStrokesVaryWidthBackwardExtendPaint, TailIsPaintedWholeBodyClipped)
{
    // Half width 8: the tail is the last (8 - 0.1) / 0.05 = 158 units, the body lies before it.
    Stroke s;
    s.width = 16;
    drawLine(s, 80, 4);
    const QRectF tailBox = s.engine.backwardPaths.at(0).boundingRect();
    ASSERT_GT(tailBox.left(), 100);

    auto paintInto = [&](QRectF rect) {
        QImage image(340, 40, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.translate(10, 20);
        s.engine.paint(&painter, rect, QBrush(Qt::black));
        return image;
    };
    // A rectangle over the start of the body misses the tail's box: only the clipped body.
    const QImage bodyOnly = paintInto(QRectF(-10, -20, 40, 40));
    EXPECT_EQ(qAlpha(bodyOnly.pixel(10 + 10, 20)), 255);
    EXPECT_EQ(qAlpha(bodyOnly.pixel(10 + 60, 20)), 0);
    EXPECT_EQ(qAlpha(bodyOnly.pixel(10 + 250, 20)), 0);
    // A rectangle that meets the tail's box paints the whole tail, not only the part inside.
    const QImage withTail = paintInto(QRectF(300, -20, 10, 40));
    EXPECT_EQ(qAlpha(withTail.pixel(10 + 200, 20)), 255);
    EXPECT_EQ(qAlpha(withTail.pixel(10 + 60, 20)), 0);
}

TEST(OxStrokesVaryWidthBackwardExtendOwnership, CopiesOwnTheirBuilders)
{
    Stroke s;
    drawLine(s, 30, 5);
    Extend copy(s.engine);
    EXPECT_NE(copy.pathConnector, s.engine.pathConnector);
    std::vector<OxInkPoint> points = s.points;
    QPainterPath path;
    copy.creating(points, path, QPointF(200, 0), kNoParams, 10);
    copy.endCreate(points, path, QPointF(210, 0), kNoParams, 10);
    s.end(QPointF(150, 0));
    Extend assigned;
    assigned = copy;
    assigned = assigned;
    EXPECT_EQ(assigned.getPathWhole(), copy.getPathWhole());
    EXPECT_NE(assigned.pathConnector, copy.pathConnector);
}
