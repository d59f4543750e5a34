#ifndef OXKEYSCODEC_P_H
#define OXKEYSCODEC_P_H

// The keys chunk (keys): the keys of a page's strokes and the key its next stroke gets, which a
// host may keep in its own data. An older reader skips it (it loses nothing it could show); a
// page whose keys are 1 to n, with n + 1 next, goes without it. Not packed:
//
//   varint  next key
//   varint  stroke count, which must be the page's
//   per stroke in drawing order: varint zigzag(key - the key before), the first one's from 0
//
// Keys are positive, different and below the next key; the page that takes them checks that.

#include "OxChunkFile_p.h"
#include "OxStrokePage.h"

#include <vector>

namespace quillmark::detail {

constexpr ChunkTag kKeysTag = {'k', 'e', 'y', 's'};

// Whether the keys are other than 1 to n with n + 1 next, so that the page needs the chunk.
bool keysNeeded(const std::vector<OxStrokePage::Contents::Stroke> &strokes, OxStrokePage::Key nextKey);
void encodeKeys(const std::vector<OxStrokePage::Contents::Stroke> &strokes, OxStrokePage::Key nextKey,
                Bytes &payload);
// Sets the keys of strokes (read from the chunks before) and nextKey.
OxStorageError decodeKeys(const Chunk &chunk, std::vector<OxStrokePage::Contents::Stroke> &strokes,
                          OxStrokePage::Key &nextKey);

} // namespace quillmark::detail

#endif
