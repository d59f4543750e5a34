#ifndef OXPAGEFILE_H
#define OXPAGEFILE_H

#include "OxStorageError.h"
#include "OxStrokePage.h"
#include "OxStrokeRecord.h"
#include "QuillmarkExport.h"

#include <QByteArray>
#include <QString>
#include <vector>

// A page of strokes (OxStrokePage), or plain stroke records, in a compact binary form, lossless
// to the bit: every sample's x, y, time and pressure, every width and colour read back is the
// very value that was written, -0, subnormal numbers, infinities and NaNs (payload and sign)
// included. Recorded input takes about three bytes a sample; numbers without a grid take up to
// their four bytes each and a little. docs/page-format.md describes the format.
//
// A page is stored with its strokes' keys, the key its next stroke gets, and every stroke's and
// piece's edits: each drawn stroke's samples once, however many pieces erasing cut it into, and
// each eraser stroke once, however many strokes it cut. A loaded page has every stroke under its
// key with its ink to the bit, and never hands out a key it had handed out before it was saved.
// Its undo history is not stored: a loaded page starts without one.
//
// Use:
//   1. toBytes(page, bytes), or save(page, path): writes the page's strokes.
//      toBytes(records, bytes), or save(records, path): writes records without edits, as the
//      strokes of a page keyed 1 to n. Refuses records a reader would refuse (an engine outside
//      the six, steps that do not take the samples exactly) and records with edits
//      (kEdited: store their page); bytes, or the file, are then left as they were.
//   2. fromBytes(bytes, page), or load(path, page): replaces everything on the page by the
//      stored strokes (OxStrokePage::restore()). fromBytes(bytes, records), or load(path,
//      records): reads the records of a page without edits (kEdited for one with edits).
//      Any input is safe: a truncated, damaged, wrongly versioned or hostile one gives an error
//      that says what is wrong and at which byte, allocates no more than its size justifies,
//      and leaves the page or records as they were. So does a stored stroke the page refuses
//      (kRefused). On success the page or records hold exactly what was stored.
//
// save() writes a new file beside path and renames it over path only once it is complete, so a
// crash or a full disk never leaves a half-written page where the old one was.
class QUILLMARK_EXPORT OxPageFile
{
public:
    static OxStorageError toBytes(const OxStrokePage &page, QByteArray &bytes);
    static OxStorageError fromBytes(const QByteArray &bytes, OxStrokePage &page);
    static OxStorageError save(const OxStrokePage &page, const QString &path);
    static OxStorageError load(const QString &path, OxStrokePage &page);

    static OxStorageError toBytes(const std::vector<OxStrokeRecord> &records, QByteArray &bytes);
    static OxStorageError fromBytes(const QByteArray &bytes, std::vector<OxStrokeRecord> &records);
    static OxStorageError save(const std::vector<OxStrokeRecord> &records, const QString &path);
    static OxStorageError load(const QString &path, std::vector<OxStrokeRecord> &records);
};

#endif
