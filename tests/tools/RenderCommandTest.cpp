#include "OxEngineKind.h"
#include "OxPageFile.h"
#include "OxStrokePage.h"
#include "QuillmarkVersion.h"
#include "RenderCommand.h"
#include "StrokeRecords.h"
#include "TestData.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <fstream>
#include <sstream>

namespace {
// The stats table has a row for the engine with that many strokes.
bool hasStatsRow(const std::string &table, const std::string &engine, int strokes)
{
    const QString row = QStringLiteral("(^|\n)%1 +%2 ")
                            .arg(QRegularExpression::escape(QString::fromStdString(engine)))
                            .arg(strokes);
    return QRegularExpression(row).match(QString::fromStdString(table)).hasMatch();
}

// The text of every label of an SVG file, and the number of its paths.
std::pair<QStringList, int> svgLabelsAndPaths(const std::string &file)
{
    QFile in(QString::fromStdString(file));
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(in.readAll());
    QStringList labels;
    for (auto m = QRegularExpression(QStringLiteral("<text[^>]*>([^<]*)<")).globalMatch(svg);
         m.hasNext();)
        labels << m.next().captured(1);
    return {labels, svg.count(QStringLiteral("<path "))};
}

// The d attributes of an SVG file's paths, in order.
QStringList svgPathData(const std::string &file)
{
    QFile in(QString::fromStdString(file));
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    QStringList data;
    for (auto m = QRegularExpression(QStringLiteral("<path [^>]*d=\"([^\"]*)\"")).globalMatch(
             QString::fromUtf8(in.readAll()));
         m.hasNext();)
        data << m.next().captured(1);
    return data;
}

class RenderCommand : public ::testing::Test
{
protected:
    int render(const std::vector<std::string> &args)
    {
        std::ostringstream outStream, errStream;
        const int status = runRender(args, outStream, errStream);
        out = outStream.str();
        err = errStream.str();
        return status;
    }
    std::string path(const char *name) const
    {
        return dir.filePath(QLatin1String(name)).toStdString();
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files); }

    QTemporaryDir dir;
    std::string out, err;
};
} // namespace

// Option errors in general are RenderOptions' test; here one of them stands for all.
TEST_F(RenderCommand, FailuresEndWithOneLineAndTheirStatusAndNoOutput)
{
    std::ofstream(path("bad.txt")) << "1 2 3 0.5\n\n4 5 six 0.5\n";
    std::ofstream(path("nan.txt")) << "1 2 3 0.5\n4 nan 5 0.5\n";
    std::ofstream(path("comments.txt")) << "# x y t_ms pressure\n\n";
    std::ofstream(path("huge.txt")) << "0 0 0 0.5\n\n0 0 0 0.5\n10 -1e30 8 0.5\n";
    const std::string good = dataPath("pf-edge-cases.txt");
    const std::string beyond = " lies beyond 1e6, the largest magnitude the engines promise "
                               "finite results for";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{path("missing.txt")}, path("missing.txt") + ": cannot open file"},
        {{good, path("bad.txt")}, path("bad.txt") + ":3: expected four numbers: x y t_ms pressure"},
        {{path("nan.txt")}, path("nan.txt") + ":2: a value is not a finite number: nan"},
        {{good, path("comments.txt")}, "no strokes in " + path("comments.txt")},
        {{"/dev/null"}, "no strokes in /dev/null"},
        {{path("huge.txt")}, path("huge.txt") + ": stroke 2, sample 2: y -1e+30" + beyond},
        {{good, "--width", "2e6"}, "--width 2e6" + beyond},
        {{good, "--scale", "1e6"}, "the picture would be "},
        {{good, "--engine", "a\nb"}, "unknown engine 'a b'"},
    };
    for (const auto &[args, message] : cases) {
        std::vector<std::string> withOutputs = args;
        withOutputs.insert(withOutputs.end(), {"--svg", path("out.svg"), "--png", path("out.png")});
        EXPECT_EQ(render(withOutputs), 2) << message;
        EXPECT_EQ(err.rfind("quillmark-render: " + message, 0), 0u) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(out, "");
    }
    EXPECT_EQ(files(), (QStringList{QStringLiteral("bad.txt"), QStringLiteral("comments.txt"),
                                    QStringLiteral("huge.txt"), QStringLiteral("nan.txt")}));

    const std::string svg = path("no/such/folder.svg");
    EXPECT_EQ(render({good, "--svg", svg}), 1);
    EXPECT_EQ(err.rfind("quillmark-render: " + svg + ": cannot write file", 0), 0u) << err;
}

