#include "StrokeShapes.h"

#include <QPainter>

void uniteArea(QRectF &into, const QRectF &rect)
{
    if (!rect.isEmpty())
        into = into.isEmpty() ? rect : into.united(rect);
}

QRectF shapesBounds(const StrokeShapes &shapes, float width)
{
    QRectF bounds;
    for (const QPainterPath &outline : shapes.outlines)
        uniteArea(bounds, outline.boundingRect());
    if (!shapes.centreLine.isEmpty()) {
        const double half = width / 2.0;
        uniteArea(bounds, shapes.centreLine.boundingRect().adjusted(-half, -half, half, half));
    }
    return bounds;
}

int elementCount(const StrokeShapes &shapes)
{
    int count = shapes.centreLine.size();
    for (const QPainterPath &outline : shapes.outlines)
        count += outline.elementCount();
    return count;
}

void paintShapes(QPainter &painter, const StrokeShapes &shapes, float width, const QColor &ink)
{
    for (QPainterPath outline : shapes.outlines) {
        outline.setFillRule(Qt::WindingFill);
        painter.fillPath(outline, ink);
    }
    painter.setPen(QPen(ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(shapes.centreLine);
}
