#ifndef OXPAGEHISTORY_P_H
#define OXPAGEHISTORY_P_H

// The steps a page can undo and redo. A step swaps one set of strokes for another: the set on
// the page is known by its keys, the other is held by the step, untouched, so that taking a
// step back puts the very same strokes back (the same points under the same keys).

#include "OxPageStroke_p.h"

#include <memory>
#include <vector>

namespace quillmark::detail {

struct OxPageStep
{
    std::vector<std::unique_ptr<OxPageStroke>> held;  // the side off the page
    std::vector<OxStrokePage::Key> onPage;            // the side on the page
    QRectF area;                                      // what changes either way
};

class OxPageHistory
{
public:
    // A step just made: what could be redone is forgotten; inside a group, the step joins the
    // group's step.
    void made(OxPageStep step);

    bool canUndo() const { return !done.empty(); }
    bool canRedo() const { return !undone.empty(); }
    // The step to take back (or make again); the caller swaps its sides on the page and hands it
    // to undoneStep (or redoneStep).
    OxPageStep takeUndo();
    OxPageStep takeRedo();
    void undoneStep(OxPageStep step) { undone.push_back(std::move(step)); }
    void redoneStep(OxPageStep step) { done.push_back(std::move(step)); }

    void beginGroup();
    void endGroup();
    void clear();

    size_t bytes() const;

private:
    std::vector<OxPageStep> done;
    std::vector<OxPageStep> undone;
    int groupDepth = 0;
    bool groupHasStep = false;
};

} // namespace quillmark::detail

#endif
