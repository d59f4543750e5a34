#ifndef QUILLMARK_PAD_SELECTION_H
#define QUILLMARK_PAD_SELECTION_H

// The lasso tool: strokes selected with a lasso, and moved by dragging them.
//
// Use, for each drag of the pointer:
//   1. press(): inside the selection's frame it starts a move of the selected strokes;
//      elsewhere it forgets the selection and starts a lasso there.
//   2. moveTo() for every further event: a lasso grows by the point; a move takes the selected
//      strokes to where the pointer is, relative to the press.
//   3. release(): a lasso selects the strokes with at least kSelectShare of their ink inside
//      it (and forgets its outline); a move is done.
// A whole move is one step of the page's history with one move in the strokes' records: each
// event takes the previous event's move back and moves from where the strokes were at the
// press. Every call returns what to repaint: what the page reports as changed, the lasso's new
// segment, and the selection's frame where it was and where it is.
// After any other change to the page (undo, an erase, opening a page) call pageChanged(), which
// forgets the strokes that left the page.

#include "OxStrokePage.h"

#include <QPolygonF>

class QPainter;

class Selection
{
public:
    // A stroke is selected when this share of its ink lies inside the lasso: a lasso drawn
    // around a word need not take the strokes of its neighbours that it grazes.
    static constexpr double kSelectShare = 0.5;

    explicit Selection(OxStrokePage &page) : page(page) {}

    QRectF press(QPointF at);
    QRectF moveTo(QPointF at);
    QRectF release(QPointF at);
    QRectF pageChanged();
    // Forgets the selection.
    QRectF clear();

    const std::vector<OxStrokePage::Key> &keys() const { return selected; }
    // The lasso being drawn (empty when none) and the frame around the selected strokes' ink
    // (empty when nothing is selected).
    const QPolygonF &lasso() const { return outline; }
    QRectF frame() const;
    // Paints the lasso and the frame.
    void paint(QPainter &painter) const;

private:
    enum class Drag { kNone, kLasso, kMove };

    OxStrokePage &page;
    std::vector<OxStrokePage::Key> selected;
    QPolygonF outline;
    Drag drag = Drag::kNone;
    QPointF origin;       // of a move
    bool moved = false;   // the move made a step on the page
    QRectF shownFrame;    // what the frame covered when it was last reported

    // What painting the frame covers.
    QRectF frameArea() const;
    // The frame's area when last reported and now; remembers the new one.
    QRectF frameFollowed();
    QRectF lassoSegment() const;
};

#endif
