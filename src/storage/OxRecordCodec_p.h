#ifndef OXRECORDCODEC_P_H
#define OXRECORDCODEC_P_H

// The strokes chunk (STRK): every stroke record of a page, its engine, width, colour, calls and
// samples, packed (OxPackedBytes_p.h). Unpacked, it is seven sections, each a varint byte count
// and its bytes:
//
//   meta        varint stroke count, then per stroke:
//                 varint engine id, u32 width (float bits), u32 colour, varint sample count,
//                 varint step count, and a model for x, y, time and pressure in that order:
//                   u8 grid kind, u8 grid digits, u8 order (bits 0-1) and lattice (bit 2),
//                   [varint lattice step, varint lattice offset], varint exception count
//   steps       per step one byte: the call (bits 0-2) and 0x80 when it took one sample;
//               otherwise a varint sample count follows
//   x, y, time, pressure
//               per stroke its values of the channel, as its model codes them
//               (OxChannelModel_p.h)
//   exceptions  per stroke and channel, x to pressure, its exceptions: varint index gap, u32 bits
//
// Streams of one kind sit together, so that the compressor finds the numbers of one channel
// next to each other.

#include "OxChunkFile_p.h"
#include "OxStrokeRecord.h"

#include <vector>

namespace quillmark::detail {

constexpr ChunkTag kStrokesTag = {'S', 'T', 'R', 'K'};

// What a record must be for a reader to accept it: one of the six engines, steps that take its
// samples exactly, known calls. Returns an empty string or what is wrong.
QString recordFault(const OxStrokeRecord &record);

// The payload of the strokes chunk, for valid records (recordFault). False when the page is
// larger than a reader accepts (kMaxUnpackedBytes).
bool encodeRecords(const std::vector<OxStrokeRecord> &records, Bytes &payload);
OxStorageError decodeRecords(const Chunk &chunk, std::vector<OxStrokeRecord> &records);

} // namespace quillmark::detail

#endif
