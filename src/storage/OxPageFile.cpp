#include "OxPageFile.h"

#include "OxChunkFile_p.h"
#include "OxRecordCodec_p.h"

#include <QFile>
#include <QSaveFile>

using namespace quillmark::detail;

namespace {
OxStorageError fileError(const QString &path, const QString &what)
{
    return storageError(OxStorageError::kFile, -1, QStringLiteral("%1: %2").arg(path, what));
}
} // namespace

OxStorageError OxPageFile::toBytes(const std::vector<OxStrokeRecord> &records, QByteArray &bytes)
{
    for (std::size_t i = 0; i < records.size(); ++i) {
        const QString fault = recordFault(records[i]);
        if (!fault.isEmpty())
            return storageError(OxStorageError::kMalformed, -1,
                                QStringLiteral("stroke %1: %2").arg(i).arg(fault));
    }
    Bytes strokes;
    if (!encodeRecords(records, strokes))
        return storageError(OxStorageError::kTooLarge, -1,
                            QStringLiteral("the page is larger than a reader accepts"));
    Bytes out;
    writeHeader(out);
    writeChunk(out, kStrokesTag, strokes);
    writeEnd(out);
    bytes = QByteArray(reinterpret_cast<const char *>(out.data()), int(out.size()));
    return OxStorageError();
}

OxStorageError OxPageFile::fromBytes(const QByteArray &bytes, std::vector<OxStrokeRecord> &records)
{
    std::vector<Chunk> chunks;
    OxStorageError error = readChunks(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                      std::size_t(bytes.size()), chunks);
    if (!error.ok())
        return error;
    std::vector<OxStrokeRecord> read;
    bool haveStrokes = false;
    for (const Chunk &chunk : chunks) {
        if (chunk.tag == kStrokesTag) {
            if (haveStrokes)
                return storageError(OxStorageError::kMalformed, qint64(chunk.offset),
                                    QStringLiteral("%1: a second strokes chunk").arg(chunk.name()));
            haveStrokes = true;
            error = decodeRecords(chunk, read);
            if (!error.ok())
                return error;
        } else if (chunk.critical()) {
            return storageError(OxStorageError::kUnknownChunk, qint64(chunk.offset),
                                QStringLiteral("%1: a chunk this reader must understand but does not know")
                                    .arg(chunk.name()));
        }
    }
    if (!haveStrokes)
        return storageError(OxStorageError::kMalformed, -1, QStringLiteral("the page has no strokes chunk"));
    records.swap(read);
    return OxStorageError();
}

OxStorageError OxPageFile::save(const std::vector<OxStrokeRecord> &records, const QString &path)
{
    QByteArray bytes;
    OxStorageError error = toBytes(records, bytes);
    if (!error.ok())
        return error;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fileError(path, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fileError(path, why);
    }
    if (!file.commit())
        return fileError(path, file.errorString());
    return OxStorageError();
}

OxStorageError OxPageFile::load(const QString &path, std::vector<OxStrokeRecord> &records)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fileError(path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fileError(path, file.errorString());
    OxStorageError error = fromBytes(bytes, records);
    if (!error.ok())
        error.message = QStringLiteral("%1: %2").arg(path, error.message);
    return error;
}
