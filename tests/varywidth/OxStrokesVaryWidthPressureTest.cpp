#include "OxStrokesVaryWidthPressure.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <utility>

namespace {
struct Pressure : OxStrokesVaryWidthPressure
{
    using OxStrokesVaryWidthPressure::getSmoothPressure;
    using OxStrokesVaryWidthPressure::smoothPressures;
};

QMap<QString, QVariant> sample(float pressure, int time = 0)
{
    return {{QStringLiteral("pressure"), pressure}, {QStringLiteral("time"), time}};
}

std::vector<OxInkPoint> withPressures(std::initializer_list<float> pressures)
{
    std::vector<OxInkPoint> out;
    for (float p : pressures)
        out.emplace_back(0, 0, 0, p, 0, 0);
    return out;
}

struct Stroke
{
    Pressure engine;
    std::vector<OxInkPoint> points;
    QPainterPath path;
    float width = 10;

    QRectF start(QPointF p, float pr = 0.5f, int t = 0)
    {
        return engine.startCreate(points, path, p, sample(pr, t), width);
    }
    QRectF move(QPointF p, float pr = 0.5f, int t = 0)
    {
        return engine.creating(points, path, p, sample(pr, t), width);
    }
    QRectF end(QPointF p, float pr = 0.5f, int t = 0)
    {
        return engine.endCreate(points, path, p, sample(pr, t), width);
    }
};
} // namespace

TEST(OxStrokesVaryWidthPressureSmoothing, WindowFormula)
{
    Pressure e;
    auto pts = withPressures({0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f});
    // (5 * 0.6 + 0.2 + 0.3 + 0.4 + 0.5 + 0.6) / (5 + 5)
    EXPECT_FLOAT_EQ(e.getSmoothPressure(pts, 5, 0.6f), 0.5f);
    // At the start the window holds only the point itself: (5 * 0.4 + 0.1) / 6.
    EXPECT_FLOAT_EQ(e.getSmoothPressure(pts, 0, 0.4f), 0.35f);

    auto pair = withPressures({0.2f, 0.8f});
    e.smoothPressures(pair, 0, 1);
    EXPECT_FLOAT_EQ(pair[0].pressure, 0.2f);
    EXPECT_FLOAT_EQ(pair[1].pressure, (5 * 0.8f + 0.2f + 0.8f) / 7);

    auto constant = withPressures({0.3f, 0.3f, 0.3f, 0.3f, 0.3f, 0.3f, 0.3f});
    e.smoothPressures(constant, 0, 6);
    for (const OxInkPoint &p : constant)
        EXPECT_FLOAT_EQ(p.pressure, 0.3f);
}

TEST(OxStrokesVaryWidthPressurePhases, TapSweepsAUnitDiagonal)
{
    Stroke s;
    s.start(QPointF(20, 30), 0.6f, 100);
    s.end(QPointF(20, 30), 0.9f, 140);
    ASSERT_EQ(s.points.size(), 2u);
    EXPECT_EQ(s.points[1].x, 21);
    EXPECT_EQ(s.points[1].y, 31);
    EXPECT_EQ(s.points[1].time, 150);          // the end call's time + 10
    const QRectF bounds = s.engine.getPathWhole().boundingRect();
    // The nib (long radius up to 0.6 * 10 / 2 after smoothing) swept over the diagonal.
    EXPECT_GT(bounds.width(), 2);
    EXPECT_LT(bounds.width(), 8);
    EXPECT_EQ(s.engine.getPathWhole().fillRule(), Qt::WindingFill);
}

TEST(OxStrokesVaryWidthPressurePhases, TapAtTheLastMillisecondOfTheIntRange)
{
    // The tap's point is 10 ms after the end call; at INT_MAX that sum used to overflow an int.
    Stroke s;
    const int last = std::numeric_limits<int>::max();
    s.start(QPointF(20, 30), 0.6f, last - 5);
    s.end(QPointF(20, 30), 0.9f, last);
    ASSERT_EQ(s.points.size(), 2u);
    EXPECT_EQ(s.points[1].time, double(last) + 10);
    EXPECT_TRUE(std::isfinite(s.engine.getPathWhole().boundingRect().width()));
}

