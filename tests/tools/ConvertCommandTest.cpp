// quillmark-convert: text to page files and back, every number exact; and what it says when it
// cannot.

#include "ConvertCommand.h"
#include "OxPageFile.h"
#include "RecordCompare.h"
#include "StrokeRecords.h"
#include "TestData.h"

#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

namespace {
class ConvertCommand : public testing::Test
{
protected:
    int convert(const std::vector<std::string> &args)
    {
        std::ostringstream outStream, errStream;
        const int status = runConvert(args, outStream, errStream);
        out = outStream.str();
        err = errStream.str();
        return status;
    }
    std::string path(const char *name) const { return dir.filePath(QLatin1String(name)).toStdString(); }
    QByteArray contents(const std::string &file) const
    {
        QFile in(QString::fromStdString(file));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    std::string out, err;
};
} // namespace

TEST_F(ConvertCommand, TextBecomesAPageAndTheSameNumbersAgain)
{
    for (const char *name : {"pf-recorded.txt", "mypaint-painting30sec.txt", "pf-edge-cases.txt"}) {
        SCOPED_TRACE(name);
        const std::vector<RecordedStroke> strokes = loadStrokes(name);
        ASSERT_EQ(convert({dataPath(name), path("page.qmk"), "--engine", "speed", "--width", "2.5",
                           "--colour", "80ff00c0"}), 0) << err;
        std::vector<OxStrokeRecord> records;
        ASSERT_TRUE(OxPageFile::load(QString::fromStdString(path("page.qmk")), records).ok());
        EXPECT_EQ(recordDifference(recordsOf(strokes, 4, 2.5f, 0x80ff00c0), records), "");

        ASSERT_EQ(convert({path("page.qmk"), path("back.txt")}), 0) << err;
        const StrokeFileResult back = readStrokeFile(path("back.txt"));
        ASSERT_EQ(back.error, "");
        EXPECT_EQ(recordDifference(records, recordsOf(back.strokes, 4, 2.5f, 0x80ff00c0)), "");
        EXPECT_NE(contents(path("back.txt")).indexOf("# stroke 1: speed, width 2.5, colour 80ff00c0\n"), -1);
    }
}

TEST_F(ConvertCommand, TheDefaultsAreTheBrushAtWidthSixInBlack)
{
    ASSERT_EQ(convert({dataPath("synth-1k.txt"), path("page.qmk")}), 0) << err;
    std::vector<OxStrokeRecord> records;
    ASSERT_TRUE(OxPageFile::load(QString::fromStdString(path("page.qmk")), records).ok());
    EXPECT_EQ(recordDifference(recordsOf(loadStrokes("synth-1k.txt"), 6, 6, 0x000000ff), records), "");
}

TEST_F(ConvertCommand, FailuresSayWhyAndLeaveTheOutputAlone)
{
    std::ofstream(path("bad.txt")) << "1 2 3 0.5\n4 five 6 0.5\n";
    std::ofstream(path("empty.txt")) << "# nothing\n";
    std::ofstream(path("old.qmk")) << "the old output";
    QByteArray page;
    ASSERT_TRUE(OxPageFile::toBytes(recordsOf(loadStrokes("pf-edge-cases.txt"), 1, 1), page).ok());
    page[40] = char(page[40] ^ 1);
    std::ofstream(path("damaged.qmk"), std::ios::binary).write(page.constData(), page.size());
    const std::string good = dataPath("pf-edge-cases.txt");
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
        {{good}, 2, "expected an input and an output file"},
        {{good, path("old.qmk"), "--engine", "quill"}, 2, "unknown engine 'quill'"},
        {{good, path("old.qmk"), "--width", "-1"}, 2, "--width -1: a positive number was expected"},
        {{good, path("old.qmk"), "--colour", "red"}, 2, "--colour red: eight hex digits"},
        {{good, path("old.qmk"), "--wide"}, 2, "unknown option --wide"},
        {{path("missing.txt"), path("old.qmk")}, 2, path("missing.txt") + ": cannot open file"},
        {{path("bad.txt"), path("old.qmk")}, 2, path("bad.txt") + ":2: expected four numbers"},
        {{path("empty.txt"), path("old.qmk")}, 2, "no strokes in " + path("empty.txt")},
        {{path("damaged.qmk"), path("old.qmk")}, 2, path("damaged.qmk") + ": chunk STRK at byte 12: checksum"},
        {{good, path("no/such/dir/out.qmk")}, 1, path("no/such/dir/out.qmk") + ": "},
    };
    for (const auto &[args, status, message] : cases) {
        EXPECT_EQ(convert(args), status) << message;
        EXPECT_EQ(err.rfind("quillmark-convert: " + message, 0), 0u) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(contents(path("old.qmk")), QByteArray("the old output"));
    }
}
