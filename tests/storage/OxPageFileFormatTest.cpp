// The format document is enough to read the format: scripts/read-page.py, a reader written from
// docs/page-format.md alone, reads back every sample of the pages the library writes.

#include "OxPageFile.h"
#include "StrokeRecords.h"
#include "TestData.h"

#include <QProcess>
#include <QTemporaryDir>

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
        QProcess reader;
        reader.start(QStringLiteral(QUILLMARK_PYTHON),
                     {QStringLiteral(QUILLMARK_SOURCE_DIR "/scripts/read-page.py"),
                      QStringLiteral("--check"), page, QString::fromStdString(dataPath(name))});
        ASSERT_TRUE(reader.waitForFinished(60000));
        EXPECT_EQ(reader.exitCode(), 0) << name << ": " << reader.readAll().toStdString()
                                        << reader.readAllStandardError().toStdString();
    }
}
