// A shown pad window and strokes drawn into its canvas with simulated input. The mouse events go
// through the window, as a user's do.

#define QTEST_QPA_MOUSE_HANDLING
#include "EngineTable.h"
#include "OxEngineKind.h"
#include "PadCanvas.h"
#include "PadWindow.h"
#include "StrokeReplay.h"

#include <QBackingStore>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QRegularExpression>
#include <QTabletEvent>
#include <QTemporaryDir>
#include <QtTest>
#include <gtest/gtest.h>
#include <fstream>
#include <functional>

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

    // A wave through the canvas, a sample every 4 pixels; afterEvent runs after each event.
    void drawWave(int top, const std::function<void()> &afterEvent = [] {})
    {
        QTest::mousePress(&canvas(), Qt::LeftButton, {}, QPoint(40, top + 20));
        afterEvent();
        for (int x = 44; x < 400; x += 4) {
            QTest::mouseMove(&canvas(), QPoint(x, top + 20 + int(15 * std::sin(x / 25.0))));
            afterEvent();
        }
        QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, QPoint(400, top + 20));
        afterEvent();
    }

    // The canvas painted afresh, whole.
    QImage grab() { return canvas().grab().toImage(); }
    // The canvas as the repaints so far left it: the window's pixels on the minimal platform.
    QImage onScreen()
    {
        QCoreApplication::processEvents();
        QPaintDevice *device = window.backingStore()->paintDevice();
        if (device->devType() != QInternal::Image)
            return QImage();
        return static_cast<QImage *>(device)->copy(
            QRect(canvas().mapTo(&window, QPoint(0, 0)), canvas().size()));
    }
    PadCanvas &canvas() { return window.canvas(); }
    const OxStrokePage &page() { return canvas().page(); }
    std::vector<OxStrokePage::Key> keys() { return page().keys(); }
    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }

    PadWindow window;
    QTemporaryDir dir;
};
} // namespace

// The canvas repaints what each engine call (with the ink ahead of the pen, on by default) and
// the page report, and that is enough: after every event the window shows what painting the
// whole canvas afresh shows, the predicted ink taken back included.
TEST_F(Pad, AStrokeChangesAndRepaintsOnlyTheReportedRectangles)
{
    EXPECT_EQ(canvas().prediction(), PadCanvas::kDefaultPredictionMs);
    for (const EngineAdapter &engine : engineTable()) {
        canvas().setEngine(engine);
        QCoreApplication::processEvents();  // the repaints of the previous round
        const QImage before = grab();
        QSignalSpy reports(&canvas(), &PadCanvas::engineReported);
        QSignalSpy edits(&canvas(), &PadCanvas::pageChanged);
        PaintRecorder recorder;
        canvas().installEventFilter(&recorder);
        int stale = 0;  // events after which the screen is not what a whole repaint paints
        drawWave(100, [&] {
            const QImage shown = onScreen();
            canvas().removeEventFilter(&recorder);  // a grab paints the canvas too
            const QImage whole = grab();
            stale += shown == whole ? 0 : 1;
            canvas().installEventFilter(&recorder);
        });
        canvas().removeEventFilter(&recorder);
        EXPECT_EQ(stale, 0) << engine.name;

        QRegion reported;
        for (const QSignalSpy *spy : {&reports, &edits})
            for (const QList<QVariant> &call : *spy)
                reported += call.at(0).toRectF().toAlignedRect();
        EXPECT_GT(reports.size(), 50) << engine.name;
        EXPECT_EQ(edits.size(), 1) << engine.name;
        EXPECT_TRUE(recorder.painted.xored(reported & canvas().rect()).isEmpty()) << engine.name;
        EXPECT_NE(grab(), before) << engine.name;
        canvas().clear();
    }
}

