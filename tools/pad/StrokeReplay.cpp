#include "StrokeReplay.h"

#include "PadCanvas.h"

#include <algorithm>
#include <climits>
#include <limits>

namespace {
void moveToCorner(std::vector<RecordedStroke> &strokes, double margin)
{
    double left = std::numeric_limits<double>::infinity(), top = left;
    for (const RecordedStroke &stroke : strokes) {
        for (const RecordedSample &s : stroke) {
            left = std::min(left, s.x);
            top = std::min(top, s.y);
        }
    }
    for (RecordedStroke &stroke : strokes) {
        for (RecordedSample &s : stroke) {
            s.x += margin - left;
            s.y += margin - top;
        }
    }
}

PenSample penSample(const RecordedSample &s)
{
    return {QPointF(s.x, s.y), s.pressure,
            int(std::clamp<long long>(s.timeMs, INT_MIN, INT_MAX))};
}

int waitMs(long long from, long long to)
{
    return int(std::clamp<long long>(to - from, 0, StrokeReplay::kLongestWaitMs));
}
} // namespace

StrokeReplay::StrokeReplay(PadCanvas &canvas, std::vector<RecordedStroke> strokes,
                           QObject *parent)
    : QObject(parent), canvas(canvas), strokes(std::move(strokes))
{
    this->strokes.erase(std::remove_if(this->strokes.begin(), this->strokes.end(),
                                       [](const RecordedStroke &s) { return s.empty(); }),
                        this->strokes.end());
    moveToCorner(this->strokes, kCornerMargin);
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, &StrokeReplay::handOver);
}

StrokeReplay::~StrokeReplay()
{
    if (sample > 0 && stroke < strokes.size())
        canvas.penUp(penSample(strokes[stroke][sample - 1]));
}

void StrokeReplay::start()
{
    stroke = 0;
    sample = 0;
    handOver();
}

void StrokeReplay::handOver()
{
    if (stroke == strokes.size()) {
        emit finished();
        return;
    }
    const RecordedStroke &samples = strokes[stroke];
    const PenSample pen = penSample(samples[sample]);
    if (sample == 0)
        canvas.penDown(pen);
    if (sample + 1 == samples.size()) {
        // The last sample ends the stroke (a one-sample stroke ends where it began).
        canvas.penUp(pen);
        ++stroke;
        sample = 0;
        if (stroke == strokes.size())
            emit finished();
        else
            timer.start(kStrokePauseMs);
        return;
    }
    if (sample > 0)
        canvas.penMove(pen);
    ++sample;
    timer.start(waitMs(samples[sample - 1].timeMs, samples[sample].timeMs));
}
