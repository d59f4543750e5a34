#ifndef QUILLMARK_CSTROKECHECKS_H
#define QUILLMARK_CSTROKECHECKS_H

// What the gateway target holds the C stroke face to, call by call (see CFaceCalls.h): the arrays
// of its reads, a host's copy kept from the parts, the one reason a refused call gives, and
// where predicted ink may lie.

#include "FuzzChecks.h"
#include "quillmark_c.h"

#include <QRectF>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace cface {

inline bool sameFloats(const float *a, const float *b, size_t n)
{
    return n == 0 || std::memcmp(a, b, n * sizeof(float)) == 0;
}

// The arrays of a read: sizes[count] adds up to points, xy[2 * points]; each null when empty.
inline void requireArrays(int count, const int *sizes, int points, const float *xy)
{
    FUZZ_REQUIRE(count >= 0 && points >= 0);
    FUZZ_REQUIRE((sizes == nullptr) == (count == 0) && (xy == nullptr) == (points == 0));
    long long sum = 0;
    for (int i = 0; i < count; ++i) {
        FUZZ_REQUIRE(sizes[i] >= 0);
        sum += sizes[i];
    }
    FUZZ_REQUIRE(sum == points);
}

// Two reads of the whole shape hand out the same polygons, bit for bit.
inline void requireSamePolygons(const quillmark_polygons &a, const quillmark_polygons &b)
{
    FUZZ_REQUIRE(a.count == b.count && a.point_count == b.point_count
                 && a.tail_count == b.tail_count && a.closed == b.closed);
    FUZZ_REQUIRE(a.count == 0 || std::equal(a.sizes, a.sizes + a.count, b.sizes));
    FUZZ_REQUIRE(sameFloats(a.xy, b.xy, 2 * size_t(a.point_count)));
}

// A host's copy of a stroke's shape, kept up to date from parts reads.
class HostCopy
{
public:
    void follow(const quillmark_parts &parts)
    {
        const quillmark_run *body[4] = {&parts.start_cap, &parts.left, &parts.end_cap,
                                        &parts.right};
        for (int i = 0; i < 4; ++i)
            followRun(runs[i], *body[i]);
        FUZZ_REQUIRE(parts.polygon_count >= 0 && parts.tail_count >= 0
                     && parts.tail_count <= parts.polygon_count);
        // Polygons beyond the count are gone: a later one in their place starts from nothing.
        polygons.resize(size_t(parts.polygon_count));
        for (int i = 0; i < parts.polygon_count; ++i)
            followRun(polygons[size_t(i)], parts.polygons[i]);
    }

    // The copy joined (the body's runs, the right side walked backwards, then the polygons)
    // equals the full read.
    void requireEquals(const quillmark_polygons &whole) const
    {
        std::vector<float> xy;
        std::vector<int> sizes;
        for (int i = 0; i < 4; ++i) {
            const std::vector<float> &run = runs[i];
            if (i < 3) {
                xy.insert(xy.end(), run.begin(), run.end());
                continue;
            }
            for (size_t j = run.size(); j >= 2; j -= 2)
                xy.insert(xy.end(), run.begin() + long(j) - 2, run.begin() + long(j));
        }
        if (!xy.empty())
            sizes.push_back(int(xy.size() / 2));
        for (const std::vector<float> &polygon : polygons) {
            sizes.push_back(int(polygon.size() / 2));
            xy.insert(xy.end(), polygon.begin(), polygon.end());
        }
        FUZZ_REQUIRE(whole.count == int(sizes.size())
                     && 2 * size_t(whole.point_count) == xy.size());
        FUZZ_REQUIRE(std::equal(sizes.begin(), sizes.end(), whole.sizes));
        FUZZ_REQUIRE(sameFloats(xy.data(), whole.xy, xy.size()));
    }

private:
    std::vector<float> runs[4];   // start cap, left, end cap, right
    std::vector<std::vector<float>> polygons;

    static void followRun(std::vector<float> &copy, const quillmark_run &run)
    {
        FUZZ_REQUIRE(run.count >= 0 && run.kept >= 0 && run.kept <= run.count);
        FUZZ_REQUIRE(2 * size_t(run.kept) <= copy.size());
        FUZZ_REQUIRE((run.xy == nullptr) == (run.count == 0));
        // What the run says it kept is what the copy holds.
        FUZZ_REQUIRE(sameFloats(copy.data(), run.xy, 2 * size_t(run.kept)));
        copy.resize(2 * size_t(run.kept));
        copy.insert(copy.end(), run.xy + 2 * run.kept, run.xy + 2 * run.count);
    }
};

