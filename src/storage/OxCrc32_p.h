#ifndef OXCRC32_P_H
#define OXCRC32_P_H

// CRC-32 as zlib and PNG compute it (reflected polynomial 0xEDB88320, initial value and final
// xor 0xFFFFFFFF): crc32("123456789") is 0xCBF43926.

#include <cstddef>
#include <cstdint>

namespace quillmark::detail {

// The checksum of size bytes at data, continuing from crc (the value of the bytes before them;
// 0 for none).
std::uint32_t crc32(const std::uint8_t *data, std::size_t size, std::uint32_t crc = 0);

} // namespace quillmark::detail

#endif
