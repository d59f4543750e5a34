#ifndef QUILLMARK_PAGEORTEXT_H
#define QUILLMARK_PAGEORTEXT_H

// Stroke files of both kinds the tools read: page files (OxPageFile), told apart by their magic
// number, and text stroke files (StrokeFile.h).

#include "OxStrokeRecord.h"
#include "StrokeFile.h"

#include <QByteArray>

// Whether bytes start as a page file does ("\x89QMK").
bool isPageFile(const QByteArray &bytes);

struct PageOrText
{
    bool page = false;
    std::vector<OxStrokeRecord> records;   // a page file's strokes, in drawing order, edits
                                           // included (OxStrokePage::record())
    std::vector<RecordedStroke> strokes;   // a text file's, or the samples of a page's records
    std::string error;                     // empty on success: "name: what is wrong"
};

// Reads a file of either kind; "-" reads standard input.
PageOrText readPageOrText(const std::string &path);

#endif
