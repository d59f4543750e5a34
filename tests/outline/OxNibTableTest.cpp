// The sector table of an installed nib against the plain search it stands for: every nib point
// measured against every sector's line, the lowest index winning among equally distant points.

#include "OxGeometry.h"
#include "OxPathGenerator.h"

#include <QPolygonF>
#include <QTransform>
#include <gtest/gtest.h>
#include <cmath>

namespace {
struct Table : OxPathGenerator
{
    using OxPathGenerator::sampleCenter;
    using OxPathGenerator::samplePath;
    using OxPathGenerator::samplePoints;
    using OxPathGenerator::sections;
};

struct Tangents
{
    int left = 0, right = 0;
};

Tangents plainSearch(const QVector<QPointF> &points, QPointF center, float angle)
{
    const float cx = float(center.x()), cy = float(center.y());
    float qx = float(center.x() + 100), qy = cy;
    rotatePoint(-angle, &qx, &qy, cx, cy);
    float a, b, d;
    lineCoefficients(&a, &b, &d, cx, cy, qx, qy);
    float maxLeft = -1, maxRight = -1;
    Tangents t;
    for (int j = 0; j < points.size(); ++j) {
        const QPointF p = points[j];
        const float distance = pointToLineDistance(cx, cy, qx, qy, float(p.x()), float(p.y()));
        if (float(a * p.x() + b * p.y() + d) > 0) {
            if (distance > maxLeft) {
                maxLeft = distance;
                t.left = j;
            }
        } else if (distance > maxRight) {
            maxRight = distance;
            t.right = j;
        }
    }
    return t;
}

void expectPlainSearchTable(const QPainterPath &nib)
{
    Table g;
    g.setSamplePath(nib, 10);
    ASSERT_EQ(g.samplePoints.size(), g.samplePath.elementCount() - 1);
    for (int j = 0; j < g.samplePoints.size(); ++j)
        EXPECT_EQ(g.samplePoints[j], QPointF(g.samplePath.elementAt(j)));
    // Eighty sectors of 4.5 degrees from angle 0, each starting where the one before ends.
    ASSERT_EQ(g.sections.size(), 80);
    for (int i = 0; i < 80; ++i) {
        EXPECT_EQ(g.sections[i].startAngle, i ? g.sections[i - 1].endAngle : 0.0f);
        EXPECT_FLOAT_EQ(g.sections[i].endAngle, float(i + 1) * 0.07853982f);
        const Tangents t = plainSearch(g.samplePoints, g.sampleCenter, g.sections[i].startAngle);
        EXPECT_EQ(g.sections[i].leftIndex, t.left) << "sector " << i;
        EXPECT_EQ(g.sections[i].rightIndex, t.right) << "sector " << i;
    }
}

QPainterPath ellipse(QPointF center, double rx, double ry, double degrees)
{
    QPainterPath path;
    path.addEllipse(center, rx, ry);
    QTransform turn;
    turn.translate(center.x(), center.y());
    turn.rotate(degrees);
    turn.translate(-center.x(), -center.y());
    return turn.map(path);
}
} // namespace

TEST(OxNibTable, EllipsesOfEverySizeAndPlaceMatchThePlainSearch)
{
    expectPlainSearchTable(ellipse(QPointF(100, 100), 40, 40, 0));
    expectPlainSearchTable(ellipse(QPointF(100, 100), 25, 40, -60));
    // Far smaller than the probe line, and far from the origin: the float distances are coarse.
    expectPlainSearchTable(ellipse(QPointF(100, 100), 0.01, 0.02, 30));
    expectPlainSearchTable(ellipse(QPointF(3, -2), 1, 0.2, 10));
    expectPlainSearchTable(ellipse(QPointF(2e5, -7e4), 3, 5, 45));
    expectPlainSearchTable(ellipse(QPointF(0, 0), 3000, 800, 75));
}

TEST(OxNibTable, PolygonsWithTiesAndDentsMatchThePlainSearch)
{
    QPainterPath square;
    square.addRect(0, 0, 10, 10);
    expectPlainSearchTable(square);

    QPolygonF star;
    for (int k = 0; k < 10; ++k) {
        const double r = k % 2 ? 4 : 10, angle = k * M_PI / 5;
        star << QPointF(50 + r * std::cos(angle), 50 + r * std::sin(angle));
    }
    QPainterPath starPath;
    starPath.addPolygon(star);
    starPath.closeSubpath();
    expectPlainSearchTable(starPath);

    QPainterPath spike;
    spike.addPolygon(QPolygonF({{0, 0}, {10, 0}, {10, 10}, {5, 10.5}, {5, 60}, {4.9, 10}, {0, 10}}));
    spike.closeSubpath();
    expectPlainSearchTable(spike);
}
