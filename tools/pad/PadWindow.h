#ifndef QUILLMARK_PAD_PADWINDOW_H
#define QUILLMARK_PAD_PADWINDOW_H

// The main window of quillmark-pad: the canvas under a tool bar that chooses the engine, the
// width and the colour of the next stroke, undoes the last stroke, clears and shows the repainted
// rectangles, and a File menu that replays a recording and saves the drawing.

#include <QMainWindow>
#include <memory>
#include <string>

class PadCanvas;
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
    // The finished strokes as SVG (a path ending in ".svg") or PNG, at the canvas's size.
    // Returns the error, empty on success.
    std::string saveTo(const QString &path);

signals:
    void replayFinished();

private:
    void buildFileMenu();
    void buildToolBar();
    void chooseColour();
    void askForRecording();
    void askWhereToSave();
    void report(const std::string &error, const QString &success);

    PadCanvas *pad;
    QToolButton *colourButton = nullptr;
    std::unique_ptr<StrokeReplay> replay;  // destroyed before the canvas it feeds
};

#endif
