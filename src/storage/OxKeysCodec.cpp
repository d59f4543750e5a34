#include "OxKeysCodec_p.h"

namespace quillmark::detail {

using Key = OxStrokePage::Key;

bool keysNeeded(const std::vector<OxStrokePage::Contents::Stroke> &strokes, Key nextKey)
{
    for (std::size_t i = 0; i < strokes.size(); ++i) {
        if (strokes[i].key != Key(i + 1))
            return true;
    }
    return nextKey != Key(strokes.size() + 1);
}

void encodeKeys(const std::vector<OxStrokePage::Contents::Stroke> &strokes, Key nextKey, Bytes &payload)
{
    ByteWriter out(payload);
    out.varint(std::uint64_t(nextKey));
    out.varint(strokes.size());
    Key before = 0;
    for (const OxStrokePage::Contents::Stroke &stroke : strokes) {
        out.signedVarint(stroke.key - before);
        before = stroke.key;
    }
}

OxStorageError decodeKeys(const Chunk &chunk, std::vector<OxStrokePage::Contents::Stroke> &strokes,
                          Key &nextKey)
{
    ByteReader in(chunk.payload, chunk.size);
    const std::uint64_t next = in.varint();
    const std::uint64_t count = in.varint();
    const auto fault = [&](const QString &what) {
        return storageError(OxStorageError::kMalformed, qint64(chunk.offset),
                            QStringLiteral("%1: %2").arg(chunk.name(), what));
    };
    if (!in.ok())
        return fault(QStringLiteral("the chunk ends early"));
    if (count != strokes.size())
        return fault(QStringLiteral("%1 keys for %2 strokes").arg(count).arg(strokes.size()));
    // Keys out of range wrap around here; the page refuses them.
    std::uint64_t key = 0;
    for (OxStrokePage::Contents::Stroke &stroke : strokes) {
        key += std::uint64_t(in.signedVarint());
        stroke.key = Key(key);
    }
    if (!in.ok())
        return fault(QStringLiteral("the chunk ends early"));
    if (!in.atEnd())
        return fault(QStringLiteral("%1 bytes follow the last key").arg(in.remaining()));
    nextKey = next > std::uint64_t(INT64_MAX) ? -1 : Key(next);
    return OxStorageError();
}

} // namespace quillmark::detail
