#ifndef OXPAGELAYOUT_P_H
#define OXPAGELAYOUT_P_H

// The chunks of a stored page and how they fit together:
//
//   STRK  the drawings: every record the page's strokes were drawn from, once (OxRecordCodec_p.h)
//   EDIT  which drawing each stroke is and the edits made to it (OxEditCodec_p.h); without it
//         the strokes are the drawings one to one, without edits
//   keys  the strokes' keys and the next key (OxKeysCodec_p.h); without it 1 to n, and n + 1
//   QEND
//
// Each at most once, in this order when written; a reader takes them in any order before the
// end chunk, skips ancillary chunks it does not know and refuses critical ones.

#include "OxChunkFile_p.h"
#include "OxStrokePage.h"

#include <QByteArray>

namespace quillmark::detail {

// Writes a page. The strokes' drawings must be 0, and then each the one of the stroke before or
// the next, using up drawings. Refuses (bytes unchanged) drawings and edits a reader would refuse.
OxStorageError writePage(const std::vector<OxStrokeRecord> &drawings,
                         const std::vector<OxStrokePage::Contents::Stroke> &strokes,
                         OxStrokePage::Key nextKey, QByteArray &bytes);

// Reads a page into contents (left as it was on failure). strokesChunk receives the chunk that
// lists the strokes (the edits chunk, or the strokes chunk), for errors about them.
OxStorageError readPage(const QByteArray &bytes, OxStrokePage::Contents &contents, Chunk &strokesChunk);

} // namespace quillmark::detail

#endif
