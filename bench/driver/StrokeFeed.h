#ifndef QUILLMARK_BENCH_STROKEFEED_H
#define QUILLMARK_BENCH_STROKEFEED_H

// One stroke on its way into one engine or gateway, a sample per call, each call timed alone.

#include "StrokeFile.h"

#include <QPainter>
#include <QRectF>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

// Which phase call a sample gets: the first opens the stroke, the last closes it.
enum class Phase { Start, Creating, End };

struct TimedCall
{
    QRectF dirty;   // the rectangle the call reported
    double micros;  // steady_clock time around the call alone
};

// Times call() alone; whatever the call needs is prepared by the caller beforehand.
template <class Call>
TimedCall timedCall(Call call)
{
    const auto start = std::chrono::steady_clock::now();
    const QRectF dirty = call();
    const auto end = std::chrono::steady_clock::now();
    return {dirty, std::chrono::duration<double, std::micro>(end - start).count()};
}

// A fresh engine (or gateway) fed one sample per call.
class StrokeFeed
{
public:
    virtual ~StrokeFeed() = default;
    virtual TimedCall feed(const RecordedSample &sample, Phase phase) = 0;
    // Paints the part of the current shape inside rect; false when the library leaves the
    // painting to the host (the centre-line engine, the gateway).
    virtual bool paint(QPainter &painter, QRectF rect) = 0;
};

// How a stroke is fed to one subject of the benchmark.
struct Subject
{
    std::string name;
    // The brush engines rebuild their tapering tail at every sample and have looser targets.
    bool rebuildsTail = false;
    // Fed at the recording's real rate (the gateway's brush stamps samples with the time of day).
    bool paced = false;
    std::function<std::unique_ptr<StrokeFeed>()> make;
    // The subject whose median this one's is compared with (the C face: its engine), or null.
    const char *baseline = nullptr;
};

#endif
