#ifndef QUILLMARK_CFACECALLS_H
#define QUILLMARK_CFACECALLS_H

// The gateway target's calls of the C interface (quillmark_c.h): the pen face, which wraps a
// gateway, and the stroke face, which wraps one engine for one stroke and hands out its shape as
// polygons and as parts. The handles are the script's own, and any call may get a null handle
// or null outputs. Checked after every call:
//   - a pen call reports 1 exactly when it exported, and then its counts add up and its arrays
//     are null exactly when empty;
//   - a refused stroke call reports 0 and a zeroed rectangle; a stroke that has only been handed
//     moderate numbers reports finite rectangles;
//   - reads: counts add up, arrays are null exactly when empty, and at every parts read the
//     host's copy kept from the parts (each run cut to kept, the rest appended) equals a full
//     polygons read, bit for bit.

#include "FuzzBytes.h"
#include "FuzzChecks.h"
#include "quillmark_c.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace cface {

using fuzzbytes::Reader;
using fuzzchecks::isModerate;

constexpr int kMaxBatch = 16;

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

class CFaceCalls
{
public:
    // accumulatedModerate: whether only moderate numbers went into the process-wide rectangle of
    // endSketch3, which the pen face starts and adds to as well.
    CFaceCalls(Reader &in, fuzzchecks::WorkBudget &budget, bool &accumulatedModerate)
        : in(in), budget(budget), accumulatedModerate(accumulatedModerate)
    {
    }
    ~CFaceCalls()
    {
        quillmark_pen_destroy(pen);
        for (StrokeLane &lane : strokes)
            quillmark_stroke_destroy(lane.stroke);
    }
    CFaceCalls(const CFaceCalls &) = delete;
    CFaceCalls &operator=(const CFaceCalls &) = delete;

    void penCall()
    {
        const int op = in.byte() % 11;
        switch (op) {
        case 0:
            quillmark_pen_destroy(pen);
            pen = (in.byte() & 1) ? quillmark_pen_create() : nullptr;
            penPens = fuzzchecks::Pens();
            return;
        case 1: {
            const float f1 = in.number(fuzzbytes::kOther), f2 = in.number(fuzzbytes::kOther);
            const float width = in.number(fuzzbytes::kWidth);
            const int ok = quillmark_pen_set_environment(pen, f1, f2, width, int8_t(in.byte()));
            FUZZ_REQUIRE(pen || ok == 0);
            penPens.engine = fuzzchecks::CallCost();   // perhaps a new engine
            return;
        }
        case 2:
            quillmark_pen_free_stroke(pen);
            penPens.engine = fuzzchecks::CallCost();
            return;
        case 3:
            quillmark_pen_clearup(pen);
            return;
        default:
            return penSketch(op);
        }
    }

    void strokeCall()
    {
        const int op = in.byte() % 12;
        StrokeLane &lane = strokes[in.byte() % 2];
        switch (op) {
        case 0: return create(lane);
        case 1:
            quillmark_stroke_destroy(lane.stroke);
            lane = StrokeLane();
            return;
        case 2:
        case 3:
        case 4:
        case 5: return strokeSample(lane, op);
        case 6:
        case 7:
        case 8: return strokeBatch(lane, op);
        case 9: return replay(lane);
        case 10: return readPolygons(lane);
        default: return readParts(lane);
        }
    }

private:
    struct StrokeLane
    {
        quillmark_stroke *stroke = nullptr;
        fuzzchecks::Pens pens;
        bool moderate = true;
        HostCopy copy;
    };

    Reader &in;
    fuzzchecks::WorkBudget &budget;
    bool &accumulatedModerate;
    quillmark_pen *pen = nullptr;
    fuzzchecks::Pens penPens;
    StrokeLane strokes[2];

    double readStamp()
    {
        switch (in.byte() & 3) {
        case 0: return double(in.wholeNumber());
        case 1: return double(in.number(fuzzbytes::kTime));
        case 2: return 1.7e12 + double(in.wholeNumber());   // epoch milliseconds
        default: return double(in.int64());
        }
    }

    std::vector<float> readPairs(int count)
    {
        std::vector<float> xy(2 * size_t(count));
        for (int i = 0; i < count; ++i) {
            xy[2 * size_t(i)] = in.number(fuzzbytes::kX);
            xy[2 * size_t(i) + 1] = in.number(fuzzbytes::kY);
        }
        return xy;
    }

