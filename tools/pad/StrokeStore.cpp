#include "StrokeStore.h"

#include <QPainter>

void StrokeStore::add(const StrokeShapes &shapes, float width, const QColor &colour)
{
    kept.push_back({shapes, width, colour, shapesBounds(shapes, width)});
}

QRectF StrokeStore::removeLast()
{
    if (kept.empty())
        return QRectF();
    const QRectF bounds = kept.back().bounds;
    kept.pop_back();
    return bounds;
}

QRectF StrokeStore::clear()
{
    QRectF bounds;
    for (const FinishedStroke &stroke : kept)
        uniteArea(bounds, stroke.bounds);
    kept.clear();
    return bounds;
}

void StrokeStore::paint(QPainter &painter, const QRectF &area) const
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const FinishedStroke &stroke : kept)
        if (stroke.bounds.intersects(area))
            paintShapes(painter, stroke.shapes, stroke.width, stroke.colour);
}
