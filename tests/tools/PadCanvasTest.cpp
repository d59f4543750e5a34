#include "PadFixture.h"

#include <QTabletEvent>

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

QRegion reportedRegion(const QSignalSpy &spy)
{
    QRegion region;
    for (const QList<QVariant> &call : spy)
        region += call.at(0).toRectF().toAlignedRect();
    return region;
}

void sendTablet(QWidget &target, QEvent::Type type, QPointF position, qreal pressure, ulong time)
{
    QTabletEvent event(type, position, target.mapToGlobal(position.toPoint()),
                       QTabletEvent::Stylus, QTabletEvent::Pen, pressure, 0, 0, 0, 0, 0,
                       Qt::NoModifier, 1, Qt::LeftButton, Qt::LeftButton);
    event.setTimestamp(time);
    QApplication::sendEvent(&target, &event);
}
} // namespace

using PadCanvasTest = PadFixture;

// The canvas repaints what each engine call reports; whatever a stroke changes must lie there.
TEST_F(PadCanvasTest, AStrokeChangesAndRepaintsOnlyTheReportedRectangles)
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

        const QRegion reported = reportedRegion(reports);
        EXPECT_GT(reports.size(), 50) << engine.name;
        EXPECT_TRUE(recorder.painted.xored(reported & canvas().rect()).isEmpty()) << engine.name;
        const QImage after = grab();
        int changed = 0, outside = 0;
        for (int y = 0; y < after.height(); ++y) {
            for (int x = 0; x < after.width(); ++x) {
                if (after.pixel(x, y) == before.pixel(x, y))
                    continue;
                ++changed;
                outside += reported.contains(QPoint(x, y)) ? 0 : 1;
            }
        }
        EXPECT_GT(changed, 500) << engine.name;
        EXPECT_EQ(outside, 0) << engine.name;
        canvas().clear();
    }
}

// A tablet's pressure reaches the engine; the mouse draws at half pressure.
TEST_F(PadCanvasTest, TabletPressureWidensThePressureEnginesStroke)
{
    chooseEngine("pressure");
    canvas().setPenWidth(20);
    sendTablet(canvas(), QEvent::TabletPress, QPointF(50, 100), 1.0, 1000);
    for (int i = 1; i <= 40; ++i)
        sendTablet(canvas(), QEvent::TabletMove, QPointF(50 + 5 * i, 100), 1.0, 1000 + 8 * i);
    sendTablet(canvas(), QEvent::TabletRelease, QPointF(250, 100), 1.0, 1400);
    QTest::mousePress(&canvas(), Qt::LeftButton, {}, QPoint(50, 300));
    for (int x = 55; x <= 250; x += 5)
        QTest::mouseMove(&canvas(), QPoint(x, 300));
    QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, QPoint(250, 300));

    ASSERT_EQ(strokes().size(), 2u);
    const double tablet = strokes()[0].bounds.height(), mouse = strokes()[1].bounds.height();
    EXPECT_NEAR(tablet / mouse, 2.0, 0.1);
}

TEST_F(PadCanvasTest, UndoTakesBackTheNewestStrokeAndClearTheRest)
{
    const QImage empty = grab();
    drawWave(50);
    const QImage one = grab();
    chooseEngine("brush");
    drawWave(60);  // over the first
    ASSERT_EQ(strokes().size(), 2u);
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
