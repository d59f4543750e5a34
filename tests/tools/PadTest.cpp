// A shown pad window and strokes drawn into its canvas with simulated input. The mouse events go
// through the window, as a user's do.

#define QTEST_QPA_MOUSE_HANDLING
#include "EngineTable.h"
#include "PadCanvas.h"
#include "PadWindow.h"
#include "StrokeReplay.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QRegularExpression>
#include <QTabletEvent>
#include <QTemporaryDir>
#include <QtTest>
#include <gtest/gtest.h>
#include <fstream>

namespace {
// Collects the regions of the paint events a widget receives.
class PaintRecorder : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
    QRegion painted;
};

void sendTablet(QWidget &target, QEvent::Type type, QPointF position, ulong time)
{
    const QPointF global = target.mapToGlobal(position.toPoint());
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const QPointingDevice stylus(QStringLiteral("stylus"), 1, QInputDevice::DeviceType::Stylus,
                                 QPointingDevice::PointerType::Pen,
                                 QInputDevice::Capability::Position
                                     | QInputDevice::Capability::Pressure,
                                 1, 1);
    QTabletEvent event(type, &stylus, position, global, 1.0, 0, 0, 0, 0, 0, Qt::NoModifier,
                       Qt::LeftButton, Qt::LeftButton);
#else
    QTabletEvent event(type, position, global, QTabletEvent::Stylus, QTabletEvent::Pen, 1.0, 0, 0,
                       0, 0, 0, Qt::NoModifier, 1, Qt::LeftButton, Qt::LeftButton);
#endif
    event.setTimestamp(time);
    QApplication::sendEvent(&target, &event);
}

// The names of the elements of an XML file, in order.
QString elementNames(const QString &path)
{
    QFile file(path);
    QStringList names;
    if (file.open(QIODevice::ReadOnly))
        for (auto m = QRegularExpression(QStringLiteral("<(\\w+)")).globalMatch(file.readAll());
             m.hasNext();)
            names << m.next().captured(1);
    return names.join(QLatin1Char(' '));
}

class Pad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(640, 480);
        window.show();
        QCoreApplication::processEvents();
    }

    void chooseEngine(const std::string &name)
    {
        auto *chooser = window.findChild<QComboBox *>(QStringLiteral("engine"));
        for (size_t i = 0; i < engineTable().size(); ++i)
            if (engineTable()[i].name == name)
                chooser->setCurrentIndex(int(i));
    }

    // A wave through the canvas, a sample every 4 pixels.
    void drawWave(int top)
    {
        QTest::mousePress(&canvas(), Qt::LeftButton, {}, QPoint(40, top + 20));
        for (int x = 44; x < 400; x += 4)
            QTest::mouseMove(&canvas(), QPoint(x, top + 20 + int(15 * std::sin(x / 25.0))));
        QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, QPoint(400, top + 20));
    }

    QImage grab() { return canvas().grab().toImage(); }
    PadCanvas &canvas() { return window.canvas(); }
    const std::vector<FinishedStroke> &strokes() { return canvas().strokes().strokes(); }
    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }

    PadWindow window;
    QTemporaryDir dir;
};
} // namespace

// The canvas repaints exactly what each engine call reports (that the engines report all they
// change is the property tests' part).
TEST_F(Pad, AStrokeChangesAndRepaintsOnlyTheReportedRectangles)
{
    for (const EngineAdapter &engine : engineTable()) {
        canvas().setEngine(engine);
        QCoreApplication::processEvents();  // the repaints of the previous round
        const QImage before = grab();
        QSignalSpy reports(&canvas(), &PadCanvas::engineReported);
        PaintRecorder recorder;
        canvas().installEventFilter(&recorder);
        drawWave(100);
        QCoreApplication::processEvents();
        canvas().removeEventFilter(&recorder);

        QRegion reported;
        for (const QList<QVariant> &call : reports)
            reported += call.at(0).toRectF().toAlignedRect();
        EXPECT_GT(reports.size(), 50) << engine.name;
        EXPECT_TRUE(recorder.painted.xored(reported & canvas().rect()).isEmpty()) << engine.name;
        EXPECT_NE(grab(), before) << engine.name;
        canvas().clear();
    }
}

