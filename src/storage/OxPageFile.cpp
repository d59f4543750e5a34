#include "OxPageFile.h"

#include "OxChunkFile_p.h"
#include "OxPageLayout_p.h"

#include <QFile>
#include <QSaveFile>

using namespace quillmark::detail;

namespace {
using Stroke = OxStrokePage::Contents::Stroke;

OxStorageError fileError(const QString &path, const QString &what)
{
    return storageError(OxStorageError::kFile, -1, QStringLiteral("%1: %2").arg(path, what));
}

OxStorageError writeFile(const QByteArray &bytes, const QString &path)
{
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

// A page or records saved to path.
template <class Stored>
OxStorageError saveTo(const Stored &stored, const QString &path)
{
    QByteArray bytes;
    const OxStorageError error = OxPageFile::toBytes(stored, bytes);
    return error.ok() ? writeFile(bytes, path) : error;
}

// A page or records loaded from path; errors name the file.
template <class Stored>
OxStorageError loadFrom(const QString &path, Stored &stored)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fileError(path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fileError(path, file.errorString());
    OxStorageError error = OxPageFile::fromBytes(bytes, stored);
    if (!error.ok())
        error.message = QStringLiteral("%1: %2").arg(path, error.message);
    return error;
}

bool edited(const OxStrokePage::Contents &contents)
{
    if (contents.strokes.size() != contents.drawings.size())
        return true;
    for (const Stroke &stroke : contents.strokes) {
        if (!stroke.edits.empty())
            return true;
    }
    return false;
}
} // namespace

OxStorageError OxPageFile::toBytes(const OxStrokePage &page, QByteArray &bytes)
{
    const OxStrokePage::Contents contents = page.contents();
    return writePage(contents.drawings, contents.strokes, contents.nextKey, bytes);
}

OxStorageError OxPageFile::fromBytes(const QByteArray &bytes, OxStrokePage &page)
{
    OxStrokePage::Contents contents;
    Chunk strokesChunk;
    const OxStorageError error = readPage(bytes, contents, strokesChunk);
    if (!error.ok())
        return error;
    size_t refused = 0;
    const OxStrokePage::Status status = page.restore(contents, &refused);
    if (status == OxStrokePage::kDone)
        return OxStorageError();
    const QString which = refused < contents.strokes.size()
                              ? QStringLiteral("stroke %1 (key %2)").arg(refused).arg(contents.strokes[refused].key)
                              : QStringLiteral("the next key %1").arg(contents.nextKey);
    return storageError(OxStorageError::kRefused, qint64(strokesChunk.offset),
                        QStringLiteral("%1: %2: the page refuses it: %3")
                            .arg(strokesChunk.name(), which, QLatin1String(OxStrokePage::describe(status))));
}

OxStorageError OxPageFile::save(const OxStrokePage &page, const QString &path)
{
    return saveTo(page, path);
}

OxStorageError OxPageFile::load(const QString &path, OxStrokePage &page)
{
    return loadFrom(path, page);
}

OxStorageError OxPageFile::toBytes(const std::vector<OxStrokeRecord> &records, QByteArray &bytes)
{
    std::vector<Stroke> strokes(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!records[i].edits.empty())
            return storageError(OxStorageError::kEdited, -1,
                                QStringLiteral("stroke %1 has edits: store the page it is on").arg(i));
        strokes[i].key = OxStrokePage::Key(i + 1);
        strokes[i].drawing = i;
    }
    return writePage(records, strokes, OxStrokePage::Key(records.size() + 1), bytes);
}

OxStorageError OxPageFile::fromBytes(const QByteArray &bytes, std::vector<OxStrokeRecord> &records)
{
    OxStrokePage::Contents contents;
    Chunk strokesChunk;
    const OxStorageError error = readPage(bytes, contents, strokesChunk);
    if (!error.ok())
        return error;
    if (edited(contents))
        return storageError(OxStorageError::kEdited, qint64(strokesChunk.offset),
                            QStringLiteral("%1: the page has erased or moved strokes: read it as a page")
                                .arg(strokesChunk.name()));
    records.swap(contents.drawings);
    return OxStorageError();
}

OxStorageError OxPageFile::save(const std::vector<OxStrokeRecord> &records, const QString &path)
{
    return saveTo(records, path);
}

OxStorageError OxPageFile::load(const QString &path, std::vector<OxStrokeRecord> &records)
{
    return loadFrom(path, records);
}
