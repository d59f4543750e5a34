#ifndef OXBYTESTREAM_P_H
#define OXBYTESTREAM_P_H

// Little-endian fixed-width numbers and LEB128 variable-length integers, written to a growing
// buffer and read back from a bounded one. The reader never reads past its end: a read that does
// not fit fails the reader, and every later read of it returns 0, so a caller checks ok() once
// after a group of reads, before it uses or allocates by what it read.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace quillmark::detail {

using Bytes = std::vector<std::uint8_t>;

// An unsigned 64-bit integer takes at most ten 7-bit groups.
constexpr int kMaxVarintBytes = 10;

// Signed integers as unsigned ones with small magnitudes first: 0, -1, 1, -2, 2, ...
inline std::uint64_t zigzag(std::int64_t v)
{
    return (std::uint64_t(v) << 1) ^ (v < 0 ? ~std::uint64_t(0) : 0);
}

inline std::int64_t unzigzag(std::uint64_t u)
{
    return std::int64_t((u >> 1) ^ (~(u & 1) + 1));
}

class ByteWriter
{
public:
    explicit ByteWriter(Bytes &out) : out(out) {}

    void u8(std::uint8_t v) { out.push_back(v); }
    void u16(std::uint16_t v) { fixed(v, 2); }
    void u32(std::uint32_t v) { fixed(v, 4); }
    void varint(std::uint64_t v)
    {
        while (v >= 0x80) {
            out.push_back(std::uint8_t(v | 0x80));
            v >>= 7;
        }
        out.push_back(std::uint8_t(v));
    }
    void signedVarint(std::int64_t v) { varint(zigzag(v)); }
    void bytes(const std::uint8_t *data, std::size_t size) { out.insert(out.end(), data, data + size); }

private:
    void fixed(std::uint64_t v, int size)
    {
        for (int i = 0; i < size; ++i)
            out.push_back(std::uint8_t(v >> (8 * i)));
    }

    Bytes &out;
};

class ByteReader
{
public:
    ByteReader(const std::uint8_t *data, std::size_t size) : at(data), end(data + size), begin(data) {}

    bool ok() const { return good; }
    std::size_t position() const { return std::size_t(at - begin); }
    std::size_t remaining() const { return std::size_t(end - at); }
    bool atEnd() const { return at == end; }
    const std::uint8_t *current() const { return at; }

    std::uint8_t u8() { return std::uint8_t(fixed(1)); }
    std::uint16_t u16() { return std::uint16_t(fixed(2)); }
    std::uint32_t u32() { return std::uint32_t(fixed(4)); }

    std::uint64_t varint()
    {
        std::uint64_t v = 0;
        for (int i = 0; i < kMaxVarintBytes && at < end; ++i) {
            const std::uint8_t byte = *at++;
            // The tenth group holds the 64th bit only.
            if (i == kMaxVarintBytes - 1 && byte > 1)
                break;
            v |= std::uint64_t(byte & 0x7f) << (7 * i);
            if (byte < 0x80)
                return v;
        }
        return fail();
    }
    std::int64_t signedVarint() { return unzigzag(varint()); }

    // The next size bytes, skipped over; nullptr (and a failed reader) when fewer remain.
    const std::uint8_t *skip(std::size_t size)
    {
        if (!good || size > remaining()) {
            fail();
            return nullptr;
        }
        const std::uint8_t *start = at;
        at += size;
        return start;
    }

private:
    std::uint64_t fixed(int size)
    {
        if (!good || std::size_t(size) > remaining())
            return fail();
        std::uint64_t v = 0;
        for (int i = 0; i < size; ++i)
            v |= std::uint64_t(at[i]) << (8 * i);
        at += size;
        return v;
    }

    std::uint64_t fail()
    {
        good = false;
        at = end;
        return 0;
    }

    const std::uint8_t *at;
    const std::uint8_t *end;
    const std::uint8_t *begin;
    bool good = true;
};

} // namespace quillmark::detail

#endif
