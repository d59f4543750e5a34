#include "EngineDrawing.h"

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

QRectF drawingBounds(const EngineDrawing &drawing)
{
    QRectF bounds;
    for (const StrokeRun &stroke : drawing.strokes)
        uniteArea(bounds, shapesBounds(stroke.shapes, drawing.width));
    return bounds;
}

QRectF reportedBounds(const EngineDrawing &drawing)
{
    QRectF bounds;
    for (const StrokeRun &stroke : drawing.strokes)
        for (const EngineCall &call : stroke.calls)
            uniteArea(bounds, call.dirty);
    return bounds;
}

int elementCount(const StrokeShapes &shapes)
{
    int count = shapes.centreLine.size();
    for (const QPainterPath &outline : shapes.outlines)
        count += outline.elementCount();
    return count;
}
