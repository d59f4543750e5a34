#ifndef OXRECTOUT_P_H
#define OXRECTOUT_P_H

// The rectangles the C faces hand out: an empty rectangle as all 0, the rest as floats.

#include "quillmark_c.h"

#include <QRectF>

namespace quillmark::detail {

// Writes rect to out unless out is NULL.
inline void writeRect(quillmark_rect *out, const QRectF &rect)
{
    if (!out)
        return;
    *out = rect.isEmpty() ? quillmark_rect{0, 0, 0, 0}
                          : quillmark_rect{float(rect.left()), float(rect.top()),
                                           float(rect.width()), float(rect.height())};
}

} // namespace quillmark::detail

#endif
