#include "QuillmarkMatrix.h"

// Qt 5 has QMatrix itself. The order of every sum below is Qt 5's: floating-point sums in
// another order round differently.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)

#include <cmath>

QMatrix::QMatrix(qreal m11, qreal m12, qreal m21, qreal m22, qreal dx, qreal dy)
    : m11_(m11), m12_(m12), m21_(m21), m22_(m22), dx_(dx), dy_(dy)
{
}

QMatrix &QMatrix::translate(qreal dx, qreal dy)
{
    dx_ += dx * m11_ + dy * m21_;
    dy_ += dy * m22_ + dx * m12_;
    return *this;
}

QMatrix &QMatrix::rotate(qreal angleDegrees)
{
    const qreal a = angleDegrees;
    qreal sina = 0;
    qreal cosa = 0;
    if (a == 90. || a == -270.) {
        sina = 1;
    } else if (a == 270. || a == -90.) {
        sina = -1;
    } else if (a == 180.) {
        cosa = -1;
    } else {
        const qreal radians = 0.017453292519943295769 * a;
        sina = std::sin(radians);
        cosa = std::cos(radians);
    }
    const qreal m11 = cosa * m11_ + sina * m21_;
    const qreal m12 = cosa * m12_ + sina * m22_;
    const qreal m21 = -sina * m11_ + cosa * m21_;
    const qreal m22 = -sina * m12_ + cosa * m22_;
    m11_ = m11;
    m12_ = m12;
    m21_ = m21;
    m22_ = m22;
    return *this;
}

QMatrix &QMatrix::scale(qreal sx, qreal sy)
{
    m11_ *= sx;
    m12_ *= sx;
    m21_ *= sy;
    m22_ *= sy;
    return *this;
}

QMatrix QMatrix::operator*(const QMatrix &o) const
{
    return QMatrix(m11_ * o.m11_ + m12_ * o.m21_, m11_ * o.m12_ + m12_ * o.m22_,
                   m21_ * o.m11_ + m22_ * o.m21_, m21_ * o.m12_ + m22_ * o.m22_,
                   dx_ * o.m11_ + dy_ * o.m21_ + o.dx_, dx_ * o.m12_ + dy_ * o.m22_ + o.dy_);
}

QPointF QMatrix::map(const QPointF &point) const
{
    const qreal x = point.x(), y = point.y();
    return QPointF(m11_ * x + m21_ * y + dx_, m12_ * x + m22_ * y + dy_);
}

QPainterPath QMatrix::map(const QPainterPath &path) const
{
    if (path.isEmpty())
        return QPainterPath();
    QPainterPath mapped = path;
    const bool translation = m11_ == 1.0 && m22_ == 1.0 && m12_ == 0.0 && m21_ == 0.0;
    // A pure translation only adds: 1 * x + 0 * y would turn -0 into +0 and an infinite
    // coordinate into NaN.
    if (translation && dx_ == 0.0 && dy_ == 0.0)
        return mapped;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (translation)
            mapped.setElementPositionAt(i, e.x + dx_, e.y + dy_);
        else
            mapped.setElementPositionAt(i, m11_ * e.x + m21_ * e.y + dx_,
                                        m12_ * e.x + m22_ * e.y + dy_);
    }
    return mapped;
}

#endif
