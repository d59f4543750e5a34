#ifndef OXEDITCODEC_P_H
#define OXEDITCODEC_P_H

// The edits chunk (EDIT): which drawing of the strokes chunk each stroke of a page is drawn from,
// and the edits made to it since (OxStrokePage::Contents). A reader that does not know it would
// show erased ink, so it is critical; a page whose strokes are the drawings one to one, without
// edits, goes without it. Packed as the strokes chunk (OxPackedBytes_p.h); unpacked, five
// sections:
//
//   changes     varint change count, then per change: u8 kind, 0 erase or 1 move;
//                 erase: varint position count (at least 1), u32 radius (float bits)
//                 move:  u32 dx, u32 dy (float bits)
//               then the models of the eraser x and y channels (OxChannelModel_p.h)
//   eraser x, eraser y
//               the positions of every erase change, in change order, coded as one channel
//               each
//   exceptions  of eraser x, then of eraser y
//   strokes     varint stroke count, then per stroke in drawing order:
//                 u8 drawing: 1 the next drawing (the first stroke's is the first), 0 the
//                   drawing of the stroke before
//                 varint edit count, and per edit a varint change index and, for an erase,
//                 a varint piece
//
// Each different change is stored once (the pieces of a cut all name its erase). A move keeps
// no radius or piece: they read back as 0.

#include "OxChunkFile_p.h"
#include "OxStrokePage.h"

#include <vector>

namespace quillmark::detail {

constexpr ChunkTag kEditsTag = {'E', 'D', 'I', 'T'};

using StoredStroke = OxStrokePage::Contents::Stroke;

// What an edit must be for the edits chunk to hold it: a move of two numbers, or an erase of
// one position or more. Returns an empty string or what is wrong.
QString editFault(const OxRecordedEdit &edit);

// The payload of the edits chunk. The strokes' drawings must be 0, and then each the one of the
// stroke before or the next (as OxStrokePage::contents() gives them). False when the page is
// larger than a reader accepts.
bool encodeEdits(const std::vector<StoredStroke> &strokes, Bytes &payload);
// Reads the strokes of the edits chunk; drawings is the number of the strokes chunk's records,
// which the strokes must use up. The eraser positions the strokes' edits hold, each counted once
// per edit, may not exceed kMaxExpansion times the chunk's size plus kExpansionSlack.
OxStorageError decodeEdits(const Chunk &chunk, std::size_t drawings, std::vector<StoredStroke> &strokes);

} // namespace quillmark::detail

#endif
