// QMatrix as the library uses it: Qt's own on Qt 5, the library's on Qt 6. The expected numbers
// are Qt 5's, to the last bit, so both builds must meet them.
#include "QuillmarkMatrix.h"

#include <gtest/gtest.h>
#include <array>
#include <cmath>

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {
using Coefficients = std::array<double, 6>;

Coefficients coefficients(const QMatrix &m)
{
    return {m.m11(), m.m12(), m.m21(), m.m22(), m.dx(), m.dy()};
}

QMatrix translation(qreal dx, qreal dy)
{
    QMatrix m;
    m.translate(dx, dy);
    return m;
}

// The nib turn of the pressure engine: -60 degrees about (100, 100).
QMatrix turnAbout100()
{
    QMatrix rotation;
    rotation.rotate(-60);
    return translation(-100, -100) * rotation * translation(100, 100);
}
} // namespace

TEST(QuillmarkMatrix, StepsAndProductsGiveQt5sCoefficients)
{
    EXPECT_EQ(coefficients(turnAbout100()),
              (Coefficients{0.50000000000000011, -0.8660254037844386, 0.8660254037844386,
                            0.50000000000000011, -36.602540378443877, 136.60254037844385}));
    QMatrix chain;
    chain.translate(3, 4);
    chain.rotate(30);
    chain.scale(2, -1);
    chain.translate(-1, 0.5);
    EXPECT_EQ(coefficients(chain),
              (Coefficients{1.7320508075688774, 0.99999999999999989, 0.49999999999999994,
                            -0.86602540378443871, 1.5179491924311226, 2.5669872981077808}));
    QMatrix quarter, half, minusHalf;
    quarter.rotate(90);
    half.rotate(180);
    minusHalf.rotate(-180);
    EXPECT_EQ(coefficients(quarter), (Coefficients{0, 1, -1, 0, 0, 0}));
    EXPECT_EQ(coefficients(half), (Coefficients{-1, 0, 0, -1, 0, 0}));
    EXPECT_EQ(coefficients(minusHalf), (Coefficients{-1, -1.2246467991473532e-16,
                                                      1.2246467991473532e-16, -1, 0, 0}));
}

TEST(QuillmarkMatrix, MapsPointsAndPathsAsQt5)
{
    const QMatrix turn = turnAbout100();
    EXPECT_EQ(turn.map(QPointF(125, 100)), QPointF(112.5, 78.349364905389038));

    QPainterPath ellipse;
    ellipse.addEllipse(QPointF(100, 100), 25, 40);
    const QPainterPath turned = turn.map(ellipse);
    ASSERT_EQ(turned.elementCount(), 13);
    EXPECT_EQ(turned.fillRule(), Qt::OddEvenFill);
    const QPainterPath::Element first = turned.elementAt(0), control = turned.elementAt(1);
    EXPECT_TRUE(first.isMoveTo());
    EXPECT_EQ(control.type, QPainterPath::CurveToElement);
    EXPECT_EQ(QPointF(control), QPointF(131.63170493798131, 89.395059901389033));
    EXPECT_EQ(turned.elementAt(7).x, 68.368295062018689);
    EXPECT_EQ(turned.boundingRect(),
              QRectF(63.16267098947543, 70.52529025346729, 73.67465802104914, 58.94941949306542));

    // The identity and translations only add, so -0 stays -0 (1 * x + 0 * y would give +0); a
    // lone moveTo maps to an empty path.
    QPainterPath line(QPointF(-0.0, 1));
    line.lineTo(2, 3);
    EXPECT_TRUE(std::signbit(QMatrix().map(line).elementAt(0).x));
    EXPECT_TRUE(std::signbit(QMatrix(1, 0, 0, 1, -0.0, 5).map(line).elementAt(0).x));
    EXPECT_EQ(translation(4, 5).map(QPainterPath(QPointF(1, 1))).elementCount(), 0);
}
