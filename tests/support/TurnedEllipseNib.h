#ifndef QUILLMARK_TURNEDELLIPSENIB_H
#define QUILLMARK_TURNEDELLIPSENIB_H

// The variable-width engines' nib: an ellipse 25 across and 40 down about (100, 100), turned by
// -60 degrees about its centre (installed for the size 40).

#include "QuillmarkMatrix.h"

#include <QPainterPath>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
inline QPainterPath turnedEllipseNib()
{
    QPainterPath ellipse;
    ellipse.addEllipse(QPointF(100, 100), 25, 40);
    QMatrix turn;
    turn.translate(100, 100);
    turn.rotate(-60);
    turn.translate(-100, -100);
    return turn.map(ellipse);
}
#pragma GCC diagnostic pop

#endif
