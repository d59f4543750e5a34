#include "OxCrc32_p.h"

#include <array>

namespace quillmark::detail {
namespace {
constexpr std::uint32_t kPolynomial = 0xEDB88320u;
constexpr int kSlices = 4;

// Table t[0] is the classic byte table; t[j] advances a byte's remainder by j more zero bytes,
// so that four bytes are folded in at once ("slicing by four").
using Tables = std::array<std::array<std::uint32_t, 256>, kSlices>;

constexpr Tables makeTables()
{
    Tables t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? kPolynomial ^ (c >> 1) : c >> 1;
        t[0][i] = c;
    }
    for (std::uint32_t i = 0; i < 256; ++i)
        for (int j = 1; j < kSlices; ++j)
            t[j][i] = t[0][t[j - 1][i] & 0xff] ^ (t[j - 1][i] >> 8);
    return t;
}

constexpr Tables kTables = makeTables();
} // namespace

std::uint32_t crc32(const std::uint8_t *data, std::size_t size, std::uint32_t crc)
{
    crc = ~crc;
    std::size_t i = 0;
    for (; i + kSlices <= size; i += kSlices) {
        crc ^= std::uint32_t(data[i]) | std::uint32_t(data[i + 1]) << 8 |
               std::uint32_t(data[i + 2]) << 16 | std::uint32_t(data[i + 3]) << 24;
        crc = kTables[3][crc & 0xff] ^ kTables[2][(crc >> 8) & 0xff] ^
              kTables[1][(crc >> 16) & 0xff] ^ kTables[0][crc >> 24];
    }
    for (; i < size; ++i)
        crc = kTables[0][(crc ^ data[i]) & 0xff] ^ (crc >> 8);
    return ~crc;
}

} // namespace quillmark::detail
