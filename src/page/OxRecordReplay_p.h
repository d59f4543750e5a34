#ifndef OXRECORDREPLAY_P_H
#define OXRECORDREPLAY_P_H

// A stroke's ink rebuilt from its record: the engine calls replayed on a fresh engine of its
// kind, the drawn shape put on the grid (the centre-line engine's line stroked at the pen width
// with round caps and joins), then the record's edits made in order. The same record gives the
// same ink, point for point.

#include "OxInk_p.h"
#include "OxInkBooleans_p.h"
#include "OxStrokePage.h"
#include "OxStrokeRecord.h"

namespace quillmark::detail {

enum class OxReplayResult {
    kDone,
    kUnusable,    // an unknown engine, a width that is not finite, steps that do not add up to
                  // the samples or that the engine lacks, an edit that names no piece
    kOutOfRange,  // a coordinate beyond the grid
};

// What a page says when a record does not replay.
inline OxStrokePage::Status statusOf(OxReplayResult result)
{
    switch (result) {
    case OxReplayResult::kDone:
        return OxStrokePage::kDone;
    case OxReplayResult::kUnusable:
        return OxStrokePage::kUnusableRecord;
    case OxReplayResult::kOutOfRange:
        break;
    }
    return OxStrokePage::kOutOfRange;
}

// The ink the engine calls of record draw (edits not made).
OxReplayResult drawnInk(const OxStrokeRecord &record, OxInk &ink);
// One edit made to ink: it becomes the ink the record of the edit names (a piece of a cut).
OxReplayResult applyEdit(const OxRecordedEdit &edit, OxInk &ink);
// Every piece an erase edit leaves of ink, in the order its piece numbers count them (none
// when it takes all of the ink).
OxReplayResult erasedPieces(const OxRecordedEdit &edit, const OxInk &ink,
                            std::vector<OxInk> &pieces);
// Whether ink covers any area on the grid: rings of some area, or a line whose reach is more
// than a few grid steps (or, when less, whose stroked form still covers some).
bool coversArea(const OxInk &ink);
// The region an erase edit cuts away.
bool erasedRegion(const OxRecordedEdit &edit, OxInkRegion &region);

} // namespace quillmark::detail

#endif