// The predicted ink of a parts read: whole runs (kept 0), null exactly when empty; returns the
// box of their points (empty when there are none), and whether they are all finite.
inline QRectF predictedInkBox(const quillmark_parts &parts, bool &finite)
{
    FUZZ_REQUIRE(parts.predicted_count >= 0);
    FUZZ_REQUIRE((parts.predicted == nullptr) == (parts.predicted_count == 0));
    finite = true;
    double box[4] = {INFINITY, INFINITY, -INFINITY, -INFINITY};
    for (int i = 0; i < parts.predicted_count; ++i) {
        const quillmark_run &run = parts.predicted[i];
        FUZZ_REQUIRE(run.count > 0 && run.kept == 0 && run.xy != nullptr);
        for (int j = 0; j < run.count; ++j) {
            const double x = run.xy[2 * j], y = run.xy[2 * j + 1];
            finite = finite && std::isfinite(x) && std::isfinite(y);
            box[0] = std::min(box[0], x);
            box[1] = std::min(box[1], y);
            box[2] = std::max(box[2], x);
            box[3] = std::max(box[3], y);
        }
    }
    if (parts.predicted_count == 0 || !finite)
        return QRectF();
    return QRectF(QPointF(box[0], box[1]), QPointF(box[2], box[3]));
}

// Whether rect, grown by 0.5 as the engine target grows its rectangles (and by the float
// rounding of its four numbers), holds box.
inline bool covers(const quillmark_rect &rect, const QRectF &box)
{
    const double left = rect.left, top = rect.top;
    const double right = left + double(rect.width), bottom = top + double(rect.height);
    const double slackX = 0.5 + 1e-6 * (std::fabs(left) + std::fabs(rect.width));
    const double slackY = 0.5 + 1e-6 * (std::fabs(top) + std::fabs(rect.height));
    return box.left() >= left - slackX && box.top() >= top - slackY
           && box.right() <= right + slackX && box.bottom() <= bottom + slackY;
}

// What the calls so far pin down about a stroke's phase, and so the refusals its next call may
// give: the face checks the engine's ways, then the points, then the phase (quillmark_c.h).
class StrokeHistory
{
public:
    // The reasons a call may be refused with, as bits (1 << reason), and whether it may reach.
    struct Expected
    {
        unsigned reasons = 0;
        bool mayReach = true;
    };

    static constexpr unsigned bit(int reason) { return 1u << unsigned(reason); }

    explicit StrokeHistory(int feeds = 0) : feeds(feeds) {}

    // A sample call of the way feed (0: start, which every engine takes).
    Expected sampleCall(int feed, bool hasPoints, bool opens) const
    {
        if (feed && !(feeds & feed))
            return {bit(QUILLMARK_REFUSED_ENGINE), false};
        if (!hasPoints)
            return {bit(QUILLMARK_REFUSED_NO_POINTS), false};
        if (!opened)
            return opens ? Expected{0, true} : Expected{bit(QUILLMARK_REFUSED_NOT_STARTED), false};
        if (finished)
            return {bit(QUILLMARK_REFUSED_FINISHED), false};
        if (opens)   // a start whose sample was dropped may come again
            return {bit(QUILLMARK_REFUSED_STARTED) | bit(QUILLMARK_REFUSED_FINISHED), !started};
        return {bit(QUILLMARK_REFUSED_OTHER_WAY) | bit(QUILLMARK_REFUSED_FINISHED)
                    | (started ? 0 : bit(QUILLMARK_REFUSED_NOT_STARTED)),
                true};
    }

    // A prediction: the stroke's phase first, then the call's own reason (when usable is false,
    // the call is refused with it at the latest).
    Expected prediction(int ownReason, bool usable) const
    {
        if (!opened)
            return {bit(QUILLMARK_REFUSED_NOT_STARTED), false};
        if (finished)
            return {bit(QUILLMARK_REFUSED_FINISHED), false};
        const unsigned phase = bit(QUILLMARK_REFUSED_OTHER_WAY) | bit(QUILLMARK_REFUSED_FINISHED)
                               | (started ? 0 : bit(QUILLMARK_REFUSED_NOT_STARTED));
        return {phase | bit(ownReason), usable};
    }

    // A read with an output: refused only before the stroke has started.
    Expected read() const
    {
        if (!opened)
            return {bit(QUILLMARK_REFUSED_NOT_STARTED), false};
        return {started ? 0 : bit(QUILLMARK_REFUSED_NOT_STARTED), true};
    }

    // Checks what a call reported against what was expected of it, and learns from it.
    void require(const Expected &e, int ok, int refusal, bool opens, bool finishes)
    {
        FUZZ_REQUIRE(ok == 0 || ok == 1);
        if (ok) {
            FUZZ_REQUIRE(e.mayReach && refusal == QUILLMARK_REFUSED_NONE);
        } else {
            FUZZ_REQUIRE(refusal > QUILLMARK_REFUSED_NONE && refusal < 32);
            if (!(e.reasons & bit(refusal)))
                std::fprintf(stderr, "refused with %d; the reasons it may give: %#x\n", refusal,
                             e.reasons);
            FUZZ_REQUIRE((e.reasons & bit(refusal)) != 0);
        }
        if (ok && opens)
            opened = true;
        // A call that reached without opening found the stroke started; a replay finishes it.
        if ((ok && !opens) || refusal == QUILLMARK_REFUSED_OTHER_WAY)
            started = true;
        if ((ok && finishes) || refusal == QUILLMARK_REFUSED_FINISHED)
            opened = started = finished = true;
    }

private:
    int feeds;
    bool opened = false;    // a start or replay reached it (a dropped first sample leaves it fresh)
    bool started = false;   // it has left its fresh phase for good
    bool finished = false;  // it is finished for good
};

} // namespace cface

#endif
