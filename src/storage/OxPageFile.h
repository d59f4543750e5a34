#ifndef OXPAGEFILE_H
#define OXPAGEFILE_H

#include "OxStorageError.h"
#include "OxStrokeRecord.h"
#include "QuillmarkExport.h"

#include <QByteArray>
#include <QString>
#include <vector>

// A page's stroke records in a compact binary form, lossless to the bit: every sample's x, y,
// time and pressure, every width and colour read back is the very value that was written, -0,
// subnormal numbers, infinities and NaNs (payload and sign) included. Recorded input takes about
// three bytes a sample; numbers without a grid take up to their four bytes each and a little.
// docs/page-format.md describes the format.
//
// Use:
//   1. toBytes(records, bytes), or save(records, path): writes every record. Refuses records a
//      reader would refuse (an engine outside the six, steps that do not take the samples
//      exactly); bytes, or the file, are then left as they were.
//   2. fromBytes(bytes, records), or load(path, records): reads them back. Any input is safe: a
//      truncated, damaged, wrongly versioned or hostile one gives an error that says what is wrong
//      and at which byte, allocates no more than its size justifies, and leaves records as they
//      were. On success records holds exactly the stored records.
//
// save() writes a new file beside path and renames it over path only once it is complete, so a
// crash or a full disk never leaves a half-written page where the old one was.
class QUILLMARK_EXPORT OxPageFile
{
public:
    static OxStorageError toBytes(const std::vector<OxStrokeRecord> &records, QByteArray &bytes);
    static OxStorageError fromBytes(const QByteArray &bytes, std::vector<OxStrokeRecord> &records);
    static OxStorageError save(const std::vector<OxStrokeRecord> &records, const QString &path);
    static OxStorageError load(const QString &path, std::vector<OxStrokeRecord> &records);
};

#endif
