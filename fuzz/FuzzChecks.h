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

// The work budget of one input. The smoothing samples a curve every 2 units of its length, up to
// 50,000 times, so a sample far from the previous one costs some 50,000 curve evaluations: a
// fraction of a second under the sanitizers. An input may hand the engines kMaxFarSamples
// samples with a coordinate beyond kFarCoordinate; a call that would go over that is skipped, so
// no input runs into the fuzzer's timeout for nothing but distance.
constexpr double kFarCoordinate = 1e4;
constexpr int kMaxFarSamples = 16;

inline bool isFar(double x, double y)
{
    return (std::isfinite(x) && std::fabs(x) > kFarCoordinate)
           || (std::isfinite(y) && std::fabs(y) > kFarCoordinate);
}

class WorkBudget
{
public:
    // True, and the samples are spent, when farSamples more fit into the budget.
    bool spend(int farSamples)
    {
        if (spent + farSamples > kMaxFarSamples)
            return false;
        spent += farSamples;
        return true;
    }

private:
    int spent = 0;
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
