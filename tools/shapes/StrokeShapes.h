#ifndef QUILLMARK_SHAPES_STROKESHAPES_H
#define QUILLMARK_SHAPES_STROKESHAPES_H

// The shapes of one stroke as a host draws them, and the ways the tools measure and paint them.

#include <QColor>
#include <QPainterPath>
#include <QPolygonF>
#include <vector>

class QPainter;

struct StrokeShapes
{
    // Stroked with a round pen of the stroke width; empty for the outline engines.
    QPolygonF centreLine;
    // Closed outlines filled with the nonzero winding rule.
    std::vector<QPainterPath> outlines;
};

// Grows into to cover rect. Only rectangles with an area count: QRectF's own union would keep the
// corner of a zero-size rectangle and stretch the bounds toward it.
void uniteArea(QRectF &into, const QRectF &rect);

// The area the shapes cover: outlines as they are, the centre line grown by half the pen width.
// Empty when there is nothing to draw.
QRectF shapesBounds(const StrokeShapes &shapes, float width);

// Path elements of the outlines plus the vertices of the centre line.
int elementCount(const StrokeShapes &shapes);

// Fills the outlines (nonzero) and strokes the centre line with a round pen of the width, both in
// ink, in the painter's current coordinates. Leaves the painter's pen and brush changed.
void paintShapes(QPainter &painter, const StrokeShapes &shapes, float width, const QColor &ink);

#endif
