#ifndef QUILLMARK_SHAPES_SVGSHAPES_H
#define QUILLMARK_SHAPES_SVGSHAPES_H

// Stroke shapes as SVG elements. Coordinates are written rounded to 0.001.

#include "StrokeShapes.h"

#include <QString>

class QXmlStreamWriter;

// A number with at most three decimals and no trailing zeros ("-0" is written "0").
QString svgNumber(double value);

// A path's elements as SVG path data: "M x y", "L x y" and "C x1 y1 x2 y2 x y".
QString svgPathData(const QPainterPath &path);

// One <path fill-rule="nonzero"> per outline and one round-capped <polyline> for the centre line,
// of the pen width, all in ink.
void writeSvgShapes(QXmlStreamWriter &xml, const StrokeShapes &shapes, float width,
                    const QColor &ink);

// Opens the <svg> element of a page of the size in user units, on a white background. The caller
// writes the content and closes the element and the document.
void startSvgPage(QXmlStreamWriter &xml, QSizeF size);

#endif
