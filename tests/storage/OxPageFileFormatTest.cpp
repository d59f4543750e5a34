// The format document is enough to read the format: scripts/read-page.py, a reader written from
// docs/page-format.md alone, reads back every sample, key and edit of the pages the library
// writes.

#include "OxPageFile.h"
#include "PageFixture.h"
#include "RecordCompare.h"
#include "StrokeRecords.h"

#include <QProcess>
#include <QTemporaryDir>
#include <set>

namespace {
// What the reader prints for a page: its output, or a failure.
std::string readerOutput(const QStringList &arguments)
{
    QProcess reader;
    reader.start(QStringLiteral(QUILLMARK_PYTHON),
                 QStringList{QStringLiteral(QUILLMARK_SOURCE_DIR "/scripts/read-page.py")} + arguments);
    EXPECT_TRUE(reader.waitForFinished(60000));
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    return reader.readAllStandardOutput().toStdString();
}

std::string hex(float v)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08x", unsigned(bitsOf(v)));
    return text;
}

// What read-page.py --list prints for the page, from the page itself; different changes counts
// each erase path with its radius, and each move, once. erases receives the number of erase
// edits.
std::string listing(const OxStrokePage &page, size_t &erases)
{
    erases = 0;
    const OxStrokePage::Contents contents = page.contents();
    std::set<std::string> changes;
    std::string strokes;
    for (const OxStrokePage::Contents::Stroke &stroke : contents.strokes) {
        strokes += "key " + std::to_string(stroke.key) + " drawing " + std::to_string(stroke.drawing) + "\n";
        for (const OxRecordedEdit &edit : stroke.edits) {
            std::string xy;
            for (float v : edit.xy)
                xy += (xy.empty() ? "" : ",") + hex(v);
            if (edit.kind == OxRecordedEdit::kMove) {
                strokes += "  move " + hex(edit.xy[0]) + " " + hex(edit.xy[1]) + "\n";
                changes.insert("move " + xy);
            } else {
                strokes += "  erase radius " + hex(edit.radius) + " piece " + std::to_string(edit.piece)
                           + " xy " + xy + "\n";
                changes.insert("erase " + hex(edit.radius) + " " + xy);
                ++erases;
            }
        }
    }
    return "next key " + std::to_string(contents.nextKey) + ", " + std::to_string(changes.size())
           + " changes\n" + strokes;
}
} // namespace

TEST(PageFileFormat, TheDocumentedReaderReadsWhatTheLibraryWrites)
{
    if (QStringLiteral(QUILLMARK_PYTHON).isEmpty())
        GTEST_SKIP() << "no Python 3";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char *name : {"pf-recorded.txt", "mypaint-painting30sec.txt", "synth-1k.txt",
                             "pf-edge-cases.txt"}) {
        const QString page = dir.filePath(QStringLiteral("page.qmk"));
        ASSERT_TRUE(OxPageFile::save(recordsOf(loadStrokes(name), 5, 3), page).ok());
        readerOutput({QStringLiteral("--check"), page, QString::fromStdString(dataPath(name))});
    }
}

TEST(PageFileFormat, TheDocumentedReaderReadsKeysAndEditsAsThePageHasThem)
{
    if (QStringLiteral(QUILLMARK_PYTHON).isEmpty())
        GTEST_SKIP() << "no Python 3";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    OxStrokePage page;
    addRecorded(page, "mypaint-painting30sec.txt", 8);
    cutAndMove(page, 21, 8);
    // One eraser across every stroke: its path is stored once for all the cuts.
    QRectF all;
    for (Key key : page.keys())
        all |= page.bounds(key);
    ASSERT_EQ(page.erase({all.topLeft(), all.bottomRight(), all.topRight(), all.bottomLeft()}, 3),
              OxStrokePage::kDone);
    const QString path = dir.filePath(QStringLiteral("page.qmk"));
    ASSERT_TRUE(OxPageFile::save(page, path).ok());
    size_t erases = 0;
    const std::string expected = listing(page, erases);
    const std::string listed = readerOutput({QStringLiteral("--list"), path});
    EXPECT_EQ(listed, expected);
    const size_t changes = std::stoul(listed.substr(listed.find(", ") + 2));
    EXPECT_LT(changes + 10, erases) << changes << " changes for " << erases << " erases";
}
