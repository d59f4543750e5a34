#ifndef OXLINESEGMENTS_P_H
#define OXLINESEGMENTS_P_H

#include "OxInkPoint.h"

#include <algorithm>
#include <vector>

namespace quillmark::detail {

// Calls visit(i, a, b) for the segments a = line[i] -> b = line[i + 1] with from <= i < to, in
// order: the pieces an engine hands to an outline builder. Indices outside line are skipped.
template <class Visit>
void forEachSegment(const std::vector<OxInkPoint> &line, int from, int to, Visit visit)
{
    const int last = std::min(to, int(line.size()) - 1);
    for (int i = std::max(from, 0); i < last; ++i)
        visit(i, line[size_t(i)], line[size_t(i) + 1]);
}

} // namespace quillmark::detail

#endif
