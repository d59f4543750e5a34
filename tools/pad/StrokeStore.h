#ifndef QUILLMARK_PAD_STROKESTORE_H
#define QUILLMARK_PAD_STROKESTORE_H

// The finished strokes of the pad, kept as the shapes their engines drew.

#include "StrokeShapes.h"

#include <QRectF>
#include <vector>

struct FinishedStroke
{
    StrokeShapes shapes;
    float width = 0;
    QColor colour;
    QRectF bounds;  // shapesBounds, kept to skip strokes outside a repainted area
};

class StrokeStore
{
public:
    void add(const StrokeShapes &shapes, float width, const QColor &colour);
    // Forgets the newest stroke; returns the area it covered (empty when there was none).
    QRectF removeLast();
    // Forgets every stroke; returns the area they covered.
    QRectF clear();

    const std::vector<FinishedStroke> &strokes() const { return kept; }
    bool isEmpty() const { return kept.empty(); }

    // Paints, oldest first, the strokes that meet area (antialiased, in the painter's
    // coordinates).
    void paint(QPainter &painter, const QRectF &area) const;

private:
    std::vector<FinishedStroke> kept;
};

#endif
