// Rebuilding the strokes of a stored page, a drawing and its shared cuts at a time.

#include "OxPageRestore_p.h"

#include "OxRecordReplay_p.h"

#include <cstring>

namespace quillmark::detail {
namespace {
using Status = OxStrokePage::Status;
using Stored = OxStrokePage::Contents::Stroke;

bool sameFloats(const std::vector<float> &a, const std::vector<float> &b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

// Whether two edits are one change, to the bit (the eraser's path and radius, or the offset),
// piece aside.
bool sameChange(const OxRecordedEdit &a, const OxRecordedEdit &b)
{
    return a.kind == b.kind && std::memcmp(&a.radius, &b.radius, sizeof a.radius) == 0
           && sameFloats(a.xy, b.xy);
}

// Where the edits of a later piece of a drawing part from those of the piece before: the index
// of the first edit that differs, which must be the same erase in both, with a later piece in
// later. False when they do not part so.
bool partsAt(const std::vector<OxRecordedEdit> &before, const std::vector<OxRecordedEdit> &later,
             size_t &at)
{
    at = 0;
    while (at < before.size() && at < later.size() && sameChange(before[at], later[at])
           && before[at].piece == later[at].piece)
        ++at;
    return at < before.size() && at < later.size() && before[at].kind == OxRecordedEdit::kErase
           && sameChange(before[at], later[at]) && before[at].piece < later[at].piece;
}

// A cut made on the way to the previous stroke of the drawing that left several pieces: a later
// stroke that parts from it there takes another of them.
struct SharedCut
{
    size_t edit = 0;
    std::vector<OxInk> pieces;
};

// Rebuilds the strokes of one drawing after the other, keeping the cuts the next one may share.
class DrawingReplay
{
public:
    // Starts a drawing: its ink as drawn.
    Status start(const OxStrokeRecord &drawing)
    {
        cuts.clear();
        return statusOf(drawnInk(drawing, drawn));
    }

    // The ink of the drawing's next stroke, whose edits are the previous one's up to edit from
    // (0 for the first stroke of the drawing).
    Status next(const std::vector<OxRecordedEdit> &edits, size_t from, bool first, OxInk &ink)
    {
        if (first) {
            ink = drawn;
        } else {
            while (!cuts.empty() && cuts.back().edit > from)
                cuts.pop_back();
            // The stroke before took an earlier piece of this cut, so it left several.
            if (cuts.empty() || cuts.back().edit != from
                || edits[from].piece >= cuts.back().pieces.size())
                return OxStrokePage::kUnusableRecord;
            ink = cuts.back().pieces[edits[from].piece];
            ++from;
        }
        for (size_t i = from; i < edits.size(); ++i) {
            const OxRecordedEdit &edit = edits[i];
            if (edit.kind != OxRecordedEdit::kErase) {
                const Status status = statusOf(applyEdit(edit, ink));
                if (status != OxStrokePage::kDone)
                    return status;
                continue;
            }
            SharedCut cut{i, {}};
            const Status status = statusOf(erasedPieces(edit, ink, cut.pieces));
            if (status != OxStrokePage::kDone)
                return status;
            if (edit.piece >= cut.pieces.size())
                return OxStrokePage::kUnusableRecord;
            ink = cut.pieces[edit.piece];
            if (cut.pieces.size() > 1)
                cuts.push_back(std::move(cut));
        }
        return OxStrokePage::kDone;
    }

private:
    OxInk drawn;
    std::vector<SharedCut> cuts;   // along the previous stroke's edits, in their order
};
} // namespace

Status rebuildStrokes(const OxStrokePage::Contents &contents,
                      std::vector<std::unique_ptr<OxPageStroke>> &strokes, size_t &refused)
{
    std::vector<std::shared_ptr<const OxStrokeRecord>> drawings(contents.drawings.size());
    DrawingReplay replay;
    const Stored *previous = nullptr;
    strokes.clear();
    for (size_t i = 0; i < contents.strokes.size(); ++i) {
        const Stored &stored = contents.strokes[i];
        refused = i;
        if (stored.drawing >= drawings.size())
            return OxStrokePage::kBadDrawing;
        std::shared_ptr<const OxStrokeRecord> &drawing = drawings[stored.drawing];
        const bool first = !previous || previous->drawing != stored.drawing;
        size_t from = 0;
        if (first) {
            // The strokes of a drawing follow one another.
            if (drawing)
                return OxStrokePage::kBadDrawing;
            auto copy = std::make_shared<OxStrokeRecord>(contents.drawings[stored.drawing]);
            copy->edits.clear();
            drawing = std::move(copy);
            const Status status = replay.start(*drawing);
            if (status != OxStrokePage::kDone)
                return status;
        } else if (!partsAt(previous->edits, stored.edits, from)) {
            return OxStrokePage::kBadDrawing;
        }
        OxInk ink;
        const Status status = replay.next(stored.edits, from, first, ink);
        if (status != OxStrokePage::kDone)
            return status;
        if (!coversArea(ink))
            return OxStrokePage::kNoInk;
        auto stroke = std::make_unique<OxPageStroke>();
        stroke->key = stored.key;
        stroke->drawn = drawing;
        stroke->edits = stored.edits;
        stroke->setInk(std::move(ink));
        strokes.push_back(std::move(stroke));
        previous = &stored;
    }
    return OxStrokePage::kDone;
}

} // namespace quillmark::detail
