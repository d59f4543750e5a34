#ifndef QUILLMARK_PAD_STROKEREPLAY_H
#define QUILLMARK_PAD_STROKEREPLAY_H

// Plays recorded strokes into the canvas at their recorded speed: each sample is handed over
// when its recorded time has come (relative to the stroke's first sample), with "time" and
// "pressure" as recorded, and strokes follow each other after a short pause. The strokes are
// moved so that together they start near the canvas's top left corner.

#include "StrokeFile.h"

#include <QObject>
#include <QTimer>

class PadCanvas;

class StrokeReplay : public QObject
{
    Q_OBJECT

public:
    // Recordings time every stroke from its own start; a pause between them lets one see where
    // one stroke ends and the next begins.
    static constexpr int kStrokePauseMs = 300;
    // A longer gap in a recording is shortened to this, so that no replay stalls.
    static constexpr int kLongestWaitMs = 5000;
    static constexpr double kCornerMargin = 20;

    StrokeReplay(PadCanvas &canvas, std::vector<RecordedStroke> strokes,
                 QObject *parent = nullptr);
    // A stroke left open by a replay stopped early is ended with the last sample handed over.
    ~StrokeReplay() override;

    void start();

signals:
    void finished();

private:
    void handOver();

    PadCanvas &canvas;
    std::vector<RecordedStroke> strokes;
    size_t stroke = 0;
    size_t sample = 0;  // the next to hand over
    QTimer timer;
};

#endif