// A finished stroke goes onto the page as the record of its engine calls; undo, redo and clear
// are steps of the page.
TEST_F(Pad, StrokesGoOntoThePageAsTheirRecordsAndUndoRedoAndClearAreSteps)
{
    const QImage empty = grab();
    chooseEngine("fill");
    window.findChild<QDoubleSpinBox *>(QStringLiteral("width"))->setValue(12.5);
    canvas().setColour(QColor(0x20, 0x40, 0x60, 0x80));
    drawWave(50);
    const QImage one = grab();
    chooseEngine("fix");
    drawWave(60);  // over the first
    ASSERT_EQ(keys().size(), 2u);
    OxStrokeRecord first, second;
    ASSERT_TRUE(page().record(keys()[0], first));
    ASSERT_TRUE(page().record(keys()[1], second));
    EXPECT_EQ(first.engine, OxEngineKind::byName("fill")->id);
    EXPECT_EQ(second.engine, OxEngineKind::byName("fix")->id);
    EXPECT_EQ(first.width, 12.5f);
    EXPECT_EQ(first.rgba, 0x20406080u);
    // A press, 89 moves, the move to the release's position and the release; every position
    // exactly as the mouse gave it.
    ASSERT_EQ(first.samples.size(), 92u);
    EXPECT_EQ(first.steps.front().call, OxRecordedStep::kStart);
    EXPECT_EQ(first.steps[1].call, OxRecordedStep::kAdd);
    EXPECT_EQ(first.steps.back().call, OxRecordedStep::kEnd);
    EXPECT_EQ(first.samples[1].x, 44.0f);
    EXPECT_EQ(first.samples[1].pressure, PadCanvas::kMousePressure);

    canvas().undo();
    EXPECT_EQ(keys().size(), 1u);
    EXPECT_EQ(grab(), one);
    canvas().redo();
    EXPECT_EQ(keys().size(), 2u);
    const QImage two = grab();
    canvas().clear();
    EXPECT_EQ(page().count(), 0);
    EXPECT_EQ(grab(), empty);
    canvas().undo();  // the clear
    EXPECT_EQ(grab(), two);
    canvas().undo();
    canvas().undo();
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

    ASSERT_EQ(keys().size(), 2u);
    EXPECT_NEAR(page().bounds(keys()[0]).height() / page().bounds(keys()[1]).height(), 2.0, 0.1);
}

TEST_F(Pad, ReplaysARecordingWithPenInputWaitingAndExportsTheInkAsSvgOrPng)
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
    ASSERT_EQ(keys().size(), 2u);
    // Moved so that the recording starts at the margin from the corner (half width 3 beyond).
    EXPECT_NEAR(page().bounds(keys()[0]).left(), StrokeReplay::kCornerMargin - 3, 0.5);
    EXPECT_NEAR(page().bounds(keys()[0]).top(), StrokeReplay::kCornerMargin - 3, 0.5);

    chooseEngine("brush");
    drawWave(150);
    ASSERT_EQ(window.exportTo(path("drawing.SVG")), "");
    EXPECT_EQ(elementNames(path("drawing.SVG")), QStringLiteral("svg rect path path path"));
    ASSERT_EQ(window.exportTo(path("drawing.png")), "");
    EXPECT_EQ(QImage(path("drawing.png")), grab().convertToFormat(QImage::Format_ARGB32));
    EXPECT_NE(window.exportTo(path("missing/drawing.svg")), "");
}

// A page file that cannot be read leaves the page, the picture and the page's file as they were
// and says which file, what is wrong and at which byte. (A readable one replacing the page is the
// test under a virtual X server.)
TEST_F(Pad, ADamagedPageFileChangesNothingAndSaysWhatIsWrongWhere)
{
    ASSERT_EQ(window.openArgument(path("one.qmk")), "");  // no file there: a new page
    drawWave(100);
    ASSERT_EQ(window.savePage(window.pageFile()), "");
    drawWave(200);
    const QImage two = grab();
    const std::vector<OxStrokePage::Key> drawn = keys();
    QFile saved(path("one.qmk"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    std::ofstream(path("cut.qmk").toStdString()) << saved.readAll().chopped(9).toStdString();

    const std::string error = window.openPage(path("cut.qmk"));
    EXPECT_EQ(error.rfind(path("cut.qmk").toStdString() + ": ", 0), 0u) << error;
    EXPECT_NE(error.find("byte "), std::string::npos) << error;
    EXPECT_EQ(keys(), drawn);
    EXPECT_EQ(grab(), two);
    EXPECT_EQ(window.pageFile(), path("one.qmk"));
}
