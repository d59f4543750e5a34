#ifndef OXPAGERESTORE_P_H
#define OXPAGERESTORE_P_H

// The strokes of stored contents (OxStrokePage::Contents) with their ink rebuilt. Each drawing
// is replayed once for all the strokes that share it, and a cut they share is made once: the
// pieces of a cut stroke cost what cutting it cost, not one replay each.

#include "OxPageStroke_p.h"

#include <memory>
#include <vector>

namespace quillmark::detail {

// Builds one stroke per entry of contents.strokes, with key, drawing, edits and ink set (the
// drawing order is left to the caller); strokes of one drawing share it. Returns kDone, or what
// add() would refuse, or kBadDrawing for a drawing index past the drawings and for strokes that
// share a drawing without being different pieces of it; refused then receives the index of the
// stroke refused. Keys are not checked here.
OxStrokePage::Status rebuildStrokes(const OxStrokePage::Contents &contents,
                                    std::vector<std::unique_ptr<OxPageStroke>> &strokes,
                                    size_t &refused);

} // namespace quillmark::detail

#endif
