#ifndef OXDEFERREDOUTLINE_P_H
#define OXDEFERREDOUTLINE_P_H

#include "OxPathBuilder.h"

#include <QBrush>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

namespace quillmark::detail {

// An engine keeps its whole outline (pathWhole) in step with its generator without assembling it
// at every sample: assembling costs time in proportion to the stroke's length, so it waits until
// the outline is read, marked by a "stale" flag beside it. What is read then is exactly what
// assembling at once would have given, since the generator has not changed meanwhile.

// The outline as it stands: assembled from the generator first when stale.
inline QPainterPath &currentOutline(QPainterPath &outline, bool &stale, OxPathBuilder &generator)
{
    if (stale) {
        // Freed first, so that the new outline can take its memory (see OxBufferRoom_p.h).
        outline = QPainterPath();
        outline = generator.getOutlinePath();
        stale = false;
    }
    return outline;
}

// The outline is replaced by something other than the generator's (a dot, an empty path, a tail).
inline void replaceOutline(QPainterPath &outline, bool &stale, const QPainterPath &value)
{
    outline = value;
    stale = false;
}

// Fills the part of outline inside rect with brush, antialiased; nothing outside rect is touched
// and a null painter draws nothing.
inline void fillInside(QPainter *painter, QRectF rect, const QPainterPath &outline,
                       const QBrush &brush)
{
    if (!painter)
        return;
    painter->setRenderHint(QPainter::Antialiasing, true);
    QPainterPath clip;
    clip.addRect(rect);
    clip = clip.intersected(outline);
    if (!clip.isEmpty())
        painter->fillPath(clip, brush);
}

} // namespace quillmark::detail

#endif
