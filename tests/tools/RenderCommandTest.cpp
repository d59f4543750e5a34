#include "RenderCommand.h"
#include "TestData.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {
struct Outcome
{
    int status;
    std::string out;
    std::string err;
};

Outcome render(const std::vector<std::string> &args)
{
    std::ostringstream out, err;
    const int status = runRender(args, out, err);
    return {status, out.str(), err.str()};
}

// The words of the stats table's row for an engine.
std::vector<std::string> statsRow(const std::string &table, const std::string &engine)
{
    std::istringstream lines(table);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::vector<std::string> row{std::istream_iterator<std::string>(words), {}};
        if (!row.empty() && row[0] == engine)
            return row;
    }
    return {};
}

// An attribute (or with "" the text) of every element called name in an SVG file, in order.
QStringList svgValues(const std::string &file, const char *name, const char *attribute)
{
    QFile in(QString::fromStdString(file));
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&in);
    QStringList values;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String(name))
            continue;
        values << (*attribute ? xml.attributes().value(QLatin1String(attribute)).toString()
                              : xml.readElementText());
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return values;
}

class RenderCommand : public ::testing::Test
{
protected:
    std::string path(const char *name) const
    {
        return dir.filePath(QLatin1String(name)).toStdString();
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files); }

    QTemporaryDir dir;
};
} // namespace

TEST_F(RenderCommand, BadInputEndsWithOneLineAndStatus2AndNoOutput)
{
    std::ofstream(path("bad.txt")) << "1 2 3 0.5\n\n4 5 six 0.5\n";
    const std::string good = dataPath("pf-edge-cases.txt");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{path("missing.txt")}, path("missing.txt") + ": cannot open file"},
        {{good, path("bad.txt")}, path("bad.txt") + ":3: expected four numbers: x y t_ms pressure"},
        {{good, "--engine", "quill"},
         "unknown engine 'quill' (known: fix, fill, pressure, speed, extend, brush, all)"},
        {{good, "--width", "wide"}, "--width must be a positive number, not 'wide'"},
        {{good, "--scale", "-1"}, "--scale must be a positive number, not '-1'"},
        {{good, "--batch", "0"}, "--batch must be a positive whole number, not '0'"},
        {{good, "--mode", "batch", "--engine", "fix"}, "engine 'fix' has no batch mode"},
        {{good, "--scale", "1e6"}, "the picture would be "},
        {{good, "--engine", "a\nb"}, "unknown engine 'a b'"},
    };
    for (const auto &[args, message] : cases) {
        std::vector<std::string> withOutputs = args;
        withOutputs.insert(withOutputs.end(), {"--svg", path("out.svg"), "--png", path("out.png")});
        const Outcome outcome = render(withOutputs);
        EXPECT_EQ(outcome.status, 2) << message;
        EXPECT_EQ(outcome.err.rfind("quillmark-render: " + message, 0), 0u) << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_EQ(files(), QStringList{QStringLiteral("bad.txt")});
}

TEST_F(RenderCommand, UnwritableOutputEndsWithStatus1)
{
    const std::string svg = path("no/such/folder.svg");
    const Outcome outcome = render({dataPath("pf-edge-cases.txt"), "--svg", svg});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err.rfind("quillmark-render: " + svg + ": cannot write file", 0), 0u);
}

TEST_F(RenderCommand, WritesBothPicturesAndTheStats)
{
    const Outcome outcome = render({dataPath("pf-recorded.txt"), "--engine", "fix", "--svg",
                                    path("out.svg"), "--png", path("out.png"), "--scale", "0.25",
                                    "--stats"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(files(), (QStringList{QStringLiteral("out.png"), QStringLiteral("out.svg")}));
    EXPECT_FALSE(QImage(QString::fromStdString(path("out.png"))).isNull());
    EXPECT_EQ(statsRow(outcome.out, "fix").at(1), "6");  // strokes
}

TEST_F(RenderCommand, NoArgumentsDrawsTheDemoIntoTheCurrentFolder)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const Outcome outcome = render({});
    QDir::setCurrent(previous);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(files(), (QStringList{QStringLiteral("quillmark-demo.png"),
                                    QStringLiteral("quillmark-demo.svg")}));
    const QStringList engines = QStringLiteral("fix fill pressure speed extend brush").split(
        QLatin1Char(' '));
    QStringList panels;
    for (const QString &label : svgValues(path("quillmark-demo.svg"), "text", ""))
        panels << label.section(QLatin1Char(':'), 0, 0);
    EXPECT_EQ(panels, engines);
    for (const QString &engine : engines)  // four strokes each
        EXPECT_EQ(statsRow(outcome.out, engine.toStdString()).at(1), "4") << engine.toStdString();
}

TEST_F(RenderCommand, OutlineEnginesWriteNonzeroPathsAndNoCentreLine)
{
    const std::string svg = path("pressure.svg");
    ASSERT_EQ(render({dataPath("pf-recorded.txt"), "--engine", "pressure", "--svg", svg}).status, 0);
    QStringList rules = svgValues(svg, "path", "fill-rule");
    EXPECT_EQ(rules.size(), 6);  // an outline per stroke
    rules.removeDuplicates();
    EXPECT_EQ(rules, QStringList{QStringLiteral("nonzero")});
    EXPECT_TRUE(svgValues(svg, "polyline", "points").isEmpty());
}

// Only the filled engine and the brush have a batch mode; the brush's last tail stays drawn.
TEST_F(RenderCommand, BatchModeWithAllDrawsTheEnginesThatHaveOne)
{
    const std::string svg = path("batch.svg");
    const Outcome outcome = render({dataPath("pf-recorded.txt"), "--mode", "batch", "--svg", svg});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(svgValues(svg, "text", ""),
              (QStringList{QStringLiteral("fill: filled fixed width"),
                           QStringLiteral("brush: brush, tail tapering by time")}));
    EXPECT_EQ(svgValues(svg, "path", "d").size(), 12);  // an outline per stroke and engine
}