    // Spends the cost of handing pairs to an engine that goes on from pens; false when it does
    // not fit.
    bool spend(fuzzchecks::Pens &cost, const std::vector<float> &xy)
    {
        for (size_t i = 0; i + 1 < xy.size(); i += 2)
            cost.add(xy[i], xy[i + 1]);
        return budget.spend(cost.dearer());
    }

    void penSketch(int op)
    {
        const bool starts = op == 4, batch = op == 8;
        const std::vector<float> xy = readPairs(batch ? in.byte() % (kMaxBatch + 1) : 1);
        const double stamp = readStamp();
        fuzzchecks::Pens cost = starts ? fuzzchecks::Pens::openingStroke() : penPens.next();
        if (!spend(cost, xy))
            return;
        if (starts || op == 10)
            accumulatedModerate = false;   // the pen face is not followed that far
        quillmark_shape shape;
        std::memset(&shape, 0x5a, sizeof shape);
        quillmark_shape *out = (in.byte() & 0x80) ? nullptr : &shape;
        const float x = xy.empty() ? 0 : xy[0], y = xy.empty() ? 0 : xy[1];
        int ok = 0;
        switch (op) {
        case 4: ok = quillmark_pen_start(pen, x, y, stamp, out); break;
        case 5: ok = quillmark_pen_move(pen, x, y, out); break;
        case 6: ok = quillmark_pen_end(pen, x, y, out); break;
        case 7: ok = quillmark_pen_end_timed(pen, x, y, stamp, out); break;
        case 8:
            ok = quillmark_pen_move_batch(pen, int(xy.size() / 2),
                                          xy.empty() ? nullptr : xy.data(), stamp, out);
            break;
        case 9: ok = quillmark_pen_end_batch(pen, x, y, stamp, out); break;
        default: ok = quillmark_pen_end_batch_accumulated(pen, x, y, stamp, out); break;
        }
        FUZZ_REQUIRE(pen && out ? ok == 0 || ok == 1 : ok == 0);
        if (!ok)
            return;
        // It reached an engine: the pens move with what it took.
        penPens = cost;
        if (op != 4 && op != 5 && op != 8)
            penPens.strokeEnded();
        FUZZ_REQUIRE(shape.path_count >= 0);
        requireArrays(shape.path_count, shape.path_sizes, shape.point_count, shape.coords);
    }

    void create(StrokeLane &lane)
    {
        quillmark_stroke_destroy(lane.stroke);
        lane = StrokeLane();
        const int engine = in.byte() % 8;
        const float width = in.number(fuzzbytes::kWidth);
        lane.stroke = quillmark_stroke_create(engine, width);
        const bool usable = engine >= QUILLMARK_FIX && engine <= QUILLMARK_BRUSH
                            && std::isfinite(width) && width > 0;
        FUZZ_REQUIRE((lane.stroke != nullptr) == usable);
        lane.moderate = isModerate(width);
    }

    // Calls the stroke face with a rectangle whose bits show whether it was written; checks
    // what a refused or a reached call reports.
    template <class Call>
    void sampleCall(StrokeLane &lane, const fuzzchecks::Pens &cost, bool endsStroke, Call call)
    {
        quillmark_rect rect;
        std::memset(&rect, 0x5a, sizeof rect);
        const bool nullRect = in.byte() == 0xff;
        const int ok = call(nullRect ? nullptr : &rect);
        FUZZ_REQUIRE(ok == 0 || ok == 1);
        FUZZ_REQUIRE(lane.stroke || ok == 0);
        if (nullRect)
            return;
        if (!ok) {
            FUZZ_REQUIRE(rect.left == 0 && rect.top == 0 && rect.width == 0 && rect.height == 0);
            return;
        }
        lane.pens = cost;
        if (endsStroke)
            lane.pens.strokeEnded();
        if (lane.moderate)
            FUZZ_REQUIRE(std::isfinite(rect.left) && std::isfinite(rect.top)
                         && std::isfinite(rect.width) && std::isfinite(rect.height));
    }

    void noteSamples(StrokeLane &lane, const std::vector<float> &xy, float pressure)
    {
        for (float v : xy)
            lane.moderate = lane.moderate && (!std::isfinite(v) || isModerate(v));
        lane.moderate = lane.moderate && (!std::isfinite(pressure) || isModerate(pressure));
    }

