#include "OxChunkFile_p.h"

#include "OxCrc32_p.h"

#include <algorithm>
#include <cstring>

namespace quillmark::detail {
namespace {
bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::uint32_t chunkChecksum(ChunkTag tag, const std::uint8_t *payload, std::size_t size)
{
    const std::uint32_t crc = crc32(reinterpret_cast<const std::uint8_t *>(tag.data()), tag.size());
    return crc32(payload, size, crc);
}

QString hex(std::uint32_t v)
{
    return QStringLiteral("0x%1").arg(v, 8, 16, QLatin1Char('0'));
}
} // namespace

OxStorageError storageError(OxStorageError::Kind kind, qint64 offset, const QString &message)
{
    OxStorageError error;
    error.kind = kind;
    error.offset = offset;
    error.message = message;
    return error;
}

QString Chunk::name() const
{
    return QStringLiteral("chunk %1 at byte %2")
        .arg(QString::fromLatin1(tag.data(), int(tag.size())))
        .arg(qulonglong(offset));
}

void writeHeader(Bytes &out)
{
    ByteWriter writer(out);
    writer.bytes(kMagic, sizeof kMagic);
    writer.u32(kVersion);
}

void writeChunk(Bytes &out, ChunkTag tag, const Bytes &payload)
{
    ByteWriter writer(out);
    writer.bytes(reinterpret_cast<const std::uint8_t *>(tag.data()), tag.size());
    writer.u32(std::uint32_t(payload.size()));
    writer.bytes(payload.data(), payload.size());
    writer.u32(chunkChecksum(tag, payload.data(), payload.size()));
}

void writeEnd(Bytes &out)
{
    writeChunk(out, kEndTag, Bytes());
}

OxStorageError readChunks(const std::uint8_t *data, std::size_t size, std::vector<Chunk> &chunks)
{
    using E = OxStorageError;
    if (size == 0)
        return storageError(E::kTruncated, 0, QStringLiteral("the input is empty"));
    const std::size_t magicBytes = std::min(size, sizeof kMagic);
    if (std::memcmp(data, kMagic, magicBytes) != 0)
        return storageError(E::kNotAPage, 0, QStringLiteral("no page: the magic number at byte 0 is missing"));
    if (size < sizeof kMagic)
        return storageError(E::kTruncated, 0,
                            QStringLiteral("the input ends at byte %1, inside the magic number").arg(size));
    ByteReader in(data, size);
    in.skip(sizeof kMagic);
    const std::uint32_t version = in.u32();
    if (!in.ok())
        return storageError(E::kTruncated, 8, QStringLiteral("the input ends at byte %1, inside the version at byte 8").arg(size));
    if (version != kVersion)
        return storageError(E::kVersion, 8,
                            QStringLiteral("version %1 at byte 8: this reader reads version %2 only")
                                .arg(version).arg(kVersion));
    chunks.clear();
    while (true) {
        Chunk chunk;
        chunk.offset = in.position();
        const std::uint8_t *tag = in.skip(4);
        const std::uint32_t declared = in.u32();
        if (!in.ok())
            return storageError(E::kTruncated, qint64(chunk.offset),
                                QStringLiteral("the input ends at byte %1, inside the chunk header at byte %2 (no end chunk)")
                                    .arg(size).arg(chunk.offset));
        std::memcpy(chunk.tag.data(), tag, 4);
        if (!isLetter(chunk.tag[0]) || !isLetter(chunk.tag[1]) || !isLetter(chunk.tag[2]) || !isLetter(chunk.tag[3]))
            return storageError(E::kMalformed, qint64(chunk.offset),
                                QStringLiteral("byte %1: a chunk tag of letters was expected").arg(chunk.offset));
        if (std::uint64_t(declared) + 4 > in.remaining())
            return storageError(E::kTruncated, qint64(chunk.offset),
                                QStringLiteral("%1 declares %2 bytes, but the input ends at byte %3")
                                    .arg(chunk.name()).arg(declared).arg(size));
        chunk.size = declared;
        chunk.payload = in.skip(declared);
        const std::uint32_t stored = in.u32();
        const std::uint32_t computed = chunkChecksum(chunk.tag, chunk.payload, chunk.size);
        if (stored != computed)
            return storageError(E::kChecksum, qint64(chunk.offset),
                                QStringLiteral("%1: checksum %2 does not match its bytes (%3)")
                                    .arg(chunk.name(), hex(stored), hex(computed)));
        if (chunk.tag == kEndTag) {
            if (chunk.size != 0)
                return storageError(E::kMalformed, qint64(chunk.offset),
                                    QStringLiteral("%1: the end chunk is not empty").arg(chunk.name()));
            if (!in.atEnd())
                return storageError(E::kMalformed, qint64(in.position()),
                                    QStringLiteral("byte %1: %2 bytes follow the end chunk")
                                        .arg(in.position()).arg(in.remaining()));
            return OxStorageError();
        }
        chunks.push_back(chunk);
    }
}

} // namespace quillmark::detail
