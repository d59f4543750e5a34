#include "OxPackedBytes_p.h"

#include <memory>
#include <zstd.h>

namespace quillmark::detail {
namespace {
// Level 3, zstd's default: higher levels search harder for repeats, which these streams of
// small numbers hardly have (level 19 saves under 2% and encodes ten times slower).
constexpr int kLevel = 3;

struct FreeDecompressor
{
    void operator()(ZSTD_DCtx *context) const { ZSTD_freeDCtx(context); }
};

bool withinExpansion(std::uint64_t unpacked, std::uint64_t packed)
{
    return unpacked <= kMaxUnpackedBytes && unpacked <= packed * kMaxExpansion + kExpansionSlack;
}

void writeStored(const Bytes &raw, Bytes &out)
{
    ByteWriter writer(out);
    writer.u8(std::uint8_t(PackMethod::kStored));
    writer.varint(raw.size());
    writer.bytes(raw.data(), raw.size());
}
} // namespace

bool packBytes(const Bytes &raw, Bytes &out)
{
    if (raw.size() > kMaxUnpackedBytes)
        return false;
    Bytes frame(ZSTD_compressBound(raw.size()));
    const std::size_t packed = ZSTD_compress(frame.data(), frame.size(), raw.data(), raw.size(), kLevel);
    if (ZSTD_isError(packed) || packed >= raw.size() || !withinExpansion(raw.size(), packed)) {
        writeStored(raw, out);
        return true;
    }
    ByteWriter writer(out);
    writer.u8(std::uint8_t(PackMethod::kZstd));
    writer.varint(raw.size());
    writer.bytes(frame.data(), packed);
    return true;
}

const char *unpackBytes(ByteReader &in, Bytes &raw)
{
    const std::uint8_t method = in.u8();
    const std::uint64_t size = in.varint();
    if (!in.ok())
        return "the packed bytes end inside their header";
    const std::size_t packed = in.remaining();
    const std::uint8_t *data = in.skip(packed);
    if (method == std::uint8_t(PackMethod::kStored)) {
        if (size != packed)
            return "the stored bytes are not as many as declared";
        raw.assign(data, data + packed);
        return nullptr;
    }
    if (method != std::uint8_t(PackMethod::kZstd))
        return "unknown packing method";
    if (!withinExpansion(size, packed))
        return "declares more unpacked bytes than a reader accepts for its size";
    if (ZSTD_findFrameCompressedSize(data, packed) != packed)
        return "the packed bytes are not one zstd frame";
    if (ZSTD_getFrameContentSize(data, packed) != size)
        return "the zstd frame's size differs from the declared one";
    std::unique_ptr<ZSTD_DCtx, FreeDecompressor> context(ZSTD_createDCtx());
    if (!context)
        return "out of memory for the decompressor";
    raw.resize(size);
    const std::size_t unpacked = ZSTD_decompressDCtx(context.get(), raw.data(), raw.size(), data, packed);
    if (ZSTD_isError(unpacked) || unpacked != size)
        return "the zstd frame is damaged";
    return nullptr;
}

bool packSections(const std::vector<Bytes> &sections, Bytes &out)
{
    Bytes body;
    ByteWriter writer(body);
    for (const Bytes &section : sections) {
        writer.varint(section.size());
        writer.bytes(section.data(), section.size());
    }
    return packBytes(body, out);
}

QString unpackSections(ByteReader &in, int count, Bytes &body, std::vector<ByteReader> &sections)
{
    if (const char *fault = unpackBytes(in, body))
        return QLatin1String(fault);
    ByteReader list(body.data(), body.size());
    sections.clear();
    for (int s = 0; s < count; ++s) {
        const std::uint64_t size = list.varint();
        const std::uint8_t *start = list.skip(size > list.remaining() ? ~std::size_t(0) : std::size_t(size));
        if (!list.ok())
            return QStringLiteral("section %1 of %2 ends past the unpacked bytes").arg(s + 1).arg(count);
        sections.emplace_back(start, std::size_t(size));
    }
    if (!list.atEnd())
        return QStringLiteral("%1 bytes follow the last section").arg(list.remaining());
    return QString();
}

QString leftoverSection(const std::vector<ByteReader> &sections)
{
    for (std::size_t s = 0; s < sections.size(); ++s) {
        if (!sections[s].atEnd())
            return QStringLiteral("section %1 of %2 has %3 bytes left over")
                .arg(s + 1).arg(sections.size()).arg(sections[s].remaining());
    }
    return QString();
}

} // namespace quillmark::detail
