#ifndef QUILLMARK_PAD_INKLAYER_H
#define QUILLMARK_PAD_INKLAYER_H

// The pad's ink that no longer changes, kept in an image: the finished strokes and the settled
// body of the stroke being drawn. A repaint copies its pixels and draws only what still changes
// on top (tails, dots), so its cost does not grow with the strokes on the canvas.

#include <QImage>

class OxStrokePage;
class OxStrokeShape;

class InkLayer
{
public:
    // A white layer of size with the page's strokes painted on it.
    void reset(QSize size, const OxStrokePage &page);
    // The part of the layer in area painted afresh from the page, as reset paints it: a stroke
    // painted while it was drawn comes out exactly as it will after an undo.
    void repaint(const QRectF &area, const OxStrokePage &page);
    // Paints the body of shape as far as it grew since shape's previous update, inside area
    // (what the engine reported as changed): the new stretch of its sides with the end cap, or
    // of the centre line. A body only grows while a stroke is drawn, so painting over what was
    // painted before is enough; the clip keeps the overlap with the stretch before (painted
    // again, which darkens antialiased edges) from changing pixels that are not repainted.
    void addBody(const OxStrokeShape &shape, float width, const QColor &ink, const QRectF &area);
    // The whole body, after the layer was painted afresh.
    void addWholeBody(const OxStrokeShape &shape, float width, const QColor &ink);
    const QImage &image() const { return layer; }

private:
    QImage layer;

    void paintBody(const OxStrokeShape &shape, float width, const QColor &ink, bool whole,
                   const QRect &clip);
};

// Fills the polygons of shape that lie outside its body (start dots, tails), nonzero, in ink.
void paintLoosePolygons(QPainter &painter, const OxStrokeShape &shape, const QColor &ink);

#endif
