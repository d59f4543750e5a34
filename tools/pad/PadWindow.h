#ifndef QUILLMARK_PAD_PADWINDOW_H
#define QUILLMARK_PAD_PADWINDOW_H

// The main window of quillmark-pad: the canvas under a tool bar that chooses the tool (pen,
// eraser, lasso), the engine, width and colour of the next stroke, the eraser's radius and the
// prediction's horizon, and menus that undo and redo, clear, replay a recording and export the
// drawing as a picture.

#include <QMainWindow>
#include <memory>
#include <string>

class PadCanvas;
class QAction;
class QToolButton;
class StrokeReplay;

class PadWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit PadWindow(QWidget *parent = nullptr);
    ~PadWindow() override;

    PadCanvas &canvas() { return *pad; }

    // Replays a recorded stroke file into the canvas, replacing a replay still running; pen input
    // waits until it has finished. Returns the error (the file cannot be read or is malformed),
    // empty on success.
    std::string replayFile(const QString &path);
    // The page's ink as SVG (a path ending in ".svg") or PNG, at the canvas's size.
    // Returns the error, empty on success.
    std::string exportTo(const QString &path);

signals:
    void replayFinished();

private:
    void buildMenus();
    void buildPenBar();
    void buildToolBar();
    void chooseColour();
    void askForRecording();
    void askWhereToExport();
    void report(const std::string &error, const QString &success);
    // Enables undo, redo and clear as the page allows.
    void updateActions();

    PadCanvas *pad;
    QToolButton *colourButton = nullptr;
    QAction *undoAction = nullptr;
    QAction *redoAction = nullptr;
    QAction *clearAction = nullptr;
    std::unique_ptr<StrokeReplay> replay;  // destroyed before the canvas it feeds
};

#endif
