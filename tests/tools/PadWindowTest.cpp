#include "PadFixture.h"
#include "StrokeReplay.h"

#include <QDoubleSpinBox>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <fstream>

namespace {
// The names of the elements of a well-formed XML file; empty when it is not well formed.
QStringList elementNames(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QStringList names;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement)
            names << xml.name().toString();
    return xml.hasError() ? QStringList() : names;
}

class PadWindowTest : public PadFixture
{
protected:
    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }
    QTemporaryDir dir;
};
} // namespace

TEST_F(PadWindowTest, TheChoosersSetTheNextStrokesEngineAndWidth)
{
    chooseEngine("fill");
    window.findChild<QDoubleSpinBox *>(QStringLiteral("width"))->setValue(12.5);
    drawWave(50);
    chooseEngine("fix");
    drawWave(150);
    ASSERT_EQ(strokes().size(), 2u);
    EXPECT_EQ(strokes()[0].shapes.outlines.size(), 1u);
    EXPECT_TRUE(strokes()[0].shapes.centreLine.isEmpty());
    EXPECT_EQ(strokes()[0].width, 12.5f);
    EXPECT_TRUE(strokes()[1].shapes.outlines.empty());
    EXPECT_GT(strokes()[1].shapes.centreLine.size(), 20);
}

TEST_F(PadWindowTest, SavesTheStrokesAsSvgOrPng)
{
    drawWave(50);
    chooseEngine("brush");
    drawWave(150);
    ASSERT_EQ(window.saveTo(path("drawing.SVG")), "");
    EXPECT_EQ(elementNames(path("drawing.SVG")),
              (QStringList{QStringLiteral("svg"), QStringLiteral("rect"),
                           QStringLiteral("polyline"), QStringLiteral("path")}));
    ASSERT_EQ(window.saveTo(path("drawing.png")), "");
    EXPECT_EQ(QImage(path("drawing.png")).size(), canvas().size());
    EXPECT_NE(window.saveTo(path("missing/drawing.svg")), "");
}

TEST_F(PadWindowTest, ReplaysARecordingAndWaitsWithPenInputUntilItEnds)
{
    std::ofstream(path("two.txt").toStdString())
        << "100 100 0 0.5\n110 104 8 0.6\n130 110 16 0.7\n\n300 300 0 0.5\n310 300 10 0.5\n";
    EXPECT_EQ(window.replayFile(path("missing.txt")), path("missing.txt").toStdString() +
                                                           ": cannot open file");
    ASSERT_EQ(window.replayFile(path("two.txt")), "");
    EXPECT_FALSE(canvas().isEnabled());
    QSignalSpy finished(&window, &PadWindow::replayFinished);
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_TRUE(canvas().isEnabled());
    ASSERT_EQ(strokes().size(), 2u);
    // Moved so that the recording starts at the margin from the corner.
    const double halfWidth = 3;
    EXPECT_NEAR(strokes()[0].bounds.left(), StrokeReplay::kCornerMargin - halfWidth, 0.5);
    EXPECT_NEAR(strokes()[0].bounds.top(), StrokeReplay::kCornerMargin - halfWidth, 0.5);
}
