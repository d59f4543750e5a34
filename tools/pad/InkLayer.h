#ifndef QUILLMARK_PAD_INKLAYER_H
#define QUILLMARK_PAD_INKLAYER_H

// The pad's ink that no longer changes, kept in an image: the finished strokes and the settled
// body of the stroke being drawn. A repaint copies its pixels and draws only what still changes
// on top (tails, dots), so its cost does not grow with the strokes on the canvas.

#include "StrokeStore.h"

#include <QImage>

class OxStrokeShape;

class InkLayer
{
public:
    // A white layer of size with the finished strokes painted on it.
    void reset(QSize size, const StrokeStore &store);
    // The part of the layer in area painted afresh from the finished strokes, as reset paints
    // it: a stroke painted while it was drawn comes out exactly as it will after an undo.
    void repaint(const QRectF &area, const StrokeStore &store);
    // Paints the body of shape as far as it grew since shape's previous update: the new stretch
    // of its sides with the end cap, or of the centre line. With whole, the whole body. A body
    // only grows while a stroke is drawn, so painting over what was painted before is enough.
    void addBody(const OxStrokeShape &shape, float width, const QColor &ink, bool whole = false);
    const QImage &image() const { return layer; }

private:
    QImage layer;
};

// Fills the polygons of shape that lie outside its body (start dots, tails), nonzero, in ink.
void paintLoosePolygons(QPainter &painter, const OxStrokeShape &shape, const QColor &ink);

#endif
