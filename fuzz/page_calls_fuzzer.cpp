// Reads the input as a sequence of calls on a page of strokes (adds of short strokes with any
// engine, disc queries, partial and whole-stroke erases, lassos, moves, undo, redo, groups) and
// checks what the page promises:
//   - a refused call changes nothing: the same keys, the same polygons, bit for bit;
//   - a disc query finds exactly the strokes that a look at every edge and every ring finds;
//   - after a partial erase of radius r, nothing is left within r of the eraser's path (a query
//     with a radius a little smaller finds nothing);
//   - every point of the page's polygons that an edit took away or brought lies in the
//     rectangle the edit reports;
//   - undo returns the page to the state before the step it takes back, and redo to the state
//     after it, bit for bit, under the same keys (steps made in a group count as one);
//   - a stroke's record, added to another page, gives the same polygons.

#include "FuzzBytes.h"
#include "FuzzChecks.h"
#include "PageStates.h"

#include "OxStrokePage.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace fuzzbytes;
using fuzzchecks::isModerate;
using pagestates::Ink;
using pagestates::Snapshot;

namespace {

using Key = OxStrokePage::Key;
using Status = OxStrokePage::Status;

// The work budget of an input: a few short strokes and a few dozen calls.
constexpr int kMaxCalls = 40;
constexpr int kMaxStrokes = 6;
constexpr int kMaxSamples = 16;
constexpr double kMaxTravel = 2000;
constexpr double kMaxRadius = 500;
// Coordinates the page keeps on its grid are rounded to 1/1024; a query's radius this much
// smaller than the eraser's stays clear of the cut's rounding and the eraser's chords.
constexpr double kCutClearance = 0.02;
constexpr double kPointSlack = 1e-3;

Snapshot snapshotOf(const OxStrokePage &page)
{
    Snapshot s;
    s.keys = page.keys();
    for (Key key : s.keys) {
        page.polygons(key, s.inks[key].sizes, s.inks[key].xy);
        s.colours[key] = page.rgba(key);
    }
    return s;
}

double squaredDistance(double px, double py, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax, dy = by - ay, length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / length2, 0.0,
                                              1.0)
                                 : 0.0;
    const double ex = ax + t * dx - px, ey = ay + t * dy - py;
    return ex * ex + ey * ey;
}

// How a point lies to ink: its distance to the nearest edge and whether it is inside (nonzero
// winding).
struct Placement
{
    double distance = INFINITY;
    bool inside = false;
};

Placement placementOf(const Ink &ink, QPointF c)
{
    Placement out;
    int winding = 0;
    size_t at = 0;
    for (int size : ink.sizes) {
        for (int i = 0; i < size; ++i) {
            const size_t a = at + 2 * size_t(i), b = at + 2 * size_t((i + 1) % size);
            const double ax = ink.xy[a], ay = ink.xy[a + 1], bx = ink.xy[b], by = ink.xy[b + 1];
            out.distance = std::min(out.distance,
                                    std::sqrt(squaredDistance(c.x(), c.y(), ax, ay, bx, by)));
            const double side = (bx - ax) * (c.y() - ay) - (by - ay) * (c.x() - ax);
            if (ay <= c.y() && by > c.y() && side > 0)
                ++winding;
            else if (ay > c.y() && by <= c.y() && side < 0)
                --winding;
        }
        at += 2 * size_t(size);
    }
    out.inside = winding != 0;
    return out;
}

class PageScript
{
public:
    explicit PageScript(Reader &in) : in(in) {}

    void run()
    {
        for (int call = 0; call < kMaxCalls && !in.atEnd(); ++call)
            step(PageOp(in.byte() % kPageOpCount));
    }

private:
    Reader &in;
    OxStrokePage page;
    int strokes = 0;
    bool moderate = true;  // every position and radius so far moderate
    pagestates::Steps steps;

    QPointF point()
    {
        const float x = in.number(kX), y = in.number(kY);
        return QPointF(x, y);
    }

    std::vector<QPointF> points(int most)
    {
        std::vector<QPointF> out(size_t(in.byte() % (most + 1)));
        for (QPointF &p : out)
            p = point();
        return out;
    }

    Key anyKey()
    {
        const std::vector<Key> keys = page.keys();
        const uint8_t pick = in.byte();
        return keys.empty() || pick == 255 ? Key(pick) : keys[pick % keys.size()];
    }

    // Checks what every call promises about the page's state, before and after.
    void after(Status status, const Snapshot &before, const OxStrokePage::Change &change)
    {
        const Snapshot now = snapshotOf(page);
        if (status != OxStrokePage::kDone) {
            FUZZ_REQUIRE(now == before);
            FUZZ_REQUIRE(change.area.isNull() && change.removed.empty() && change.added.empty());
            return;
        }
        FUZZ_REQUIRE(pagestates::changesWithin(before, now, change.area, kPointSlack));
        steps.edited(before, now);
    }

