#ifndef OXPAGESTROKE_P_H
#define OXPAGESTROKE_P_H

// One stroke of a page: its key, its place in the drawing order, what it was drawn from, the
// edits made to it since, and its ink with the index of its edges.

#include "OxInkEdges_p.h"
#include "OxInk_p.h"
#include "OxStrokePage.h"

#include <memory>
#include <vector>

namespace quillmark::detail {

struct OxPageStroke
{
    OxStrokePage::Key key = 0;
    // Compared element by element: a stroke added later has a greater first element; the
    // pieces of a cut stroke take its order and their number in the cut after it.
    std::vector<quint32> order;
    // The record without edits, shared by the pieces of one stroke.
    std::shared_ptr<const OxStrokeRecord> drawn;
    std::vector<OxRecordedEdit> edits;
    OxInk ink;
    OxInkEdges edges;
    QRectF bounds;

    // A stroke of the given ink; edges and bounds follow it.
    void setInk(OxInk &&newInk)
    {
        ink = std::move(newInk);
        ink.xy.shrink_to_fit();
        ink.ringSizes.shrink_to_fit();
        edges = OxInkEdges(ink);
        bounds = quillmark::detail::bounds(ink);
    }

    size_t bytes() const
    {
        size_t editBytes = edits.capacity() * sizeof(OxRecordedEdit);
        for (const OxRecordedEdit &edit : edits)
            editBytes += edit.xy.capacity() * sizeof(float);
        // The record is shared by the pieces of one stroke: each counts its share.
        const size_t recordBytes =
            sizeof(OxStrokeRecord) + drawn->samples.capacity() * sizeof(OxRecordedSample)
            + drawn->steps.capacity() * sizeof(OxRecordedStep);
        return sizeof(*this) + order.capacity() * sizeof(quint32) + editBytes
               + recordBytes / size_t(drawn.use_count()) + ink.xy.capacity() * sizeof(qint32)
               + ink.ringSizes.capacity() * sizeof(quint32) + edges.bytes();
    }
};

} // namespace quillmark::detail

#endif
