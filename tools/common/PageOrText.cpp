#include "PageOrText.h"

#include "OxPageFile.h"
#include "StrokeRecords.h"

#include <QFile>
#include <sstream>

bool isPageFile(const QByteArray &bytes)
{
    // The first four bytes of the magic number: a page whose header is damaged after them is
    // still read as one, so that the page reader says what is wrong with it.
    return bytes.startsWith(QByteArray("\x89QMK", 4));
}

PageOrText readPageOrText(const std::string &path)
{
    PageOrText input;
    const bool standardInput = path == "-";
    const std::string name = standardInput ? "<stdin>" : path;  // as readStrokeFile names it
    QFile file(QString::fromStdString(path));
    const bool opened = standardInput ? file.open(stdin, QIODevice::ReadOnly)
                                      : file.open(QIODevice::ReadOnly);
    if (!opened) {
        input.error = name + ": cannot open file";
        return input;
    }
    const QByteArray bytes = file.readAll();
    input.page = isPageFile(bytes);
    if (!input.page) {
        std::istringstream text(bytes.toStdString());
        StrokeFileResult read = readStrokes(text, name);
        input.strokes = std::move(read.strokes);
        input.error = std::move(read.error);
        return input;
    }
    // Read as a page, so that the records of its erased and moved strokes come with their edits.
    OxStrokePage page;
    const OxStorageError error = OxPageFile::fromBytes(bytes, page);
    if (!error.ok()) {
        input.error = name + ": " + error.message.toStdString();
        return input;
    }
    for (OxStrokePage::Key key : page.keys()) {
        input.records.emplace_back();
        page.record(key, input.records.back());
        input.strokes.push_back(samplesOf(input.records.back()));
    }
    return input;
}
