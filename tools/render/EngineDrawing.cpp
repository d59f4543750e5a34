#include "EngineDrawing.h"

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
