// quillmark-pad's window on a virtual X server, driven by pointer and key events that the server
// generates: the eraser, the lasso, undo and redo and the ink ahead of the pen as a user meets
// them, and a page saved and opened again. What the window shows is read back from the server.

#include "OxPageFile.h"
#include "OxStrokePage.h"
#include "PadCanvas.h"
#include "PadWindow.h"
#include "PageCompare.h"
#include "VirtualDisplay.h"

#include <QMouseEvent>
#include <QFileInfo>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <gtest/gtest.h>
#include <memory>

namespace {
using Key = OxStrokePage::Key;
using Keys = std::vector<Key>;

// The mouse events a widget has received.
class PointerWatch : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove
            && type != QEvent::MouseButtonRelease)
            return false;
        const auto *mouse = static_cast<QMouseEvent *>(event);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
        last = mouse->position().toPoint();
#else
        last = mouse->pos();
#endif
        presses += type == QEvent::MouseButtonPress ? 1 : 0;
        releases += type == QEvent::MouseButtonRelease ? 1 : 0;
        return false;
    }
    int presses = 0, releases = 0;
    QPoint last{-1, -1};
};

// Points from a to b (both included) every step pixels.
std::vector<QPoint> line(QPoint a, QPoint b, int step = 8)
{
    const QPoint d = b - a;
    const int n = std::max(1, int(std::hypot(d.x(), d.y()) / step));
    std::vector<QPoint> points;
    for (int i = 0; i <= n; ++i)
        points.push_back(a + d * i / n);
    return points;
}

