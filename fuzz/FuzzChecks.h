#ifndef QUILLMARK_FUZZCHECKS_H
#define QUILLMARK_FUZZCHECKS_H

// Invariants the fuzz targets check after every call. A broken one aborts with a line on
// standard error, which libFuzzer reports as a crash and keeps the input that caused it.
//
// "Moderate" input is what the finiteness invariants are promised for: every coordinate, width
// and pressure a finite number of magnitude at most kModerateBound. Larger finite numbers are
// accepted by the library but may overflow to infinity in its float arithmetic (squared
// distances, widths times pressures), so an engine or gateway that has seen one is no longer
// held to finite output; it must still not crash and its exported counts must still add up.
// Non-finite samples never make an engine unchecked: the library drops them.

#include <QPainterPath>
#include <QRectF>
#include <QtGlobal>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace fuzzchecks {

constexpr double kModerateBound = 1e6;

inline bool isModerate(double v)
{
    return std::isfinite(v) && std::fabs(v) <= kModerateBound;
}

// The work budget of one input, so that every input costs about the same small time and the
// fuzzer runs thousands a second. The smoothing samples a curve every 2 units of its length (a
// jump of 10^6 units costs the full 50,000 curve samples, a tenth of a second under the
// sanitizers), and the outline grows by a segment per kept sample, so the work of an input
// follows the number of samples it hands over and the distance the pen travels between them. A
// call that does not fit into what is left is skipped whole. Far coordinates are still reached
// (a stroke may start anywhere, and unusable numbers cost nothing); the cut after 50,000 curve
// samples is left to the unit tests. Each target sets its own limits.

// The cost of the samples one call hands over, from where a pen was: the samples, and the way
// from each finite sample to the next (non-finite ones are dropped before they cost anything).
// A pen that has no sample yet makes the first one free.
struct CallCost
{
    static CallCost from(CallCost pen)
    {
        pen.samples = 0;
        pen.travel = 0;
        return pen;
    }
    static CallCost openingStroke()
    {
        CallCost c;
        c.hasLast = false;
        return c;
    }

    CallCost() = default;

    void add(double x, double y)
    {
        ++samples;
        if (!std::isfinite(x) || !std::isfinite(y))
            return;   // dropped before it costs anything
        if (hasLast)
            travel += std::hypot(x - lastX, y - lastY);
        hasLast = true;
        lastX = x;
        lastY = y;
    }

    int samples = 0;
    double travel = 0;
    // Where the pen is after these samples.
    double lastX = 0, lastY = 0;

private:
    bool hasLast = true;
};

// Where an engine smooths on from, and so where a call's way starts: the engine's own curve,
// which starts at the origin in a new engine and again after a stroke's end, and the last of the
// host's points, which an engine goes on from until the host clears them (even a new engine).
// A call pays for the longer of the two ways.
struct Pens
{
    CallCost engine;
    CallCost points = CallCost::openingStroke();

    // A stroke opened on cleared points: its first sample starts no curve.
    static Pens openingStroke() { return {CallCost::openingStroke(), CallCost::openingStroke()}; }

    Pens next() const { return {CallCost::from(engine), CallCost::from(points)}; }
    void add(double x, double y)
    {
        engine.add(x, y);
        points.add(x, y);
    }
    const CallCost &dearer() const { return engine.travel >= points.travel ? engine : points; }
    void strokeEnded() { engine = CallCost(); }
};

class WorkBudget
{
public:
    WorkBudget(int maxSamples, double maxTravel) : maxSamples(maxSamples), maxTravel(maxTravel) {}

    // True, and the cost is spent, when it fits into what is left.
    bool spend(const CallCost &c)
    {
        if (samples + c.samples > maxSamples || !(travel + c.travel <= maxTravel))
            return false;
        samples += c.samples;
        travel += c.travel;
        return true;
    }
    // Nothing more fits (for work that is only known once done).
    void exhaust() { samples = maxSamples; travel = maxTravel; }

private:
    int maxSamples;
    double maxTravel;
    int samples = 0;
    double travel = 0;
};

[[noreturn]] inline void fail(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

#define FUZZ_REQUIRE(condition)                                                                \
    do {                                                                                       \
        if (!(condition))                                                                      \
            fuzzchecks::fail(#condition, __FILE__, __LINE__);                                  \
    } while (false)

inline bool isFiniteRect(const QRectF &r)
{
    return std::isfinite(r.x()) && std::isfinite(r.y()) && std::isfinite(r.width())
           && std::isfinite(r.height());
}

inline bool isFinitePath(const QPainterPath &path)
{
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (!std::isfinite(e.x) || !std::isfinite(e.y))
            return false;
    }
    return true;
}

// Qt warns about points it refuses (non-finite coordinates); thousands of such lines would only
// slow the fuzzer down.
inline void silenceQtMessages()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
}

} // namespace fuzzchecks

#endif
