// Properties every engine keeps in every mode, checked call by call on the recorded strokes:
// what a call changes on screen lies in the rectangle it reports, the body outline covers the
// centre line, unusable input and calls before the first sample leave no trace, and a copy goes
// on exactly like its original.

#include "ChangedPixels.h"
#include "StrokeRun.h"
#include "TestData.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>

namespace {
constexpr float kWidth = 7;
// Antialiasing may touch the pixel next to a shape's edge.
constexpr int kAntialiasMargin = 1;

// The recorded strokes the properties run over: real pen input with time and pressure, and the
// degenerate ones (a single point, equal points, repeated points).
const std::vector<RecordedStroke> &strokes()
{
    static const std::vector<RecordedStroke> all = [] {
        const std::vector<RecordedStroke> recorded = loadStrokes("pf-recorded.txt");
        const std::vector<RecordedStroke> painting = loadStrokes("mypaint-painting30sec.txt");
        std::vector<RecordedStroke> s = loadStrokes("pf-edge-cases.txt");
        s.insert(s.end(), recorded.begin(), recorded.begin() + 3);
        s.insert(s.end(), painting.begin(), painting.begin() + 4);
        return s;
    }();
    return all;
}

// Calls checked per stroke: the first ones and the end call (the pixel check costs a full
// repaint per call).
constexpr size_t kCallsPerStroke = 20;
// Calls compared after unusable input or a copy, before the end call.
constexpr size_t kCallsAfter = 8;

// The calls from next on that the comparisons make: a few, then the end call.
std::vector<size_t> callsFrom(size_t next, size_t calls)
{
    std::vector<size_t> later;
    for (size_t k = next; k < std::min(calls - 1, next + kCallsAfter); ++k)
        later.push_back(k);
    later.push_back(calls - 1);
    return later;
}

// How far beyond the reported rectangle a changed pixel may lie. The extend engine's first
// creating call clears its start dot (radius width / 10) but reports only the new tail, which
// starts thin at the first point: at large widths the dot reaches beyond it.
int marginNeeded(const std::string &kind, float width)
{
    return kAntialiasMargin + (kind == "extend" ? int(std::ceil(width / 10)) : 0);
}

// Checks the first calls of a run and its end call: every pixel they change lies in (or within
// the margin of) the rectangle they report.
void expectChangesInsideReports(const RunKind &kind, size_t s, float width)
{
    std::unique_ptr<StrokeRun> run = kind.start(strokes()[s], width);
    StrokeCanvas canvas(strokes()[s], 2 * int(width));
    const auto show = [&](QPainter &painter) { run->paint(painter); };
    canvas.show(show);
    const size_t calls = run->callCount();
    for (size_t k = 0; k < calls; ++k) {
        if (k >= kCallsPerStroke && k + 1 < calls) {
            run->call(k);
            if (k + 2 == calls)
                canvas.show(show);
            continue;
        }
        const QImage before = canvas.image();
        const QRectF reported = run->call(k);
        canvas.show(show);
        const int reach = canvas.reachBeyond(before, reported);
        ASSERT_LE(reach, marginNeeded(kind.name, width))
            << kind.name << ", width " << width << ", stroke " << s << ", call " << k << " of "
            << calls << ": a changed pixel lies " << reach << " pixels beyond the reported "
            << reported.left() << ", " << reported.top() << " to " << reported.right() << ", "
            << reported.bottom();
    }
}
} // namespace

TEST(EngineProperties, EveryChangedPixelLiesInTheReportedRectangle)
{
    for (const RunKind &kind : everyEngineAndMode()) {
        for (size_t s = 0; s < strokes().size(); ++s) {
            for (float width : {kWidth, 40.0f})
                expectChangesInsideReports(kind, s, width);
        }
    }
}

TEST(EngineProperties, TheBodyOutlineCoversEveryPointOfTheFinishedCentreLine)
{
    for (const RunKind &kind : everyEngineAndMode()) {
        if (kind.name == "fix" || kind.name.find(' ') != std::string::npos)
            continue;   // no body outline, or a mode that outlines only the tail
        for (size_t s = 0; s < strokes().size(); ++s) {
            std::unique_ptr<StrokeRun> run = kind.start(strokes()[s], kWidth);
            for (size_t k = 0; k < run->callCount(); ++k)
                run->call(k);
            const QPainterPath body = run->body();
            // The extend engine ends a tap's tail at the end sample, not at the dot's point.
            const RecordedStroke &stroke = strokes()[s];
            auto atStart = [&](const RecordedSample &p) {
                return std::hypot(p.x - stroke[0].x, p.y - stroke[0].y) <= 0.1;
            };
            const bool tap = std::all_of(stroke.begin(), stroke.end(), atStart);
            const size_t covered = run->points().size() - (tap && kind.name == "extend" ? 1 : 0);
            for (size_t i = 0; i < covered; ++i) {
                const OxInkPoint &p = run->points()[i];
                EXPECT_TRUE(body.contains(QPointF(p.x, p.y)))
                    << kind.name << ", stroke " << s << ": point " << i << " of "
                    << run->points().size() << " (" << p.x << ", " << p.y
                    << ") lies outside the outline";
            }
        }
    }
}