    void strokeSample(StrokeLane &lane, int op)
    {
        const std::vector<float> xy = readPairs(1);
        const double stamp = readStamp();
        const float pressure = in.number(fuzzbytes::kPressure);
        fuzzchecks::Pens cost = op == 2 ? fuzzchecks::Pens::openingStroke() : lane.pens.next();
        if (!spend(cost, xy))
            return;
        noteSamples(lane, xy, pressure);
        quillmark_stroke *s = lane.stroke;
        sampleCall(lane, cost, op == 4 || op == 5, [&](quillmark_rect *r) {
            switch (op) {
            case 2: return quillmark_stroke_start(s, xy[0], xy[1], stamp, pressure, r);
            case 3: return quillmark_stroke_add(s, xy[0], xy[1], stamp, pressure, r);
            case 4: return quillmark_stroke_end(s, xy[0], xy[1], stamp, pressure, r);
            default: return quillmark_stroke_end_batch(s, xy[0], xy[1], stamp, pressure, r);
            }
        });
    }

    void strokeBatch(StrokeLane &lane, int op)
    {
        const std::vector<float> xy = readPairs(in.byte() % (kMaxBatch + 1));
        const double stamp = readStamp();
        const int count = (in.byte() & 0x80) ? int8_t(in.byte()) : int(xy.size() / 2);
        fuzzchecks::Pens cost = lane.pens.next();
        if (!spend(cost, xy))
            return;
        noteSamples(lane, xy, 0);
        // A count beyond the pairs is left to the host's promise; here it only shrinks.
        const int passed = std::min(count, int(xy.size() / 2));
        const float *pairs = xy.empty() ? nullptr : xy.data();
        quillmark_stroke *s = lane.stroke;
        sampleCall(lane, cost, false, [&](quillmark_rect *r) {
            switch (op) {
            case 6: return quillmark_stroke_add_batch(s, passed, pairs, stamp, r);
            case 7: return quillmark_stroke_add_raw(s, passed, pairs, stamp, r);
            default: return quillmark_stroke_add_fitted(s, passed, pairs, stamp, r);
            }
        });
    }

    void replay(StrokeLane &lane)
    {
        const int count = in.byte() % (kMaxBatch + 1);
        const std::vector<float> xy = readPairs(count);
        std::vector<double> stamps(static_cast<size_t>(count));
        std::vector<float> pressures(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            stamps[size_t(i)] = readStamp();
            pressures[size_t(i)] = in.number(fuzzbytes::kPressure);
        }
        fuzzchecks::Pens cost = fuzzchecks::Pens::openingStroke();
        if (!spend(cost, xy))
            return;
        for (float p : pressures)
            noteSamples(lane, {}, p);
        noteSamples(lane, xy, 0);
        const uint8_t nulls = in.byte();
        quillmark_stroke *s = lane.stroke;
        sampleCall(lane, cost, true, [&](quillmark_rect *r) {
            return quillmark_stroke_replay(s, count, (nulls & 1) || !count ? nullptr : xy.data(),
                                           (nulls & 2) || !count ? nullptr : stamps.data(),
                                           (nulls & 4) || !count ? nullptr : pressures.data(), r);
        });
    }

    void readPolygons(StrokeLane &lane)
    {
        quillmark_polygons whole;
        std::memset(&whole, 0x5a, sizeof whole);
        const int ok = quillmark_stroke_polygons(lane.stroke, &whole);
        FUZZ_REQUIRE(ok == 0 || ok == 1);
        requireArrays(whole.count, whole.sizes, whole.point_count, whole.xy);
        FUZZ_REQUIRE(whole.tail_count >= 0 && whole.tail_count <= whole.count);
        if (ok && lane.moderate)
            for (int i = 0; i < 2 * whole.point_count; ++i)
                FUZZ_REQUIRE(std::isfinite(whole.xy[i]));
    }

    void readParts(StrokeLane &lane)
    {
        quillmark_parts parts;
        std::memset(&parts, 0x5a, sizeof parts);
        if (!quillmark_stroke_parts(lane.stroke, &parts)) {
            FUZZ_REQUIRE(parts.polygon_count == 0 && parts.left.count == 0
                         && parts.polygons == nullptr);
            return;
        }
        lane.copy.follow(parts);
        quillmark_polygons whole;
        FUZZ_REQUIRE(quillmark_stroke_polygons(lane.stroke, &whole) == 1);
        lane.copy.requireEquals(whole);
    }
};

} // namespace cface

#endif
