#ifndef QUILLMARK_PAD_ERASERDRAG_H
#define QUILLMARK_PAD_ERASERDRAG_H

// One drag of the eraser over a page of strokes.
//
// Use:
//   1. Construct at the press: the page starts a group, so that the whole drag is one step of
//      its history, and the ink under the eraser there goes.
//   2. moveTo() for every further event: the eraser sweeps from the previous position to this
//      one, so a fast drag skips nothing in between.
//   3. Destroy at the release: the group ends.
// Partial erasing cuts away exactly the ink under the eraser (a stroke cut in two becomes two
// strokes); whole-stroke erasing removes every stroke the eraser touches. Each call returns the
// rectangle the page reports as changed (empty when nothing was under the eraser).

#include "OxStrokePage.h"

class EraserDrag
{
public:
    EraserDrag(OxStrokePage &page, QPointF at, double radius, bool wholeStrokes);
    ~EraserDrag();
    EraserDrag(const EraserDrag &) = delete;
    EraserDrag &operator=(const EraserDrag &) = delete;

    QRectF moveTo(QPointF at);
    // What the press erased.
    QRectF pressed() const { return first; }

private:
    OxStrokePage &page;
    const double radius;
    const bool whole;
    QPointF last;
    QRectF first;

    QRectF sweep(const std::vector<QPointF> &path);
};

#endif