TEST_F(RenderCommand, VersionIsTheLibrarys)
{
    EXPECT_EQ(render({"--version", "--engine", "nope"}), 0);
    EXPECT_EQ(out, "quillmark-render " QUILLMARK_VERSION_STRING "\n");
    EXPECT_EQ(err, "");
}

// Only the filled engine and the brush have a batch mode; the brush's last tail stays drawn.
TEST_F(RenderCommand, BatchModeWritesBothPicturesAndTheStatsOfTheEnginesThatHaveOne)
{
    ASSERT_EQ(render({dataPath("pf-recorded.txt"), "--mode", "batch", "--svg", path("out.svg"),
                      "--png", path("out.png"), "--scale", "0.25", "--stats"}),
              0)
        << err;
    EXPECT_EQ(err, "");
    EXPECT_EQ(files(), (QStringList{QStringLiteral("out.png"), QStringLiteral("out.svg")}));
    EXPECT_FALSE(QImage(QString::fromStdString(path("out.png"))).isNull());
    const QStringList labels{QStringLiteral("fill: filled fixed width"),
                             QStringLiteral("brush: brush, tail tapering by time")};
    EXPECT_EQ(svgLabelsAndPaths(path("out.svg")), std::pair(labels, 12));  // a path per stroke
    EXPECT_TRUE(hasStatsRow(out, "fill", 6) && hasStatsRow(out, "brush", 6)) << out;
}

TEST_F(RenderCommand, NoArgumentsDrawsTheDemoIntoTheCurrentFolder)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const int status = render({});
    QDir::setCurrent(previous);
    ASSERT_EQ(status, 0) << err;
    EXPECT_EQ(files(), (QStringList{QStringLiteral("quillmark-demo.png"),
                                    QStringLiteral("quillmark-demo.svg")}));
    QStringList panels;
    for (const QString &label : svgLabelsAndPaths(path("quillmark-demo.svg")).first)
        panels << label.section(QLatin1Char(':'), 0, 0);
    EXPECT_EQ(panels.join(QLatin1Char(' ')), QStringLiteral("fix fill pressure speed extend brush"));
    for (const QString &engine : panels)  // four strokes each
        EXPECT_TRUE(hasStatsRow(out, engine.toStdString(), 4)) << out;
}

// A page file draws as the text of its samples does.
TEST_F(RenderCommand, APageFileDrawsAsTheTextOfItsSamples)
{
    const int brush = OxEngineKind::byName("brush")->id;
    std::vector<OxStrokeRecord> records = recordsOf(loadStrokes("pf-recorded.txt"), brush, 6);
    std::ofstream text(path("strokes.txt"));
    writeRecordText(text, records);
    text.close();
    const QString page = QString::fromStdString(path("page.qmk"));
    ASSERT_TRUE(OxPageFile::save(records, page).ok());
    ASSERT_EQ(render({path("strokes.txt"), "--svg", path("text.svg")}), 0) << err;
    ASSERT_EQ(render({path("page.qmk"), "--svg", path("page.svg")}), 0) << err;
    EXPECT_EQ(svgPathData(path("page.svg")), svgPathData(path("text.svg")));

    // A stroke the eraser cut (as in the pad's pages) draws as its pieces, one path each.
    OxStrokePage cutPage;
    OxStrokePage::Key key = 0;
    ASSERT_EQ(cutPage.add(records.front(), key), OxStrokePage::kDone);
    const QRectF first = cutPage.bounds(key);
    OxStrokePage::Change change;
    cutPage.erase({QPointF(first.center().x(), first.top() - 5),
                   QPointF(first.center().x(), first.bottom() + 5)}, 2, &change);
    ASSERT_EQ(change.removed.size(), 1u);
    ASSERT_TRUE(OxPageFile::save(cutPage, QString::fromStdString(path("cut.qmk"))).ok());
    EXPECT_EQ(render({path("cut.qmk"), "--engine", "brush", "--svg", path("cut.svg")}), 0) << err;
    EXPECT_EQ(err, "");
    EXPECT_GT(change.added.size(), 1u);
    EXPECT_EQ(size_t(svgPathData(path("cut.svg")).size()), change.added.size());

    std::ofstream(path("page.qmk"), std::ios::app) << "x";  // something after the end
    EXPECT_EQ(render({path("page.qmk")}), 2);
    EXPECT_EQ(err.rfind("quillmark-render: " + path("page.qmk") + ": ", 0), 0u) << err;
}
