#ifndef QUILLMARK_PAGESTATES_H
#define QUILLMARK_PAGESTATES_H

// What the page targets (the C++ page and its C face) compare pages with: a page's state as a
// host reads it (its keys in drawing order, each stroke's polygons and colour), the points an
// edit took away or brought, and the states undo and redo must lead to.

#include "FuzzChecks.h"

#include <QPointF>
#include <QRectF>
#include <QtGlobal>
#include <algorithm>
#include <iterator>
#include <map>
#include <utility>
#include <vector>

namespace pagestates {

using Key = qint64;

struct Ink
{
    std::vector<int> sizes;
    std::vector<float> xy;
    bool operator==(const Ink &o) const { return sizes == o.sizes && xy == o.xy; }
};

struct Snapshot
{
    std::vector<Key> keys;
    std::map<Key, Ink> inks;
    std::map<Key, quint32> colours;
    bool operator==(const Snapshot &o) const
    {
        return keys == o.keys && inks == o.inks && colours == o.colours;
    }
    bool operator!=(const Snapshot &o) const { return !(*this == o); }
};

// The points of all polygons, as a sorted list.
inline std::vector<std::pair<float, float>> pointsOf(const Snapshot &s)
{
    std::vector<std::pair<float, float>> out;
    for (const auto &entry : s.inks) {
        for (size_t i = 0; i + 1 < entry.second.xy.size(); i += 2)
            out.emplace_back(entry.second.xy[i], entry.second.xy[i + 1]);
    }
    std::sort(out.begin(), out.end());
    return out;
}

// Whether every point that one state has and the other has not lies within area grown by slack.
inline bool changesWithin(const Snapshot &before, const Snapshot &now, const QRectF &area,
                          double slack)
{
    const auto was = pointsOf(before), is = pointsOf(now);
    std::vector<std::pair<float, float>> changed;
    std::set_symmetric_difference(was.begin(), was.end(), is.begin(), is.end(),
                                  std::back_inserter(changed));
    const QRectF grown = area.adjusted(-slack, -slack, slack, slack);
    return std::all_of(changed.begin(), changed.end(), [&](const std::pair<float, float> &p) {
        return grown.contains(QPointF(p.first, p.second));
    });
}

// The states undo and redo must lead to, kept as a page keeps its steps: a call that changed
// the page is a step, except in a group, whose first step stands for all of its steps (nested
// groups count as one); a new step forgets what could be redone; undo and redo move a step from
// one side to the other and end the group's step (what follows is a step of its own).
class Steps
{
public:
    // After a call that was done: the page's states before and after it (the same: no step).
    void edited(const Snapshot &before, const Snapshot &now)
    {
        if (now == before)
            return;
        redoStates.clear();
        if (!(groupDepth > 0 && groupHasStep && !undoStates.empty()))
            undoStates.push_back(before);
        groupHasStep = groupDepth > 0;
    }

    // The state undo (or redo) leads to; null when there is nothing to take back (make again).
    const Snapshot *target(bool undo) const
    {
        const std::vector<Snapshot> &from = undo ? undoStates : redoStates;
        return from.empty() ? nullptr : &from.back();
    }

    // After an undo (or redo) that was done, from the state before it.
    void took(bool undo, const Snapshot &before)
    {
        std::vector<Snapshot> &from = undo ? undoStates : redoStates;
        std::vector<Snapshot> &to = undo ? redoStates : undoStates;
        from.pop_back();
        to.push_back(before);
        groupHasStep = false;
    }

    void beginGroup()
    {
        if (groupDepth++ == 0)
            groupHasStep = false;
    }
    // An end without a begin is ignored.
    void endGroup() { groupDepth = std::max(0, groupDepth - 1); }

    // The page was loaded: its steps are gone, an open group with them.
    void forget() { *this = Steps(); }

private:
    std::vector<Snapshot> undoStates, redoStates;
    int groupDepth = 0;
    bool groupHasStep = false;
};

} // namespace pagestates

#endif