TEST_F(Pad, TheChoosersSetTheNextStrokeAndUndoAndClearTakeStrokesBack)
{
    const QImage empty = grab();
    chooseEngine("fill");
    window.findChild<QDoubleSpinBox *>(QStringLiteral("width"))->setValue(12.5);
    drawWave(50);
    const QImage one = grab();
    chooseEngine("fix");
    drawWave(60);  // over the first
    ASSERT_EQ(strokes().size(), 2u);
    EXPECT_EQ(strokes()[0].shapes.outlines.size(), 1u);
    EXPECT_TRUE(strokes()[0].shapes.centreLine.isEmpty());
    EXPECT_EQ(strokes()[0].width, 12.5f);
    EXPECT_TRUE(strokes()[1].shapes.outlines.empty());
    EXPECT_GT(strokes()[1].shapes.centreLine.size(), 20);

    canvas().undo();
    EXPECT_EQ(strokes().size(), 1u);
    EXPECT_EQ(grab(), one);
    drawWave(200);
    canvas().clear();
    EXPECT_TRUE(strokes().empty());
    EXPECT_EQ(grab(), empty);
    canvas().undo();  // nothing left: no change
    EXPECT_EQ(grab(), empty);
}

// A tablet's pressure reaches the engine; the mouse draws at half pressure.
TEST_F(Pad, TabletPressureWidensThePressureEnginesStroke)
{
    chooseEngine("pressure");
    canvas().setPenWidth(20);
    sendTablet(canvas(), QEvent::TabletPress, QPointF(50, 100), 1000);
    for (int i = 1; i <= 40; ++i)
        sendTablet(canvas(), QEvent::TabletMove, QPointF(50 + 5 * i, 100), 1000 + 8 * i);
    sendTablet(canvas(), QEvent::TabletRelease, QPointF(250, 100), 1400);
    QTest::mousePress(&canvas(), Qt::LeftButton, {}, QPoint(50, 300));
    for (int x = 55; x <= 250; x += 5)
        QTest::mouseMove(&canvas(), QPoint(x, 300));
    QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, QPoint(250, 300));

    ASSERT_EQ(strokes().size(), 2u);
    EXPECT_NEAR(strokes()[0].bounds.height() / strokes()[1].bounds.height(), 2.0, 0.1);
}

TEST_F(Pad, ReplaysARecordingWithPenInputWaitingAndSavesTheStrokesAsSvgOrPng)
{
    std::ofstream(path("two.txt").toStdString())
        << "100 100 0 0.5\n110 104 8 0.6\n130 110 16 0.7\n\n300 300 0 0.5\n310 300 10 0.5\n";
    EXPECT_EQ(window.replayFile(path("missing.txt")),
              path("missing.txt").toStdString() + ": cannot open file");
    ASSERT_EQ(window.replayFile(path("two.txt")), "");
    EXPECT_FALSE(canvas().isEnabled());
    QSignalSpy finished(&window, &PadWindow::replayFinished);
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_TRUE(canvas().isEnabled());
    ASSERT_EQ(strokes().size(), 2u);
    // Moved so that the recording starts at the margin from the corner (half width 3 beyond).
    EXPECT_NEAR(strokes()[0].bounds.left(), StrokeReplay::kCornerMargin - 3, 0.5);
    EXPECT_NEAR(strokes()[0].bounds.top(), StrokeReplay::kCornerMargin - 3, 0.5);

    chooseEngine("brush");
    drawWave(150);
    ASSERT_EQ(window.saveTo(path("drawing.SVG")), "");
    EXPECT_EQ(elementNames(path("drawing.SVG")), QStringLiteral("svg rect polyline polyline path"));
    ASSERT_EQ(window.saveTo(path("drawing.png")), "");
    EXPECT_EQ(QImage(path("drawing.png")).size(), canvas().size());
    EXPECT_NE(window.saveTo(path("missing/drawing.svg")), "");
}
