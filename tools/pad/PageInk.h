#ifndef QUILLMARK_PAD_PAGEINK_H
#define QUILLMARK_PAD_PAGEINK_H

// The ink of a page of strokes as the pad paints and exports it: each stroke's ink filled with
// the nonzero rule in its own colour, oldest first.

#include "OxStrokePage.h"

#include <QColor>

class QPainter;

// A record's colour (red in the high byte, alpha in the low one) and back.
QColor colourOf(quint32 rgba);
quint32 rgbaOf(const QColor &colour);

// Paints, antialiased, the strokes of page whose ink may meet area.
void paintPageInk(QPainter &painter, const OxStrokePage &page, const QRectF &area);

// The bounds of every stroke's ink; empty for an empty page.
QRectF pageBounds(const OxStrokePage &page);

#endif