// Unusable input fed before a call, at the start, the middle and the end of each stroke, leaves
// the engine as it was: the call returns an empty rectangle, nothing observable changes, and the
// next calls and the end call give what they give without it.
TEST(EngineProperties, UnusableInputLeavesEveryOutputAsItWas)
{
    for (const RunKind &kind : everyEngineAndMode()) {
        for (size_t s = 0; s < strokes().size(); ++s) {
            std::unique_ptr<StrokeRun> run = kind.start(strokes()[s], kWidth);
            const size_t calls = run->callCount();
            size_t done = 0;
            for (size_t next : {size_t(1), calls / 2, calls - 1}) {
                for (; done < next; ++done)
                    run->call(done);
                for (Unusable unusable :
                     {Unusable::kTooClose, Unusable::kNotFinite, Unusable::kWidthNotFinite}) {
                    std::unique_ptr<StrokeRun> clean = run->copy(), fed = run->copy();
                    const std::string where = kind.name + ", stroke " + std::to_string(s)
                                              + ", before call " + std::to_string(next) + ", "
                                              + nameOf(unusable);
                    const Observed was = fed->observe();
                    EXPECT_TRUE(fed->feedUnusable(next, unusable).isEmpty()) << where;
                    EXPECT_EQ(fed->observe().differences(was), "") << where;
                    for (size_t k : callsFrom(next, calls)) {
                        ASSERT_EQ(clean->call(k), fed->call(k)) << where << ", call " << k;
                        ASSERT_EQ(clean->observe().differences(fed->observe()), "")
                            << where << ", call " << k;
                    }
                }
            }
        }
    }
}

// Before its first usable sample an engine has nothing to go on from: a first sample that is
// not finite, or comes with a width that is not, leaves it unstarted, and the calls that would
// continue or end a stroke return an empty rectangle and change nothing.
TEST(EngineProperties, NothingIsDrawnBeforeAUsableFirstSample)
{
    for (const RunKind &kind : everyEngineAndMode()) {
        std::unique_ptr<StrokeRun> run = kind.start(strokes().back(), kWidth);
        const Observed fresh = run->observe();
        for (Unusable unusable : {Unusable::kNotFinite, Unusable::kWidthNotFinite}) {
            EXPECT_TRUE(run->feedUnusable(0, unusable).isEmpty()) << kind.name;
            EXPECT_EQ(run->observe().differences(fresh), "")
                << kind.name << ", " << nameOf(unusable);
        }
        for (size_t k : {size_t(1), run->callCount() - 1}) {
            EXPECT_TRUE(run->call(k).isEmpty()) << kind.name << ", call " << k;
            EXPECT_EQ(run->observe().differences(fresh), "") << kind.name << ", call " << k;
        }
    }
}

TEST(EngineProperties, ACopyFedTheSameCallsGivesTheSameResults)
{
    for (const RunKind &kind : everyEngineAndMode()) {
        for (size_t s = 0; s < strokes().size(); ++s) {
            std::unique_ptr<StrokeRun> original = kind.start(strokes()[s], kWidth);
            const size_t calls = original->callCount();
            for (size_t k = 0; k < calls / 2; ++k)
                original->call(k);
            std::unique_ptr<StrokeRun> copy = original->copy();
            const Observed copied = copy->observe();
            bool first = true;
            for (size_t k : callsFrom(calls / 2, calls)) {
                const QRectF ro = original->call(k);
                // The original's first call after the copy must not reach into the copy.
                if (first) {
                    EXPECT_EQ(copy->observe().differences(copied), "")
                        << kind.name << ", stroke " << s
                        << ": the original's call changed the copy";
                    first = false;
                }
                ASSERT_EQ(ro, copy->call(k)) << kind.name << ", stroke " << s << ", call " << k;
                ASSERT_EQ(original->observe().differences(copy->observe()), "")
                    << kind.name << ", stroke " << s << ", call " << k;
            }
        }
    }
}
