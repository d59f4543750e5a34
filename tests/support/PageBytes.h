#ifndef QUILLMARK_PAGEBYTES_H
#define QUILLMARK_PAGEBYTES_H

// A stored page taken apart into its chunks and put together again, written from the format's
// description in docs/page-format.md, so that tests and the reader's fuzz target can damage, add
// and forge chunks with checksums that hold.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

struct RawChunk
{
    std::string tag;
    QByteArray payload;
};

// CRC-32 bit by bit (zlib's polynomial), the slow and obvious way.
inline std::uint32_t referenceCrc32(const QByteArray &bytes)
{
    std::uint32_t crc = 0xffffffffu;
    for (char c : bytes) {
        crc ^= std::uint8_t(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ ((crc & 1) ? 0xedb88320u : 0);
    }
    return ~crc;
}

inline void appendU32(QByteArray &out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xff));
}

inline void appendVarint(QByteArray &out, std::uint64_t v)
{
    while (v >= 0x80) {
        out.append(char((v & 0x7f) | 0x80));
        v >>= 7;
    }
    out.append(char(v));
}

inline std::uint32_t readU32(const QByteArray &bytes, int at)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= std::uint32_t(std::uint8_t(bytes[at + i])) << (8 * i);
    return v;
}

const QByteArray kPageMagic("\x89QMK\r\n\x1a\n", 8);

// The chunks of a well-formed page, the end chunk included.
inline std::vector<RawChunk> chunksOf(const QByteArray &page)
{
    std::vector<RawChunk> chunks;
    for (int at = 12; at + 12 <= page.size();) {
        const int size = int(readU32(page, at + 4));
        chunks.push_back(RawChunk{page.mid(at, 4).toStdString(), page.mid(at + 8, size)});
        at += 12 + size;
    }
    return chunks;
}

// Rewrites the checksum of every chunk whose size fits in the input, from the first on, as a
// writer would have computed it.
inline void fixChecksums(QByteArray &page)
{
    for (int at = 12; at + 12 <= page.size();) {
        const std::uint32_t size = readU32(page, at + 4);
        if (size > std::uint32_t(page.size() - at - 12))
            return;
        const std::uint32_t crc = referenceCrc32(page.mid(at, 4) + page.mid(at + 8, int(size)));
        for (int i = 0; i < 4; ++i)
            page[at + 8 + int(size) + i] = char((crc >> (8 * i)) & 0xff);
        at += 12 + int(size);
    }
}

inline QByteArray chunkBytes(const RawChunk &chunk)
{
    QByteArray out = QByteArray::fromStdString(chunk.tag);
    appendU32(out, std::uint32_t(chunk.payload.size()));
    out.append(chunk.payload);
    appendU32(out, referenceCrc32(QByteArray::fromStdString(chunk.tag) + chunk.payload));
    return out;
}

inline QByteArray pageOf(const std::vector<RawChunk> &chunks, std::uint32_t version = 1)
{
    QByteArray out = kPageMagic;
    appendU32(out, version);
    for (const RawChunk &chunk : chunks)
        out.append(chunkBytes(chunk));
    return out;
}

// A strokes chunk payload holding body as it is (method 0: stored).
inline QByteArray storedPayload(const QByteArray &body)
{
    QByteArray out(1, '\0');
    appendVarint(out, std::uint64_t(body.size()));
    return out + body;
}

// The seven sections of a strokes chunk body, each with its byte count.
inline QByteArray sectionsOf(const std::vector<QByteArray> &sections)
{
    QByteArray out;
    for (const QByteArray &section : sections) {
        appendVarint(out, std::uint64_t(section.size()));
        out.append(section);
    }
    return out;
}

#endif