    void add()
    {
        OxStrokeRecord record;
        record.engine = in.byte() % 8;
        record.width = in.number(kWidth);
        const int count = 1 + in.byte() % kMaxSamples;
        double travel = 0;
        qint32 time = 0;
        for (int i = 0; i < count; ++i) {
            const QPointF p = point();
            time += in.byte();
            record.samples.push_back({float(p.x()), float(p.y()), time, in.number(kPressure)});
            if (i > 0) {
                const OxRecordedSample &a = record.samples[size_t(i) - 1];
                travel += std::hypot(double(p.x()) - a.x, double(p.y()) - a.y);
            }
            moderate = moderate && isModerate(p.x()) && isModerate(p.y());
            OxRecordedStep::Call call = i == 0 ? OxRecordedStep::kStart : OxRecordedStep::kAdd;
            if (i > 0 && i + 1 == count)
                call = OxRecordedStep::kEnd;
            record.steps.push_back({call, 1});
        }
        if (strokes >= kMaxStrokes || !(travel <= kMaxTravel))
            return;
        ++strokes;
        const Snapshot before = snapshotOf(page);
        Key key = 0;
        OxStrokePage::Change change;
        const Status status = page.add(record, key, &change);
        FUZZ_REQUIRE((status == OxStrokePage::kDone) == (key != 0));
        after(status, before, change);
    }

    void hit()
    {
        const QPointF c = point();
        const double radius = in.number(kOther);
        std::vector<Key> found;
        const Snapshot before = snapshotOf(page);
        const Status status = page.hit(c, radius, found);
        after(status, before, OxStrokePage::Change());
        if (status != OxStrokePage::kDone || !isModerate(c.x()) || !isModerate(c.y())
            || !(radius < kMaxRadius))
            return;
        // The page measures a centre line as such and the polygons are its stroked outline,
        // whose chords lie within 0.01 of the round ink; polygons are floats of the page's
        // grid. A stroke clearly touched must be found, one clearly apart must not.
        const double slack = 0.02 + 1e-6 * (std::fabs(c.x()) + std::fabs(c.y()) + radius);
        for (Key key : before.keys) {
            const Placement p = placementOf(before.inks.at(key), c);
            const bool clearlyTouched = p.distance <= radius - slack
                                        || (p.inside && p.distance > slack);
            const bool clearlyApart = p.distance > radius + slack && !p.inside;
            const bool isFound = std::count(found.begin(), found.end(), key) > 0;
            FUZZ_REQUIRE(!clearlyTouched || isFound);
            FUZZ_REQUIRE(!clearlyApart || !isFound);
        }
    }

    void erase(bool wholeStrokes)
    {
        const std::vector<QPointF> path = points(4);
        const double radius = in.number(kOther);
        if (radius > kMaxRadius)
            return;
        const Snapshot before = snapshotOf(page);
        OxStrokePage::Change change;
        const Status status = wholeStrokes ? page.eraseStrokes(path, radius, &change)
                                           : page.erase(path, radius, &change);
        after(status, before, change);
        if (status != OxStrokePage::kDone || radius <= 2 * kCutClearance)
            return;
        std::vector<Key> left;
        page.hitSwept(path, radius - kCutClearance, left);
        if (wholeStrokes) {
            FUZZ_REQUIRE(left.empty());
        } else {
            FUZZ_REQUIRE(left.empty() || !moderate);
        }
    }

    void lasso()
    {
        const std::vector<QPointF> polygon = points(12);
        std::vector<OxStrokePage::Selected> selected;
        const Snapshot before = snapshotOf(page);
        const Status status = page.lasso(polygon, selected);
        after(status, before, OxStrokePage::Change());
        for (const OxStrokePage::Selected &s : selected)
            FUZZ_REQUIRE(page.contains(s.key) && s.fraction > 0 && s.fraction <= 1);
    }

    void move()
    {
        std::vector<Key> keys{anyKey()};
        if (in.byte() & 1)
            keys.push_back(anyKey());
        const QPointF offset = point();
        const Snapshot before = snapshotOf(page);
        OxStrokePage::Change change;
        after(page.move(keys, offset, &change), before, change);
    }

    void undoOrRedo(bool undo)
    {
        const Snapshot before = snapshotOf(page);
        OxStrokePage::Change change;
        const Status status = undo ? page.undo(&change) : page.redo(&change);
        const Snapshot *target = steps.target(undo);
        FUZZ_REQUIRE((status == OxStrokePage::kDone) == (target != nullptr));
        if (status != OxStrokePage::kDone) {
            FUZZ_REQUIRE(snapshotOf(page) == before);
            return;
        }
        FUZZ_REQUIRE(snapshotOf(page) == *target);
        steps.took(undo, before);
    }

    void roundTrip()
    {
        const Key key = anyKey();
        OxStrokeRecord record;
        if (!page.record(key, record))
            return;
        OxStrokePage other;
        Key again = 0;
        FUZZ_REQUIRE(other.add(record, again) == OxStrokePage::kDone);
        Ink a, b;
        page.polygons(key, a.sizes, a.xy);
        other.polygons(again, b.sizes, b.xy);
        FUZZ_REQUIRE(a == b);
    }

    void step(PageOp op)
    {
        switch (op) {
        case kPageAdd:
            add();
            break;
        case kPageHit:
            hit();
            break;
        case kPageErase:
        case kPageEraseStrokes:
            erase(op == kPageEraseStrokes);
            break;
        case kPageLasso:
            lasso();
            break;
        case kPageMove:
            move();
            break;
        case kPageUndo:
        case kPageRedo:
            undoOrRedo(op == kPageUndo);
            break;
        case kPageBeginGroup:
            page.beginGroup();
            steps.beginGroup();
            break;
        case kPageEndGroup:
            page.endGroup();
            steps.endGroup();
            break;
        case kPageRecordRoundTrip:
            roundTrip();
            break;
        case kPageOpCount:
            break;
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzchecks::silenceQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Reader in(data, size);
    PageScript(in).run();
    return 0;
}
