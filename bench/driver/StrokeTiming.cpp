#include "StrokeTiming.h"

#include "SampleStats.h"

#include <algorithm>
#include <cstdint>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Repetition
{
    std::vector<double> micros;
    bool cutOff = false;
    std::unique_ptr<StrokeFeed> feed;
    QRectF dirty;
};

// One pass over all strokes; stops early once capSeconds have gone by or after stopAfter samples
// in all.
Repetition runOnce(const Subject &subject, const std::vector<RecordedStroke> &strokes,
                   size_t maxSamples, size_t stopAfter, double capSeconds)
{
    Repetition rep;
    const Clock::time_point start = Clock::now();
    for (const RecordedStroke &stroke : strokes) {
        const size_t n = std::min(stroke.size(), maxSamples);
        rep.feed = subject.make();
        const auto keep = [&](const TimedCall &call) {
            rep.micros.push_back(call.micros);
            if (!call.dirty.isEmpty())
                rep.dirty = call.dirty;
            return rep.micros.size() < stopAfter && secondsSince(start) <= capSeconds;
        };
        const size_t fed = feedStroke(*rep.feed, stroke, n, subject.paced, keep);
        if (fed < n || (secondsSince(start) > capSeconds && &stroke != &strokes.back())) {
            rep.cutOff = true;
            break;
        }
    }
    return rep;
}
} // namespace

size_t feedStroke(StrokeFeed &feed, const RecordedStroke &stroke, size_t n, bool paced,
                  const std::function<bool(const TimedCall &)> &visit)
{
    n = std::min(n, stroke.size());
    const Clock::time_point start = Clock::now();
    for (size_t i = 0; i < n; ++i) {
        if (paced)
            std::this_thread::sleep_until(
                start + std::chrono::milliseconds(stroke[i].timeMs - stroke[0].timeMs));
        const Phase phase = i == 0 ? Phase::Start : (i + 1 == n ? Phase::End : Phase::Creating);
        if (!visit(feed.feed(stroke[i], phase)))
            return i + 1;
    }
    return n;
}

InputTimes timeStrokes(const Subject &subject, const std::vector<RecordedStroke> &strokes,
                       size_t maxSamples, const TimingLimits &limits)
{
    InputTimes times;
    const Clock::time_point start = Clock::now();
    double slowest = 0;
    while (times.runs < limits.runs) {
        if (times.runs > 0 && secondsSince(start) + slowest > limits.budgetSeconds)
            break;
        const Clock::time_point repStart = Clock::now();
        Repetition rep = runOnce(subject, strokes, maxSamples, SIZE_MAX, limits.runCapSeconds);
        slowest = std::max(slowest, secondsSince(repStart));
        keepMinima(times.micros, rep.micros);
        if (!rep.cutOff)
            times.runTimes.push_back(rep.micros);
        times.finalFeed = std::move(rep.feed);
        times.finalDirty = rep.dirty;
        ++times.runs;
        if (rep.cutOff) {
            times.cutOff = times.runs == 1;
            break;
        }
    }
    times.prefixRuns = times.runs;
    for (; times.prefixRuns < limits.runs && limits.earlyPrefix > 0; ++times.prefixRuns)
        keepMinima(times.micros, runOnce(subject, strokes, maxSamples, limits.earlyPrefix,
                                         limits.runCapSeconds)
                                     .micros);
    return times;
}
