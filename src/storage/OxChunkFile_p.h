#ifndef OXCHUNKFILE_P_H
#define OXCHUNKFILE_P_H

// The container of a stored page: a header, then chunks, each checksummed, ending with an end
// chunk. All numbers little-endian.
//
//   header   8 bytes  magic 89 51 4D 4B 0D 0A 1A 0A ("\x89QMK\r\n\x1a\n")
//            u32      version, 1: a reader refuses a version it does not know; what a later
//                     version adds without breaking older readers goes into chunks they skip
//   chunk    4 bytes  tag, ASCII letters; an upper-case first letter marks a chunk that a reader
//                     must understand (it refuses the file otherwise), a lower-case one a chunk
//                     it may skip
//            u32      payload size
//            ...      payload
//            u32      CRC-32 of the tag and the payload
//   end      the chunk "QEND" with an empty payload; nothing may follow it
//
// The magic number's first byte is not ASCII and its line endings catch a transfer that
// rewrites them; the end chunk catches a file cut at a chunk boundary.

#include "OxByteStream_p.h"
#include "OxStorageError.h"

#include <array>

namespace quillmark::detail {

constexpr std::uint8_t kMagic[8] = {0x89, 'Q', 'M', 'K', '\r', '\n', 0x1a, '\n'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderBytes = 12;
constexpr std::size_t kChunkFrameBytes = 12;   // tag, size and checksum around a payload

using ChunkTag = std::array<char, 4>;
constexpr ChunkTag kEndTag = {'Q', 'E', 'N', 'D'};

struct Chunk
{
    ChunkTag tag;
    std::size_t offset = 0;            // of the chunk's tag in the input
    const std::uint8_t *payload = nullptr;
    std::size_t size = 0;

    bool critical() const { return tag[0] >= 'A' && tag[0] <= 'Z'; }
    QString name() const;              // "chunk STRK at byte 12"
};

void writeHeader(Bytes &out);
void writeChunk(Bytes &out, ChunkTag tag, const Bytes &payload);
void writeEnd(Bytes &out);

// Checks header, sizes and checksums of everything in data and lists its chunks up to the end
// chunk (which is not listed). Payloads point into data.
OxStorageError readChunks(const std::uint8_t *data, std::size_t size, std::vector<Chunk> &chunks);

OxStorageError storageError(OxStorageError::Kind kind, qint64 offset, const QString &message);

} // namespace quillmark::detail

#endif