TEST(OxStrokesVaryWidthPressurePhases, FloatingPointTimesRoundAsOnQt5)
{
    // Halves go up, a float's in float arithmetic. Qt 6's QVariant::toInt would store -3, -1 and
    // -8388610 for the second, third and fifth.
    const std::pair<QVariant, double> cases[] = {
        {2.5, 3}, {-2.5, -2}, {-0.5, 0}, {0.49999999999999994, 1},
        {QVariant(-8388609.0f), -8388609}, {QVariant(8388609.0f), 8388610}};
    for (const auto &[time, stored] : cases) {
        Stroke s;
        const QMap<QString, QVariant> params{{QStringLiteral("time"), time},
                                             {QStringLiteral("pressure"), 0.5f}};
        s.engine.startCreate(s.points, s.path, QPointF(1, 1), params, 10);
        ASSERT_EQ(s.points.size(), 1u);
        EXPECT_EQ(s.points[0].time, stored) << time.toDouble();
    }
}

TEST(OxStrokesVaryWidthPressurePhases, MissingPressureMeansZeroWidth)
{
    Pressure e;
    std::vector<OxInkPoint> points;
    QPainterPath path;
    const QMap<QString, QVariant> none;
    e.startCreate(points, path, QPointF(0, 0), none, 10);
    EXPECT_EQ(points[0].pressure, 0.0f);
    EXPECT_EQ(points[0].time, 0);
    e.creating(points, path, QPointF(20, 0), none, 10);
    e.creating(points, path, QPointF(40, 0), none, 10);
    EXPECT_EQ(e.getPathWhole().boundingRect().height(), 0);
}

TEST(OxStrokesVaryWidthPressureBadInput, NonFiniteParametersDropTheSample)
{
    Stroke s;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(s.start(QPointF(0, 0), nan).isNull());
    EXPECT_TRUE(s.points.empty());
    s.start(QPointF(0, 0));
    s.move(QPointF(10, 0));
    const QPainterPath before = s.engine.getPathWhole();
    EXPECT_TRUE(s.move(QPointF(20, 0), std::numeric_limits<float>::infinity()).isNull());
    QMap<QString, QVariant> badTime{{QStringLiteral("time"), std::nan("")},
                                    {QStringLiteral("pressure"), 0.5f}};
    EXPECT_TRUE(s.engine.creating(s.points, s.path, QPointF(20, 0), badTime, 10).isNull());
    EXPECT_TRUE(s.engine.endCreate(s.points, s.path, QPointF(20, 0), badTime, 10).isNull());
    EXPECT_EQ(s.points.size(), 2u);
    EXPECT_EQ(s.engine.getPathWhole(), before);
}

// The nib is an ellipse of radii 25 across and 40 down, turned by -60 degrees, standing for the
// width 40: a straight stroke is as high and reaches as far beyond its ends as that ellipse,
// scaled to half the pen width, is high and wide.
TEST(OxStrokesVaryWidthPressureNib, AStraightStrokeHasTheTurnedEllipsesExtent)
{
    Stroke s;
    s.width = 40;
    s.start(QPointF(0, 0), 1);
    for (int x = 10; x < 100; x += 10)
        s.move(QPointF(x, 0), 1);
    s.end(QPointF(100, 0), 1);
    const double rx = 25 * 0.5, ry = 40 * 0.5, turn = 60 * M_PI / 180;
    const double high = std::hypot(rx * std::sin(turn), ry * std::cos(turn));
    const double wide = std::hypot(rx * std::cos(turn), ry * std::sin(turn));
    const QRectF bounds = s.engine.getPathWhole().boundingRect();
    EXPECT_NEAR(bounds.top(), -high, 0.05) << "the nib's height";
    EXPECT_NEAR(bounds.bottom(), high, 0.05) << "the nib's height";
    EXPECT_NEAR(bounds.left(), -wide, 0.05) << "the nib's width";
    EXPECT_NEAR(bounds.right(), 100 + wide, 0.05) << "the nib's width";
}
