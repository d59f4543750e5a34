#ifndef OXSTORAGEERROR_H
#define OXSTORAGEERROR_H

#include <QString>
#include <QtGlobal>

// Why a stored page could not be written or read, and where. A default-constructed error is
// success. Reading stops at the first fault it finds; the error names it in words ("chunk STRK at
// byte 16: stroke 3, x: the stream ends inside a number") together with the byte of the input at
// which the faulty part starts.
struct OxStorageError
{
    enum Kind {
        kNone,            // success
        kTruncated,       // the input ends before what it declares
        kNotAPage,        // the input does not start with the magic number
        kVersion,         // written in a version of the format this reader does not read
        kChecksum,        // a chunk's bytes do not match its checksum
        kMalformed,       // a value or a count contradicts the format or the rest of the input
        kTooLarge,        // declares more data than its size can hold, or more than a page may
        kUnknownChunk,    // a chunk this reader must understand but does not know
        kFile,            // a file could not be opened, read, written or renamed
        kEdited,          // records were asked of a page with erased or moved strokes, or were
                          // handed over with edits: those are stored and read as a page
        kRefused,         // the page refuses a stored stroke (OxStrokePage::restore()): its
                          // record does not replay or draws no ink, an edit does not apply, a
                          // key is used twice
    };

    Kind kind = kNone;
    qint64 offset = -1;   // byte of the input where the faulty part starts; -1 when none applies
    QString message;      // what is wrong and where, in English

    bool ok() const { return kind == kNone; }
};

#endif
