#ifndef QUILLMARK_MATRIX_H
#define QUILLMARK_MATRIX_H

// QMatrix, the affine matrix of the engines' interface (OxStrokesFixWidth::rotate2) and of the
// outline builders' nib placement.
//
// Built on Qt 5 this is Qt's own QMatrix. Qt 6 no longer has it, so on Qt 6 the library brings a
// QMatrix of its own with the operations the library uses: the identity on construction,
// translate, rotate, scale, the product, map of a point and of a path, and the six coefficients.
// Each computes term for term what Qt 5's QMatrix computes, so a Qt 6 build gives the same numbers
// as a Qt 5 build. It is no general matrix class: hosts that want one use QTransform.

#include "QuillmarkExport.h"

#include <QPainterPath>
#include <QPointF>
#include <QtGlobal>

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)

// Some Qt 5.15 builds mark QMatrix deprecated; the interface keeps it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <QMatrix>
#pragma GCC diagnostic pop

#else

// x' = m11 * x + m21 * y + dx, y' = m12 * x + m22 * y + dy.
class QUILLMARK_EXPORT QMatrix
{
public:
    QMatrix() = default;
    QMatrix(qreal m11, qreal m12, qreal m21, qreal m22, qreal dx, qreal dy);

    qreal m11() const { return m11_; }
    qreal m12() const { return m12_; }
    qreal m21() const { return m21_; }
    qreal m22() const { return m22_; }
    qreal dx() const { return dx_; }
    qreal dy() const { return dy_; }

    // Each applies its step before this matrix: a point is moved, turned or scaled first and
    // then mapped as before.
    QMatrix &translate(qreal dx, qreal dy);
    // Turns by angleDegrees, clockwise on the screen (y grows downwards); 90, 180, 270, -90 and
    // -270 degrees give exact coefficients.
    QMatrix &rotate(qreal angleDegrees);
    QMatrix &scale(qreal sx, qreal sy);

    // This matrix, then other.
    QMatrix operator*(const QMatrix &other) const;

    QPointF map(const QPointF &point) const;
    // Every element mapped; a path without a line or curve (QPainterPath::isEmpty) maps to an
    // empty path.
    QPainterPath map(const QPainterPath &path) const;

private:
    qreal m11_ = 1, m12_ = 0, m21_ = 0, m22_ = 1, dx_ = 0, dy_ = 0;
};

#endif

#endif
