// Saving replaces a page file whole or not at all; loading reads it back or says why not.

#include "OxPageFile.h"
#include "RecordCompare.h"
#include "StrokeRecords.h"
#include "TestData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {
QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

TEST(PageFileSave, SavedPagesLoadAndReplaceTheOldFileWhole)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("page.qmk"));
    const std::vector<OxStrokeRecord> first = recordsOf(loadStrokes("pf-recorded.txt"), 6, 6);
    const std::vector<OxStrokeRecord> second = recordsOf(loadStrokes("synth-1k.txt"), 3, 2);

    ASSERT_TRUE(OxPageFile::save(first, path).ok());
    ASSERT_TRUE(OxPageFile::save(second, path).ok());
    std::vector<OxStrokeRecord> loaded;
    const OxStorageError error = OxPageFile::load(path, loaded);
    ASSERT_TRUE(error.ok()) << error.message.toStdString();
    EXPECT_EQ(recordDifference(second, loaded), "");
    QByteArray bytes;
    ASSERT_TRUE(OxPageFile::toBytes(second, bytes).ok());
    EXPECT_EQ(contents(path), bytes);
    // Nothing is left beside the page.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("page.qmk")});
}

TEST(PageFileSave, AFailedSaveLeavesTheOldFileAsItWas)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("page.qmk"));
    std::vector<OxStrokeRecord> records = recordsOf(loadStrokes("pf-edge-cases.txt"), 1, 2);
    ASSERT_TRUE(OxPageFile::save(records, path).ok());
    const QByteArray before = contents(path);

    records[0].engine = 0;
    EXPECT_EQ(OxPageFile::save(records, path).kind, OxStorageError::kMalformed);
    EXPECT_EQ(contents(path), before);

    records[0].engine = 1;
    const OxStorageError error = OxPageFile::save(records, dir.filePath(QStringLiteral("no/such/dir/page.qmk")));
    EXPECT_EQ(error.kind, OxStorageError::kFile);
    EXPECT_NE(error.message.indexOf(QStringLiteral("no/such/dir/page.qmk")), -1);
    EXPECT_EQ(contents(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("page.qmk")});
}

TEST(PageFileSave, LoadingNamesTheFileAndLeavesTheRecordsOnFailure)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::vector<OxStrokeRecord> kept = recordsOf(loadStrokes("pf-edge-cases.txt"), 4, 2);
    std::vector<OxStrokeRecord> records = kept;

    const QString missing = dir.filePath(QStringLiteral("missing.qmk"));
    OxStorageError error = OxPageFile::load(missing, records);
    EXPECT_EQ(error.kind, OxStorageError::kFile);
    EXPECT_TRUE(error.message.startsWith(missing)) << error.message.toStdString();

    const QString text = dataPath("pf-edge-cases.txt").c_str();
    error = OxPageFile::load(text, records);
    EXPECT_EQ(error.kind, OxStorageError::kNotAPage);
    EXPECT_TRUE(error.message.startsWith(text)) << error.message.toStdString();
    EXPECT_EQ(recordDifference(kept, records), "");
}
