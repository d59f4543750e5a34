#include "OxPageLayout_p.h"

#include "OxEditCodec_p.h"
#include "OxKeysCodec_p.h"
#include "OxRecordCodec_p.h"

namespace quillmark::detail {
namespace {
using Stroke = OxStrokePage::Contents::Stroke;

// Whether the strokes are the drawings one to one, without edits: the strokes chunk says it all.
bool plainDrawings(const std::vector<OxStrokeRecord> &drawings, const std::vector<Stroke> &strokes)
{
    if (strokes.size() != drawings.size())
        return false;
    for (const Stroke &stroke : strokes) {
        if (!stroke.edits.empty())
            return false;
    }
    return true;
}

OxStorageError refused(const QString &what)
{
    return storageError(OxStorageError::kMalformed, -1, what);
}

// The chunks of a page by tag; an error for one that repeats or that must be known but is not.
struct PageChunks
{
    const Chunk *strokes = nullptr;
    const Chunk *edits = nullptr;
    const Chunk *keys = nullptr;

    OxStorageError take(const Chunk &chunk)
    {
        const Chunk **slot = chunk.tag == kStrokesTag ? &strokes
                             : chunk.tag == kEditsTag ? &edits
                             : chunk.tag == kKeysTag  ? &keys
                                                      : nullptr;
        if (!slot) {
            if (!chunk.critical())
                return OxStorageError();
            return storageError(OxStorageError::kUnknownChunk, qint64(chunk.offset),
                                QStringLiteral("%1: a chunk this reader must understand but does not know")
                                    .arg(chunk.name()));
        }
        if (*slot)
            return storageError(OxStorageError::kMalformed, qint64(chunk.offset),
                                QStringLiteral("%1: a second chunk of this kind").arg(chunk.name()));
        *slot = &chunk;
        return OxStorageError();
    }
};
} // namespace

OxStorageError writePage(const std::vector<OxStrokeRecord> &drawings, const std::vector<Stroke> &strokes,
                         OxStrokePage::Key nextKey, QByteArray &bytes)
{
    for (std::size_t i = 0; i < drawings.size(); ++i) {
        const QString fault = recordFault(drawings[i]);
        if (!fault.isEmpty())
            return refused(QStringLiteral("stroke %1: %2").arg(i).arg(fault));
    }
    for (std::size_t i = 0; i < strokes.size(); ++i) {
        for (const OxRecordedEdit &edit : strokes[i].edits) {
            const QString fault = editFault(edit);
            if (!fault.isEmpty())
                return refused(QStringLiteral("stroke %1: %2").arg(i).arg(fault));
        }
    }
    Bytes payload;
    Bytes out;
    writeHeader(out);
    if (!encodeRecords(drawings, payload))
        return storageError(OxStorageError::kTooLarge, -1, QStringLiteral("the page is larger than a reader accepts"));
    writeChunk(out, kStrokesTag, payload);
    if (!plainDrawings(drawings, strokes)) {
        payload.clear();
        if (!encodeEdits(strokes, payload))
            return storageError(OxStorageError::kTooLarge, -1, QStringLiteral("the page's edits are more than a reader accepts"));
        writeChunk(out, kEditsTag, payload);
    }
    if (keysNeeded(strokes, nextKey)) {
        payload.clear();
        encodeKeys(strokes, nextKey, payload);
        writeChunk(out, kKeysTag, payload);
    }
    writeEnd(out);
    bytes = QByteArray(reinterpret_cast<const char *>(out.data()), int(out.size()));
    return OxStorageError();
}

OxStorageError readPage(const QByteArray &bytes, OxStrokePage::Contents &contents, Chunk &strokesChunk)
{
    std::vector<Chunk> chunks;
    OxStorageError error = readChunks(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                      std::size_t(bytes.size()), chunks);
    if (!error.ok())
        return error;
    PageChunks page;
    for (const Chunk &chunk : chunks) {
        error = page.take(chunk);
        if (!error.ok())
            return error;
    }
    if (!page.strokes)
        return storageError(OxStorageError::kMalformed, -1, QStringLiteral("the page has no strokes chunk"));
    OxStrokePage::Contents read;
    error = decodeRecords(*page.strokes, read.drawings);
    if (!error.ok())
        return error;
    if (page.edits) {
        error = decodeEdits(*page.edits, read.drawings.size(), read.strokes);
        if (!error.ok())
            return error;
    } else {
        read.strokes.resize(read.drawings.size());
        for (std::size_t i = 0; i < read.strokes.size(); ++i)
            read.strokes[i].drawing = i;
    }
    for (std::size_t i = 0; i < read.strokes.size(); ++i)
        read.strokes[i].key = OxStrokePage::Key(i + 1);
    read.nextKey = OxStrokePage::Key(read.strokes.size() + 1);
    if (page.keys) {
        error = decodeKeys(*page.keys, read.strokes, read.nextKey);
        if (!error.ok())
            return error;
    }
    strokesChunk = page.edits ? *page.edits : *page.strokes;
    contents = std::move(read);
    return OxStorageError();
}

} // namespace quillmark::detail