class PadUnderX : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const VirtualDisplay &display = VirtualDisplay::instance();
        if (!display.installed())
            GTEST_SKIP() << display.problem();
        ASSERT_TRUE(display.ok()) << display.problem();
        input = std::make_unique<XTestInput>(display.name());
        ASSERT_TRUE(input->ok()) << "no XTest extension on " << display.name();
        openWindow();
    }

    // A new window, shown and active, that opens file as if named on the command line.
    void openWindow(const QString &file = QString())
    {
        window = std::make_unique<PadWindow>();
        if (!file.isEmpty()) {
            ASSERT_EQ(window->openArgument(file), "");
        }
        window->resize(800, 600);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        watch = std::make_unique<PointerWatch>();
        canvas().installEventFilter(watch.get());
    }

    PadCanvas &canvas() { return window->canvas(); }
    const OxStrokePage &page() { return canvas().page(); }

    // Moves the pointer; with the button held, waits until the canvas has the move (without,
    // the canvas gets none, and the server's order of events is enough).
    void moveTo(QPoint at)
    {
        input->moveTo(canvas().mapToGlobal(at));
        if (held) {
            ASSERT_TRUE(waitUntil([&] { return watch->last == at; }))
                << "no move to " << at.x() << "," << at.y();
        }
    }
    void button(bool down)
    {
        const int before = down ? watch->presses : watch->releases;
        input->button(down);
        held = down;
        ASSERT_TRUE(waitUntil([&] { return (down ? watch->presses : watch->releases) > before; }));
    }
    // A press at the first point, moves through the rest and a release at the last, with a
    // modifier key held when one is named.
    void drag(const std::vector<QPoint> &points, const char *modifier = nullptr)
    {
        if (modifier)
            input->key(modifier, true);
        moveTo(points.front());
        button(true);
        for (size_t i = 1; i < points.size(); ++i)
            moveTo(points[i]);
        button(false);
        if (modifier)
            input->key(modifier, false);
    }
    // Presses the keys in order and lets them go in reverse; then waits for done.
    bool keys(std::initializer_list<const char *> names, const std::function<bool()> &done)
    {
        for (const char *name : names)
            input->key(name, true);
        for (auto name = std::rbegin(names); name != std::rend(names); ++name)
            input->key(*name, false);
        return waitUntil(done);
    }

    // The canvas as the X server shows it, and as a whole repaint paints it.
    QImage onScreen()
    {
        const QPoint at = canvas().mapTo(window.get(), QPoint(0, 0));
        return window->screen()
            ->grabWindow(window->winId(), at.x(), at.y(), canvas().width(), canvas().height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    QImage whole() { return canvas().grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // Whether the screen comes to show what a whole repaint paints: nothing stale is left.
    bool screenIsCurrent()
    {
        return waitUntil([&] { return onScreen() == whole(); }, 2000);
    }

    std::unique_ptr<XTestInput> input;
    std::unique_ptr<PadWindow> window;
    std::unique_ptr<PointerWatch> watch;
    bool held = false;
};
} // namespace

TEST_F(PadUnderX, TheEraserCutsOrTakesWholeStrokesAndTheKeysUndoAndRedoIt)
{
    drag(line({100, 100}, {400, 100}));
    drag(line({100, 200}, {400, 200}));
    const Keys drawn = page().keys();
    ASSERT_EQ(drawn.size(), 2u);

    ASSERT_TRUE(keys({"e"}, [&] { return canvas().tool() == PadCanvas::Tool::kEraser; }));
    const std::vector<QPoint> cut = line({250, 60}, {250, 140});
    drag(cut);
    // The first stroke is cut in two pieces of their own, the eraser's width apart. (No ink left
    // under an eraser, and undo to the bit, are the page's tests.)
    Keys now = page().keys();
    ASSERT_EQ(now.size(), 3u);
    EXPECT_EQ(std::count(now.begin(), now.end(), drawn[0]), 0);
    const double radius = canvas().eraserRadius();
    EXPECT_LT(page().bounds(now[0]).right(), 250 - radius + 0.01);
    EXPECT_GT(page().bounds(now[1]).left(), 250 + radius - 0.01);
    EXPECT_TRUE(screenIsCurrent());

    // Shift takes the second stroke whole.
    drag(line({250, 160}, {250, 240}), "Shift_L");
    EXPECT_EQ(page().keys(), Keys(now.begin(), now.begin() + 2));
    EXPECT_TRUE(screenIsCurrent());

    ASSERT_TRUE(keys({"Control_L", "z"}, [&] { return page().count() == 3; }));
    ASSERT_TRUE(keys({"Control_L", "z"}, [&] { return page().count() == 2; }));
    EXPECT_EQ(page().keys(), drawn);
    EXPECT_TRUE(screenIsCurrent());
    ASSERT_TRUE(keys({"Control_L", "Shift_L", "z"}, [&] { return page().count() == 3; }));
    EXPECT_EQ(page().keys(), now);
    EXPECT_TRUE(screenIsCurrent());
}

TEST_F(PadUnderX, TheLassoSelectsStrokesAndADragMovesThemInOneStep)
{
    drag(line({100, 100}, {160, 110}));
    drag(line({100, 140}, {160, 150}));
    drag(line({300, 100}, {360, 110}));
    const Keys drawn = page().keys();
    ASSERT_EQ(drawn.size(), 3u);
    std::vector<QRectF> bounds;
    for (Key key : drawn)
        bounds.push_back(page().bounds(key));

    ASSERT_TRUE(keys({"l"}, [&] { return canvas().tool() == PadCanvas::Tool::kLasso; }));
    std::vector<QPoint> loop;
    for (QPoint corner : {QPoint(80, 80), QPoint(200, 80), QPoint(200, 170), QPoint(80, 170)}) {
        const std::vector<QPoint> side = line(loop.empty() ? QPoint(80, 170) : loop.back(), corner);
        loop.insert(loop.end(), side.begin() + 1, side.end());
    }
    drag(loop);
    EXPECT_EQ(canvas().selection().keys(), Keys(drawn.begin(), drawn.begin() + 2));
    EXPECT_TRUE(screenIsCurrent());

    drag(line({130, 125}, {180, 195}, 5));
    for (size_t i = 0; i < 3; ++i) {
        const QPointF moved = i < 2 ? QPointF(50, 70) : QPointF(0, 0);
        EXPECT_EQ(page().bounds(drawn[i]).topLeft(), bounds[i].topLeft() + moved) << i;
        OxStrokeRecord record;
        page().record(drawn[i], record);
        EXPECT_EQ(record.edits.size(), i < 2 ? 1u : 0u) << i;  // one move however many events
    }
    EXPECT_TRUE(screenIsCurrent());

    ASSERT_TRUE(keys({"Control_L", "z"}, [&] { return page().bounds(drawn[0]) == bounds[0]; }));
    EXPECT_EQ(page().bounds(drawn[1]), bounds[1]);
    EXPECT_TRUE(screenIsCurrent());
}

// The ink ahead of the pen is on screen while the pen moves, in orange after the key, and
// nothing of it stays.
TEST_F(PadUnderX, TheInkAheadOfThePenIsDrawnAndTakenBack)
{
    const auto orange = [&] {
        const QImage shown = onScreen();
        int n = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                n += QColor(shown.pixel(x, y)) == PadCanvas::kPredictedColour ? 1 : 0;
        return n;
    };
    ASSERT_TRUE(keys({"p"}, [] { return true; }));
    moveTo({100, 300});
    button(true);
    // Looked for while the pen moves: a pen held still long enough counts as stopped, and a
    // stopped pen has no ink ahead of it (as on a slow or busy X server between the moves).
    bool seen = false;
    for (QPoint at : line({100, 300}, {400, 320}, 12)) {
        moveTo(at);
        seen = seen || waitUntil([&] { return orange() > 20; }, 250);
    }
    EXPECT_TRUE(seen);
    EXPECT_TRUE(screenIsCurrent());
    button(false);
    EXPECT_TRUE(screenIsCurrent());
    EXPECT_EQ(orange(), 0);
}

// Ctrl+S writes the page to the file named on the command line (none there yet: a new page);
// the pad started again on that file shows the same page: every stroke and every piece of the
// cut one under its key, its ink, colour and record to the bit, painted as before.
TEST_F(PadUnderX, CtrlSSavesThePageAndThePadStartedOnTheFileShowsItAsItWas)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("page.qmk"));
    openWindow(file);
    drag(line({100, 100}, {400, 100}));
    canvas().setColour(QColor(0x20, 0x80, 0x40, 0xc0));
    drag(line({100, 200}, {400, 260}));
    ASSERT_TRUE(keys({"e"}, [&] { return canvas().tool() == PadCanvas::Tool::kEraser; }));
    drag(line({250, 60}, {250, 140}));
    ASSERT_EQ(page().count(), 3);
    ASSERT_TRUE(keys({"Control_L", "s"}, [&] { return QFileInfo::exists(file); }));

    OxStrokePage stored;
    const OxStorageError error = OxPageFile::load(file, stored);
    ASSERT_TRUE(error.ok()) << error.message.toStdString();
    EXPECT_EQ(pageDifference(page(), stored), "");
    const QImage drawn = whole();

    openWindow(file);
    EXPECT_EQ(window->pageFile(), file);
    EXPECT_EQ(pageDifference(stored, page()), "");
    EXPECT_FALSE(page().canUndo());
    EXPECT_EQ(whole(), drawn);
    EXPECT_TRUE(screenIsCurrent());
}
