#ifndef QUILLMARK_PAD_PADWINDOW_H
#define QUILLMARK_PAD_PADWINDOW_H

// The main window of quillmark-pad: the canvas under a tool bar that chooses the tool (pen,
// eraser, lasso), the engine, width and colour of the next stroke, the eraser's radius and the
// prediction's horizon, and menus that open and save the page (a page file), undo and redo,
// clear, replay a recording and export the drawing as a picture.
//
// The page's file: Ctrl+S writes the page to it (asking for one when there is none yet),
// Ctrl+Shift+S asks for another, Ctrl+O opens one. A page that cannot be opened stays
// unopened: the status bar says what is wrong, with the byte where the file is damaged, and
// the page stays as it was.

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

    // What the command line names: a page file is opened; a path with no file is the file of
    // a new page (Ctrl+S writes it); any other file is replayed as a recording.
    // Returns the error, empty on success.
    std::string openArgument(const QString &path);
    // Replaces the page by the page file at path, which becomes the page's file.
    // Returns the error ("path: what is wrong, at which byte"), empty on success.
    std::string openPage(const QString &path);
    // Writes the page to path (whole, or not at all), which becomes the page's file.
    // Returns the error, empty on success.
    std::string savePage(const QString &path);
    // Where Ctrl+S writes the page; empty before it has one.
    const QString &pageFile() const { return pagePath; }

signals:
    void replayFinished();

private:
    void buildMenus();
    void buildPenBar();
    void buildToolBar();
    void chooseColour();
    void askForRecording();
    void askWhereToExport();
    void askForPage();
    void save();
    void askWhereToSave();
    void setPageFile(const QString &path);
    void report(const std::string &error, const QString &success);
    // Enables undo, redo and clear as the page allows.
    void updateActions();

    PadCanvas *pad;
    QToolButton *colourButton = nullptr;
    QAction *undoAction = nullptr;
    QAction *redoAction = nullptr;
    QAction *clearAction = nullptr;
    QString pagePath;
    std::unique_ptr<StrokeReplay> replay;  // destroyed before the canvas it feeds
};

#endif
