#ifndef OXPACKEDBYTES_P_H
#define OXPACKEDBYTES_P_H

// A run of bytes as a chunk stores it: compressed with zstd, or as it is when that is not
// smaller (or would expand by more than a reader accepts).
//
//   u8      method: 0 stored, 1 one zstd frame
//   varint  size of the bytes unpacked
//   ...     the rest of the chunk: the bytes, or the frame (content size declared, no checksum)
//
// A reader allocates the unpacked size only when it is at most kMaxExpansion times the packed
// bytes plus kExpansionSlack, and at most kMaxUnpackedBytes: a few bytes of input cannot make it
// allocate gigabytes. The writer stores bytes that would expand by more.

#include "OxByteStream_p.h"

#include <QString>

namespace quillmark::detail {

constexpr std::uint64_t kMaxExpansion = 256;
constexpr std::uint64_t kExpansionSlack = 64 * 1024;
constexpr std::uint64_t kMaxUnpackedBytes = std::uint64_t(1) << 30;

enum class PackMethod : std::uint8_t { kStored = 0, kZstd = 1 };

// Appends raw, packed, to out. Returns false when raw is larger than kMaxUnpackedBytes.
bool packBytes(const Bytes &raw, Bytes &out);

// Unpacks everything left in in. Returns nullptr, or what is wrong (raw is then unspecified).
const char *unpackBytes(ByteReader &in, Bytes &raw);

// The bytes a chunk packs as sections: each a varint byte count and its bytes, nothing after
// the last. Returns false as packBytes() does.
bool packSections(const std::vector<Bytes> &sections, Bytes &out);
// Unpacks everything left in in into body and splits it into count sections, readers over
// body. Returns an empty string, or what is wrong.
QString unpackSections(ByteReader &in, int count, Bytes &body, std::vector<ByteReader> &sections);
// After a chunk is read: an empty string when every section was read to its end, else which one
// has bytes left over.
QString leftoverSection(const std::vector<ByteReader> &sections);

} // namespace quillmark::detail

#endif
