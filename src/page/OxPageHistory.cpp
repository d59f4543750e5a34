// Undo and redo of a page's steps, and steps joined into groups.

#include "OxPageHistory_p.h"

#include <algorithm>

namespace quillmark::detail {

namespace {
bool holds(const std::vector<OxStrokePage::Key> &keys, OxStrokePage::Key key)
{
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

// later made after earlier, as one step: the strokes later replaced that earlier had put on the
// page were never there before earlier and are dropped.
void join(OxPageStep &earlier, OxPageStep &&later)
{
    std::vector<OxStrokePage::Key> replaced;
    for (std::unique_ptr<OxPageStroke> &stroke : later.held) {
        replaced.push_back(stroke->key);
        if (!holds(earlier.onPage, stroke->key))
            earlier.held.push_back(std::move(stroke));
    }
    std::vector<OxStrokePage::Key> onPage;
    for (OxStrokePage::Key key : earlier.onPage) {
        if (!holds(replaced, key))
            onPage.push_back(key);
    }
    onPage.insert(onPage.end(), later.onPage.begin(), later.onPage.end());
    earlier.onPage = std::move(onPage);
    earlier.area |= later.area;
}
} // namespace

void OxPageHistory::made(OxPageStep step)
{
    undone.clear();
    if (groupDepth > 0 && groupHasStep && !done.empty()) {
        join(done.back(), std::move(step));
        return;
    }
    done.push_back(std::move(step));
    groupHasStep = groupDepth > 0;
}

OxPageStep OxPageHistory::takeUndo()
{
    OxPageStep step = std::move(done.back());
    done.pop_back();
    groupHasStep = false;
    return step;
}

OxPageStep OxPageHistory::takeRedo()
{
    OxPageStep step = std::move(undone.back());
    undone.pop_back();
    groupHasStep = false;
    return step;
}

void OxPageHistory::beginGroup()
{
    if (groupDepth++ == 0)
        groupHasStep = false;
}

void OxPageHistory::endGroup()
{
    if (groupDepth > 0)
        --groupDepth;
}

void OxPageHistory::clear()
{
    done.clear();
    undone.clear();
    groupHasStep = false;
}

size_t OxPageHistory::bytes() const
{
    size_t total = 0;
    for (const std::vector<OxPageStep> *steps : {&done, &undone}) {
        for (const OxPageStep &step : *steps) {
            total += sizeof(step) + step.onPage.capacity() * sizeof(OxStrokePage::Key);
            for (const std::unique_ptr<OxPageStroke> &stroke : step.held)
                total += stroke->bytes();
        }
    }
    return total;
}

} // namespace quillmark::detail
