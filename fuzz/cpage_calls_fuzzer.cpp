// Reads the input as a sequence of calls of the C page face (quillmark_page.h) on two pages and
// on none (NULL): strokes drawn through the C stroke face (ended, left open, replayed) and added
// in any colour, the key reads, colours and polygons, disc, swept and lasso queries, erases,
// moves, undo, redo, groups, the page written to bytes and to a file and loaded back (its own
// bytes, the other page's, damaged ones, the other page's with its keys moved up, the input's,
// also as a file), the refusal texts. Numbers may be NaN, infinite or huge, keys no page's,
// counts negative, outputs NULL where the header allows it.
// Checked at every call:
//   - a call reports 1 exactly when its refusal is none, and is refused for a reason its
//     arguments give (where they give one, it is refused); memory never runs out here, so that
//     reason is never given;
//   - a refused call sets its outputs to 0 and changes nothing a host sees: the keys, colours
//     and polygons of the page, bit for bit, its undo steps, and the arrays handed out before;
//   - an array the host holds reads the same, to the bit, until the page's next call of its kind
//     or its end, whatever else is called on this page or the other (CPageHeld.h);
//   - keys are unique whole numbers from 1 to 2^53, and a key the page makes (an add, the pieces
//     of a cut) is none it had since it was made or loaded;
//   - queries find keys of the page in drawing order; a swept query of one position finds what
//     the disc there finds; erase_strokes removes exactly what a swept query found just before;
//     keys_in lists every stroke with a point inside the area;
//   - every point an edit took away or brought lies in the rectangle it reports;
//   - undo and redo reach the states before and after each step (steps in a group count as one)
//     and can_undo and can_redo say whether they will;
//   - to_bytes and save, loaded onto a new page, give the same page and the same bytes again; a
//     load of them gives the page as it was written; a refused load says why in
//     quillmark_page_error, a file's failure starting with its path; a page with its keys moved
//     up loads exactly when its next key is at most 2^52.

#include "CPageHeld.h"
#include "CStrokeChecks.h"
#include "FuzzBytes.h"
#include "FuzzChecks.h"
#include "OxPageFile.h"
#include "PageBytes.h"
#include "PageStates.h"

#include "quillmark_page.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

using namespace fuzzbytes;
using cpage::Held;
using pagestates::Key;
using pagestates::Snapshot;

namespace {

// The work budget of an input: a few short strokes, added a few times, and a few dozen calls.
constexpr int kMaxCalls = 48;
constexpr int kMaxSamples = 64;
constexpr double kMaxTravel = 2000;
constexpr int kMaxStrokeSamples = 16;
constexpr int kMaxAdds = 8;
constexpr double kMaxRadius = 500;
constexpr int kMaxLoadedBytes = 200;
// A load replays every stroke of the page it reads: the calls that load (a load, and the check
// that what was written loads back) are a budget of their own.
constexpr int kMaxLoads = 8;
constexpr double kLargestKey = 9007199254740992.0;   // 2^53
constexpr Key kLargestNextKey = Key(1) << 52;         // of a page the face loads

constexpr unsigned bit(int reason) { return 1u << unsigned(reason); }

// The reasons a call may be refused with: those its arguments give (it must be refused then),
// and those only the page's contents decide.
struct Reasons
{
    unsigned must = 0, may = 0;
    Reasons &when(bool holds, int reason)
    {
        must |= holds ? bit(reason) : 0;
        may |= bit(reason);
        return *this;
    }
    Reasons &maybe(int reason)
    {
        may |= bit(reason);
        return *this;
    }
};

bool isRadius(double r) { return std::isfinite(r) && r > 0; }
bool isZero(const quillmark_rect &r)
{
    return r.left == 0 && r.top == 0 && r.width == 0 && r.height == 0;
}

// Whether found lists keys of the page, each once, in drawing order.
bool inDrawingOrder(const std::vector<Key> &found, const std::vector<Key> &keys)
{
    auto at = keys.begin();
    for (Key key : found) {
        at = std::find(at, keys.end(), key);
        if (at == keys.end())
            return false;
        ++at;
    }
    return true;
}

// The keys of an array handed out, each a whole number from 1 to 2^53 and unique.
std::vector<Key> keysOf(int count, const quillmark_key *keys)
{
    FUZZ_REQUIRE(count >= 0 && (keys == nullptr) == (count == 0));
    std::vector<Key> out;
    for (int i = 0; i < count; ++i) {
        const double k = keys[i];
        FUZZ_REQUIRE(k >= 1 && k <= kLargestKey && std::floor(k) == k);
        out.push_back(Key(k));
    }
    std::vector<Key> sorted = out;
    std::sort(sorted.begin(), sorted.end());
    FUZZ_REQUIRE(std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end());
    return out;
}

// The page's state as a host reads it, through the face; the reads hand out keys and
// polygons, which the host then holds.
Snapshot stateOf(quillmark_page *page, Held &held)
{
    Snapshot s;
    quillmark_keys keys;
    FUZZ_REQUIRE(quillmark_page_keys(page, &keys) == 1);
    s.keys = keysOf(keys.count, keys.keys);
    held.holdKeys(keys);
    for (Key key : s.keys) {
        quillmark_polygons p;
        FUZZ_REQUIRE(quillmark_page_polygons(page, quillmark_key(key), &p) == 1);
        cface::requireArrays(p.count, p.sizes, p.point_count, p.xy);
        FUZZ_REQUIRE(p.tail_count == 0 && p.closed == 1);
        held.holdPolygons(p);
        pagestates::Ink &ink = s.inks[key];
        ink.sizes.assign(p.sizes, p.sizes + p.count);
        ink.xy.assign(p.xy, p.xy + 2 * p.point_count);
        unsigned long rgba = 0;
        FUZZ_REQUIRE(quillmark_page_colour(page, quillmark_key(key), &rgba) == 1);
        FUZZ_REQUIRE(rgba <= 0xffffffffUL);
        s.colours[key] = quint32(rgba);
    }
    return s;
}

std::string &filePath()
{
    static std::string path;
    return path;
}

// A page written out, and what it was then.
struct Written
{
    bool valid = false;
    QByteArray bytes;
    Snapshot state;
    std::set<Key> used;
};

struct Lane
{
    quillmark_page *page = nullptr;
    pagestates::Steps steps;
    std::set<Key> used;   // every key the page had since it was made or loaded
    Held held;
    Written written;      // its last to_bytes
    // The bytes of that to_bytes as the page handed them out (valid while written is).
    const unsigned char *handedBytes = nullptr;
};

struct StrokeSlot
{
    quillmark_stroke *stroke = nullptr;
    bool open = false;   // left without its end, or its end dropped
};

class CPageScript
{
public:
    explicit CPageScript(Reader &in) : in(in)
    {
        std::remove(filePath().c_str());
        for (Lane &lane : lanes)
            renew(lane);
    }
    ~CPageScript()
    {
        for (Lane &lane : lanes)
            quillmark_page_destroy(lane.page);
        for (StrokeSlot &slot : strokeSlots)
            quillmark_stroke_destroy(slot.stroke);
    }
    CPageScript(const CPageScript &) = delete;
    CPageScript &operator=(const CPageScript &) = delete;

    void run()
    {
        for (int call = 0; call < kMaxCalls && !in.atEnd(); ++call)
            step();
    }

private:
    Reader &in;
    Lane lanes[2];
    StrokeSlot strokeSlots[2];
    fuzzchecks::WorkBudget budget{kMaxSamples, kMaxTravel};
    int adds = 0;
    int loads = 0;
    Written file;            // what the file holds, when a save wrote it
    bool fileThere = false;

    void renew(Lane &lane)
    {
        quillmark_page_destroy(lane.page);
        lane = Lane();
        lane.page = quillmark_page_create();
        FUZZ_REQUIRE(lane.page != nullptr);
    }

    static Snapshot snapshotOf(Lane &lane) { return stateOf(lane.page, lane.held); }

    // Checks what a call on page (NULL: none) reported, and the arrays the host holds (a call
    // that hands out an array of a kind must have it held first: the one before is gone).
    void outcome(quillmark_page *page, int ok, const Reasons &reasons, bool storage = false)
    {
        FUZZ_REQUIRE(ok == 0 || ok == 1);
        for (const Lane &lane : lanes)
            lane.held.require();
        if (!page) {
            FUZZ_REQUIRE(ok == 0);
            return;
        }
        const int refusal = quillmark_page_refusal(page);
        FUZZ_REQUIRE((ok == 1) == (refusal == QUILLMARK_PAGE_REFUSED_NONE));
        if (!storage || ok)
            FUZZ_REQUIRE(quillmark_page_error(page)[0] == '\0');
        if (ok) {
            FUZZ_REQUIRE(reasons.must == 0);
            return;
        }
        if (!(reasons.may & bit(refusal)))
            std::fprintf(stderr, "refused with %d (%s); the reasons it may give: %#x\n", refusal,
                         quillmark_page_refusal_text(refusal), reasons.may);
        FUZZ_REQUIRE(refusal > 0 && refusal < 32 && (reasons.may & bit(refusal)));
        FUZZ_REQUIRE(std::strcmp(quillmark_page_refusal_text(refusal), "unknown reason") != 0);
    }

    void requireSteps(const Lane &lane)
    {
        FUZZ_REQUIRE(quillmark_page_can_undo(lane.page) == (lane.steps.target(true) ? 1 : 0));
        FUZZ_REQUIRE(quillmark_page_can_redo(lane.page) == (lane.steps.target(false) ? 1 : 0));
    }

    // After an edit (or an undo or redo): refused, it changed nothing and zeroed its rectangle;
    // done, every point it took away or brought lies in its rectangle. fresh: the keys it
    // brought are new ones. Returns the state now.
    Snapshot edited(Lane &lane, const Snapshot &before, int ok, const quillmark_rect *changed,
                    bool fresh)
    {
        const Snapshot now = snapshotOf(lane);
        if (!ok) {
            FUZZ_REQUIRE(now == before && (!changed || isZero(*changed)));
            requireSteps(lane);
            return now;
        }
        if (changed) {
            const double slack = 1e-3 + 1e-6 * (std::fabs(changed->left) + std::fabs(changed->top)
                                                + double(changed->width) + changed->height);
            const QRectF area(changed->left, changed->top, changed->width, changed->height);
            FUZZ_REQUIRE(pagestates::changesWithin(before, now, area, slack));
        }
        for (Key key : now.keys) {
            const bool brought = std::count(before.keys.begin(), before.keys.end(), key) == 0;
            FUZZ_REQUIRE(!(fresh && brought) || lane.used.count(key) == 0);
            lane.used.insert(key);
        }
        return now;
    }

    Lane *pickLane()
    {
        const uint8_t b = in.byte();
        return b == 0xff ? nullptr : &lanes[b % 2];
    }
    static quillmark_page *pageOf(Lane *lane) { return lane ? lane->page : nullptr; }

    // The output or NULL, by the next bit of the input.
    template <class T>
    T *maybeNull(T &out)
    {
        std::memset(&out, 0x5a, sizeof out);
        return (in.byte() & 1) ? nullptr : &out;
    }

    // A key of the page, or one of no page's.
    quillmark_key pickKey(const Snapshot &s)
    {
        const uint8_t pick = in.byte();
        if (pick < 0xe0 && !s.keys.empty())
            return quillmark_key(s.keys[pick % s.keys.size()]);
        static const double odd[] = {
            0, -1, 0.5, 1.5, -0.0, std::numeric_limits<double>::quiet_NaN(), INFINITY,
            -INFINITY, kLargestKey, kLargestKey + 2, 1e300, 4.9e-324, 1, 2, 3, 1 + 1e-15};
        return odd[pick % 16];
    }
    static bool knows(const Snapshot &s, quillmark_key key)
    {
        return key >= 1 && key <= kLargestKey && std::floor(key) == key
               && std::count(s.keys.begin(), s.keys.end(), Key(key)) > 0;
    }

    // Points as a host hands them over: count and array as given, the count perhaps below 0 or
    // the array NULL (bit 7 of the shape byte: a negative count; bit 6: no array).
    struct Points
    {
        std::vector<float> xy;
        int count = 0;
        const float *array() const { return noArray ? nullptr : xy.data(); }
        bool noArray = false;
        bool usable() const
        {
            if (count < 1 || noArray)
                return false;
            for (float v : xy)
                if (!std::isfinite(v))
                    return false;
            return true;
        }
    };
    Points points(int most)
    {
        Points p;
        const int n = in.byte() % (most + 1);
        for (int i = 0; i < n; ++i) {
            p.xy.push_back(in.number(kX));
            p.xy.push_back(in.number(kY));
        }
        const uint8_t shape = in.byte();
        p.count = (shape & 0x80) ? int8_t(shape) : n;
        p.noArray = (shape & 0x40) || n == 0;
        if (p.count > n)
            p.count = n;
        return p;
    }

    void step()
    {
        const uint8_t op = in.byte() % kCPageOpCount;
        if (op == kCPageDraw)
            return draw(strokeSlots[in.byte() % 2]);
        Lane *lane = pickLane();
        switch (op) {
        case kCPageAdd: return add(lane);
        case kCPageKeys: return readKeys(lane);
        case kCPageKeysIn: return keysIn(lane);
        case kCPageColour: return colour(lane);
        case kCPagePolygons: return polygons(lane);
        case kCPageHit: return hit(lane);
        case kCPageHitSwept: return hitSwept(lane);
        case kCPageLasso: return lasso(lane);
        case kCPageErase: return erase(lane);
        case kCPageEraseStrokes: return eraseStrokes(lane);
        case kCPageMove: return move(lane);
        case kCPageUndo:
        case kCPageRedo: return undoOrRedo(lane, op == kCPageUndo);
        case kCPageBeginGroup:
        case kCPageEndGroup: return group(lane, op == kCPageBeginGroup);
        case kCPageToBytes: return toBytes(lane);
        case kCPageFromBytes: return fromBytes(lane);
        case kCPageFile: return fileCall(lane);
        case kCPageRecreate:
            if (lane)
                renew(*lane);
            return;
        default: return texts();
        }
    }

    // A stroke drawn through the C stroke face: ended, left open, replayed, or ended with a last
    // sample that is dropped (which leaves it open).
    void draw(StrokeSlot &slot)
    {
        const int engine = in.byte() % 8;   // 0 and 7 name no engine
        const float width = in.number(kWidth);
        const uint8_t way = in.byte() % 4;
        const int count = 1 + in.byte() % kMaxStrokeSamples;
        std::vector<float> xy, pressures;
        std::vector<double> stamps;
        fuzzchecks::Pens cost = fuzzchecks::Pens::openingStroke();
        double t = 0;
        for (int i = 0; i < count; ++i) {
            xy.push_back(in.number(kX));
            xy.push_back(in.number(kY));
            t += in.byte();
            stamps.push_back(t);
            pressures.push_back(in.number(kPressure));
            cost.add(xy[xy.size() - 2], xy.back());
        }
        if (!budget.spend(cost.dearer()))
            return;
        quillmark_stroke_destroy(slot.stroke);
        slot = StrokeSlot();
        slot.stroke = quillmark_stroke_create(engine, width);
        if (!slot.stroke)
            return;
        if (way == 2) {
            quillmark_stroke_replay(slot.stroke, count, xy.data(), stamps.data(),
                                    pressures.data(), nullptr);
            return;
        }
        auto sample = [&](int i, auto call) {
            call(slot.stroke, xy[2 * size_t(i)], xy[2 * size_t(i) + 1], stamps[size_t(i)],
                 pressures[size_t(i)], nullptr);
        };
        sample(0, quillmark_stroke_start);
        for (int i = 1; i + 1 < count; ++i)
            sample(i, quillmark_stroke_add);
        slot.open = way != 0;
        if (way == 1)
            return;
        if (way == 3)
            xy[2 * size_t(count - 1)] = NAN;
        sample(count - 1, quillmark_stroke_end);
    }

    void add(Lane *lane)
    {
        const StrokeSlot &slot = strokeSlots[in.byte() % 2];
        const bool noStroke = in.byte() & 1;
        const quillmark_stroke *stroke = noStroke ? nullptr : slot.stroke;
        unsigned long rgba = 0x000000ffUL;
        switch (in.byte() % 4) {
        case 1: rgba = uint32_t(in.int32()); break;
        case 2: rgba = std::numeric_limits<unsigned long>::max(); break;
        case 3: rgba = (unsigned long)(uint32_t(in.int32())) << 31; break;
        default: break;
        }
        quillmark_key key, *keyOut = maybeNull(key);
        quillmark_rect changed, *changedOut = maybeNull(changed);
        if (stroke && ++adds > kMaxAdds)
            return;
        if (!lane) {
            FUZZ_REQUIRE(quillmark_page_add(nullptr, stroke, rgba, keyOut, changedOut) == 0);
            FUZZ_REQUIRE((!keyOut || key == 0) && (!changedOut || isZero(changed)));
            return outcome(nullptr, 0, Reasons());
        }
        const Snapshot before = snapshotOf(*lane);
        const int ok = quillmark_page_add(lane->page, stroke, rgba, keyOut, changedOut);
        outcome(lane->page, ok,
                Reasons()
                    .when(!keyOut, QUILLMARK_PAGE_REFUSED_NO_OUTPUT)
                    .when(!stroke, QUILLMARK_PAGE_REFUSED_NO_STROKE)
                    .when(rgba > 0xffffffffUL, QUILLMARK_PAGE_REFUSED_COLOUR)
                    .when(stroke && slot.open, QUILLMARK_PAGE_REFUSED_UNFINISHED)
                    .maybe(QUILLMARK_PAGE_REFUSED_NO_INK)
                    .maybe(QUILLMARK_PAGE_REFUSED_OUT_OF_RANGE));
        FUZZ_REQUIRE(!keyOut || (key != 0) == (ok == 1));
        const Snapshot now = edited(*lane, before, ok, changedOut, true);
        if (ok) {
            std::vector<Key> expected = before.keys;
            expected.push_back(Key(key));
            FUZZ_REQUIRE(now.keys == expected && now.colours.at(Key(key)) == rgba);
            lane->steps.edited(before, now);
        }
        requireSteps(*lane);
    }

    void readKeys(Lane *lane)
    {
        quillmark_keys keys, *out = maybeNull(keys);
        const int ok = quillmark_page_keys(pageOf(lane), out);
        if (!ok && out)
            FUZZ_REQUIRE(keys.count == 0 && keys.keys == nullptr);
        if (ok) {
            keysOf(keys.count, keys.keys);
            lane->held.holdKeys(keys);
        }
        outcome(pageOf(lane), ok, Reasons().when(!out, QUILLMARK_PAGE_REFUSED_NO_OUTPUT));
    }

    // Checks a query that finds keys, and returns what it found (refused: nothing).
    std::vector<Key> found(Lane *lane, int ok, const quillmark_keys *out,
                           const std::vector<Key> &pageKeys, const Reasons &reasons)
    {
        if (!ok) {
            FUZZ_REQUIRE(!out || (out->count == 0 && out->keys == nullptr));
            outcome(pageOf(lane), ok, reasons);
            return {};
        }
        const std::vector<Key> keys = keysOf(out->count, out->keys);
        lane->held.holdKeys(*out);
        outcome(pageOf(lane), ok, reasons);
        FUZZ_REQUIRE(inDrawingOrder(keys, pageKeys));
        return keys;
    }

    void keysIn(Lane *lane)
    {
        quillmark_rect area;
        area.left = in.number(kX);
        area.top = in.number(kY);
        area.width = in.number(kOther);
        area.height = in.number(kOther);
        quillmark_keys keys, *out = maybeNull(keys);
        const Snapshot before = lane ? snapshotOf(*lane) : Snapshot();
        const bool finite = std::isfinite(area.left) && std::isfinite(area.top)
                            && std::isfinite(area.width) && std::isfinite(area.height);
        const int ok = quillmark_page_keys_in(pageOf(lane), area, out);
        const std::vector<Key> listed =
            found(lane, ok, out, before.keys,
                  Reasons()
                      .when(!out, QUILLMARK_PAGE_REFUSED_NO_OUTPUT)
                      .when(!finite, QUILLMARK_PAGE_REFUSED_AREA));
        if (!ok || !(area.width > 0 && area.height > 0))
            return;
        // A stroke with a point well inside the area may meet it.
        const QRectF inner = QRectF(area.left, area.top, area.width, area.height)
                                 .adjusted(0.01, 0.01, -0.01, -0.01);
        for (const auto &entry : before.inks) {
            const std::vector<float> &xy = entry.second.xy;
            bool inside = false;
            for (size_t i = 0; i + 1 < xy.size() && !inside; i += 2)
                inside = inner.contains(QPointF(xy[i], xy[i + 1]));
            FUZZ_REQUIRE(!inside || std::count(listed.begin(), listed.end(), entry.first) > 0);
        }
    }

    void colour(Lane *lane)
    {
        const Snapshot before = lane ? snapshotOf(*lane) : Snapshot();
        const quillmark_key key = pickKey(before);
        unsigned long rgba, *out = maybeNull(rgba);
        const int ok = quillmark_page_colour(pageOf(lane), key, out);
        if (!ok && out)
            FUZZ_REQUIRE(rgba == 0);
        outcome(pageOf(lane), ok,
                Reasons()
                    .when(!out, QUILLMARK_PAGE_REFUSED_NO_OUTPUT)
                    .when(!knows(before, key), QUILLMARK_PAGE_REFUSED_KEY));
        if (ok)
            FUZZ_REQUIRE(rgba == before.colours.at(Key(key)));
    }

    void polygons(Lane *lane)
    {
        const Snapshot before = lane ? snapshotOf(*lane) : Snapshot();
        const quillmark_key key = pickKey(before);
        quillmark_polygons p, *out = maybeNull(p);
        const int ok = quillmark_page_polygons(pageOf(lane), key, out);
        if (!ok && out)
            FUZZ_REQUIRE(p.count == 0 && p.point_count == 0 && p.sizes == nullptr
                         && p.xy == nullptr);
        if (ok) {
            cface::requireArrays(p.count, p.sizes, p.point_count, p.xy);
            lane->held.holdPolygons(p);
        }
        outcome(pageOf(lane), ok,
                Reasons()
                    .when(!out, QUILLMARK_PAGE_REFUSED_NO_OUTPUT)
                    .when(!knows(before, key), QUILLMARK_PAGE_REFUSED_KEY));
        if (!ok)
            return;
        const pagestates::Ink &ink = before.inks.at(Key(key));
        FUZZ_REQUIRE(size_t(p.count) == ink.sizes.size() && size_t(2 * p.point_count) == ink.xy.size());
        FUZZ_REQUIRE(p.count == 0 || std::equal(ink.sizes.begin(), ink.sizes.end(), p.sizes));
        FUZZ_REQUIRE(cface::sameFloats(ink.xy.data(), p.xy, ink.xy.size()));
    }

    // The reasons a query or erase along points with radius may be refused for.
    static Reasons pathReasons(const Points &path, double radius)
    {
        return Reasons()
            .when(!path.usable(), QUILLMARK_PAGE_REFUSED_POINTS)
            .when(!isRadius(radius), QUILLMARK_PAGE_REFUSED_RADIUS)
            .maybe(QUILLMARK_PAGE_REFUSED_OUT_OF_RANGE);
    }

    // A disc query, and the swept query of that one position, which must find the same.
    void hit(Lane *lane)
    {
        const float x = in.number(kX), y = in.number(kY);
        const double radius = in.number(kOther);
        quillmark_keys keys, *out = maybeNull(keys);
        const Snapshot before = lane ? snapshotOf(*lane) : Snapshot();
        const int ok = quillmark_page_hit(pageOf(lane), x, y, radius, out);
        Points at;
        at.xy = {x, y};
        at.count = 1;
        const Reasons reasons =
            pathReasons(at, radius).when(!out, QUILLMARK_PAGE_REFUSED_NO_OUTPUT);
        const std::vector<Key> disc = found(lane, ok, out, before.keys, reasons);
        if (!ok)
            return;
        quillmark_keys swept;
        FUZZ_REQUIRE(quillmark_page_hit_swept(lane->page, 1, at.xy.data(), radius, &swept) == 1);
        FUZZ_REQUIRE(found(lane, 1, &swept, before.keys, Reasons()) == disc);
    }

    void hitSwept(Lane *lane)
    {
        const Points path = points(4);
        const double radius = in.number(kOther);
        quillmark_keys keys, *out = maybeNull(keys);
        const Snapshot before = lane ? snapshotOf(*lane) : Snapshot();
        const int ok = quillmark_page_hit_swept(pageOf(lane), path.count, path.array(), radius,
                                                out);
        found(lane, ok, out, before.keys,
              pathReasons(path, radius).when(!out, QUILLMARK_PAGE_REFUSED_NO_OUTPUT));
    }

    void lasso(Lane *lane)
    {
        const Points polygon = points(12);
        quillmark_selection selection, *out = maybeNull(selection);
        const Snapshot before = lane ? snapshotOf(*lane) : Snapshot();
        const int ok = quillmark_page_lasso(pageOf(lane), polygon.count, polygon.array(), out);
        if (!ok && out)
            FUZZ_REQUIRE(selection.count == 0 && selection.keys == nullptr
                         && selection.fractions == nullptr);
        std::vector<Key> selected;
        if (ok) {
            FUZZ_REQUIRE((selection.fractions == nullptr) == (selection.count == 0));
            selected = keysOf(selection.count, selection.keys);
            lane->held.holdSelection(selection);
        }
        outcome(pageOf(lane), ok,
                Reasons()
                    .when(!out, QUILLMARK_PAGE_REFUSED_NO_OUTPUT)
                    .when(!polygon.usable(), QUILLMARK_PAGE_REFUSED_POINTS)
                    .when(polygon.usable() && polygon.count < 3,
                          QUILLMARK_PAGE_REFUSED_TOO_FEW_POINTS)
                    .maybe(QUILLMARK_PAGE_REFUSED_OUT_OF_RANGE));
        if (!ok)
            return;
        FUZZ_REQUIRE(inDrawingOrder(selected, before.keys));
        for (int i = 0; i < selection.count; ++i)
            FUZZ_REQUIRE(selection.fractions[i] > 0 && selection.fractions[i] <= 1);
    }

    void erase(Lane *lane)
    {
        const Points path = points(4);
        const double radius = in.number(kOther);
        quillmark_rect changed, *out = maybeNull(changed);
        if (radius > kMaxRadius)
            return;
        if (!lane) {
            FUZZ_REQUIRE(quillmark_page_erase(nullptr, path.count, path.array(), radius, out)
                         == 0);
            FUZZ_REQUIRE(!out || isZero(changed));
            return outcome(nullptr, 0, Reasons());
        }
        const Snapshot before = snapshotOf(*lane);
        const int ok = quillmark_page_erase(lane->page, path.count, path.array(), radius, out);
        outcome(lane->page, ok, pathReasons(path, radius));
        const Snapshot now = edited(*lane, before, ok, out, true);
        if (ok)
            lane->steps.edited(before, now);
        requireSteps(*lane);
    }

    // Removes what a swept query along the same path finds just before.
    void eraseStrokes(Lane *lane)
    {
        const Points path = points(4);
        const double radius = in.number(kOther);
        quillmark_keys removed, *removedOut = maybeNull(removed);
        quillmark_rect changed, *changedOut = maybeNull(changed);
        if (radius > kMaxRadius)
            return;
        if (!lane) {
            FUZZ_REQUIRE(quillmark_page_erase_strokes(nullptr, path.count, path.array(), radius,
                                                      removedOut, changedOut)
                         == 0);
            FUZZ_REQUIRE(!removedOut || (removed.count == 0 && removed.keys == nullptr));
            FUZZ_REQUIRE(!changedOut || isZero(changed));
            return outcome(nullptr, 0, Reasons());
        }
        const Snapshot before = snapshotOf(*lane);
        quillmark_keys touched;
        const int queried = quillmark_page_hit_swept(lane->page, path.count, path.array(),
                                                     radius, &touched);
        const std::vector<Key> hit = found(lane, queried, &touched, before.keys,
                                           pathReasons(path, radius));
        const int ok = quillmark_page_erase_strokes(lane->page, path.count, path.array(), radius,
                                                    removedOut, changedOut);
        FUZZ_REQUIRE(ok == queried);
        if (!ok && removedOut)
            FUZZ_REQUIRE(removed.count == 0 && removed.keys == nullptr);
        if (ok && removedOut) {
            FUZZ_REQUIRE(keysOf(removed.count, removed.keys) == hit);
            lane->held.holdKeys(removed);
        } else if (ok) {
            lane->held.dropKeys();   // a call that hands out keys: the ones before are gone
        }
        outcome(lane->page, ok, pathReasons(path, radius));
        const Snapshot now = edited(*lane, before, ok, changedOut, true);
        if (!ok)
            return;
        std::vector<Key> left;
        for (Key key : before.keys)
            if (std::count(hit.begin(), hit.end(), key) == 0)
                left.push_back(key);
        FUZZ_REQUIRE(now.keys == left);
        lane->steps.edited(before, now);
        requireSteps(*lane);
    }

    void move(Lane *lane)
    {
        const Snapshot before = lane ? snapshotOf(*lane) : Snapshot();
        quillmark_key keys[3];
        const int n = in.byte() % 4;
        bool known = true;
        for (int i = 0; i < n; ++i) {
            keys[i] = pickKey(before);
            known = known && knows(before, keys[i]);
        }
        const uint8_t shape = in.byte();
        const int count = (shape & 0x80) ? int8_t(shape) : n;
        const quillmark_key *array = (shape & 0x40) || n == 0 ? nullptr : keys;
        const double dx = in.number(kX), dy = in.number(kY);
        quillmark_rect changed, *out = maybeNull(changed);
        const int ok = quillmark_page_move(pageOf(lane), std::min(count, n), array, dx, dy, out);
        const bool readable = count >= 0 && (count == 0 || array);
        outcome(pageOf(lane), ok,
                Reasons()
                    .when(!readable, QUILLMARK_PAGE_REFUSED_NO_INPUT)
                    .when(readable && count > 0 && !known, QUILLMARK_PAGE_REFUSED_KEY)
                    .when(!std::isfinite(dx) || !std::isfinite(dy), QUILLMARK_PAGE_REFUSED_OFFSET)
                    .maybe(QUILLMARK_PAGE_REFUSED_OUT_OF_RANGE));
        if (!lane) {
            FUZZ_REQUIRE(!out || isZero(changed));
            return;
        }
        const Snapshot now = edited(*lane, before, ok, out, false);
        if (ok) {
            FUZZ_REQUIRE(now.keys == before.keys && now.colours == before.colours);
            lane->steps.edited(before, now);
        }
        requireSteps(*lane);
    }

    void undoOrRedo(Lane *lane, bool undo)
    {
        quillmark_rect changed, *out = maybeNull(changed);
        auto call = undo ? quillmark_page_undo : quillmark_page_redo;
        if (!lane) {
            FUZZ_REQUIRE(call(nullptr, out) == 0 && (!out || isZero(changed)));
            return outcome(nullptr, 0, Reasons());
        }
        const Snapshot before = snapshotOf(*lane);
        const Snapshot *target = lane->steps.target(undo);
        const Snapshot expected = target ? *target : Snapshot();
        const int ok = call(lane->page, out);
        outcome(lane->page, ok,
                Reasons().when(!target, undo ? QUILLMARK_PAGE_REFUSED_NOTHING_TO_UNDO
                                             : QUILLMARK_PAGE_REFUSED_NOTHING_TO_REDO));
        const Snapshot now = edited(*lane, before, ok, out, false);
        if (ok) {
            FUZZ_REQUIRE(now == expected);
            lane->steps.took(undo, before);
        }
        requireSteps(*lane);
    }

    void group(Lane *lane, bool begin)
    {
        (begin ? quillmark_page_begin_group : quillmark_page_end_group)(pageOf(lane));
        if (!lane)
            return;
        if (begin)
            lane->steps.beginGroup();
        else
            lane->steps.endGroup();
        requireSteps(*lane);
    }

    // Loads bytes onto a new page, which must take them and give the state and the bytes again.
    static void requireRoundTrip(const QByteArray &bytes, const Snapshot &state)
    {
        quillmark_page *copy = quillmark_page_create();
        FUZZ_REQUIRE(quillmark_page_from_bytes(copy, bytes.constData(), size_t(bytes.size())) == 1);
        quillmark_bytes again;
        FUZZ_REQUIRE(quillmark_page_to_bytes(copy, &again) == 1);
        FUZZ_REQUIRE(again.size == size_t(bytes.size())
                     && std::memcmp(again.data, bytes.constData(), again.size) == 0);
        Held held;
        FUZZ_REQUIRE(stateOf(copy, held) == state);
        quillmark_page_destroy(copy);
    }

    void toBytes(Lane *lane)
    {
        quillmark_bytes bytes, *out = maybeNull(bytes);
        if (++loads > kMaxLoads)
            return;
        const Snapshot before = lane ? snapshotOf(*lane) : Snapshot();
        const int ok = quillmark_page_to_bytes(pageOf(lane), out);
        if (!ok && out)
            FUZZ_REQUIRE(bytes.size == 0 && bytes.data == nullptr);
        if (ok)
            lane->held.holdBytes(bytes);
        outcome(pageOf(lane), ok,
                Reasons()
                    .when(!out, QUILLMARK_PAGE_REFUSED_NO_OUTPUT)
                    .maybe(QUILLMARK_PAGE_REFUSED_TOO_LARGE),
                true);
        if (!ok)
            return;
        FUZZ_REQUIRE(bytes.size > 0 && bytes.data != nullptr);
        lane->handedBytes = bytes.data;
        Written &w = lane->written;
        w.valid = true;
        w.bytes = QByteArray(reinterpret_cast<const char *>(bytes.data), int(bytes.size));
        w.state = before;
        w.used = lane->used;
        requireRoundTrip(w.bytes, before);
        FUZZ_REQUIRE(snapshotOf(*lane) == before);
        requireSteps(*lane);
    }

    // A load onto lane that was done: the page as written (when it was), its steps forgotten.
    void loaded(Lane &lane, const Written *from)
    {
        const Snapshot now = snapshotOf(lane);
        lane.steps.forget();
        requireSteps(lane);
        if (from) {
            FUZZ_REQUIRE(now == from->state);
            lane.used = from->used;
        } else {
            lane.used = std::set<Key>(now.keys.begin(), now.keys.end());
        }
    }

    // A refused load: the reason in words, and nothing changed.
    void refusedLoad(Lane &lane, const Snapshot &before)
    {
        const int refusal = quillmark_page_refusal(lane.page);
        if (refusal == QUILLMARK_PAGE_REFUSED_DAMAGED || refusal == QUILLMARK_PAGE_REFUSED_FILE)
            FUZZ_REQUIRE(quillmark_page_error(lane.page)[0] != '\0');
        FUZZ_REQUIRE(snapshotOf(lane) == before);
        requireSteps(lane);
    }

    void fromBytes(Lane *lane)
    {
        const uint8_t source = in.byte() % 6;
        Lane &other = lanes[in.byte() % 2];
        QByteArray bytes;
        const void *data = nullptr;
        size_t size = 0;
        const Written *intact = nullptr;
        bool nullData = false;
        Key movedNext = 0;   // the next key of a page with its keys moved up
        if (source == 0 && lane && lane->written.valid) {
            // The bytes the page itself handed out, still its own.
            data = lane->handedBytes;
            size = size_t(lane->written.bytes.size());
            intact = &lane->written;
        } else if (source == 1 && other.written.valid) {
            bytes = other.written.bytes;
            intact = &other.written;
        } else if (source == 2 && other.written.valid) {
            bytes = damaged(other.written.bytes);
        } else if (source == 3) {
            bytes = inputBytes();
        } else if (source == 4 && other.written.valid) {
            bytes = withKeysMoved(other.written.bytes, movedNext);
        } else {
            nullData = true;
            size = in.byte() & 1 ? 0 : 1 + in.byte();
        }
        if (!nullData && !data) {
            data = bytes.constData();
            size = size_t(bytes.size());
        }
        if (++loads > kMaxLoads)
            return;
        if (!lane) {
            FUZZ_REQUIRE(quillmark_page_from_bytes(nullptr, data, size) == 0);
            return outcome(nullptr, 0, Reasons());
        }
        const Snapshot before = snapshotOf(*lane);
        const int ok = quillmark_page_from_bytes(lane->page, data, size);
        Reasons reasons;
        if (nullData)
            reasons.when(size > 0, QUILLMARK_PAGE_REFUSED_NO_INPUT)
                .when(size == 0, QUILLMARK_PAGE_REFUSED_DAMAGED);
        else if (movedNext)
            reasons.when(movedNext > kLargestNextKey, QUILLMARK_PAGE_REFUSED_DAMAGED);
        else if (!intact)
            reasons.maybe(QUILLMARK_PAGE_REFUSED_DAMAGED).maybe(QUILLMARK_PAGE_REFUSED_TOO_LARGE);
        outcome(lane->page, ok, reasons, true);
        if (ok)
            loaded(*lane, intact);
        else
            refusedLoad(*lane, before);
    }

    // Bytes from the input, perhaps with every checksum made to hold.
    QByteArray inputBytes()
    {
        QByteArray bytes;
        const int n = in.byte() % (kMaxLoadedBytes + 1);
        for (int i = 0; i < n; ++i)
            bytes.append(char(in.byte()));
        if (in.byte() & 1)
            fixChecksums(bytes);
        return bytes;
    }

    // A written page with its keys and next key moved up, the next key to 2^k plus a small
    // number (the page file allows up to 2^62; the face takes pages up to 2^52).
    QByteArray withKeysMoved(const QByteArray &written, Key &next)
    {
        OxStrokePage page;
        FUZZ_REQUIRE(OxPageFile::fromBytes(written, page).ok());
        OxStrokePage::Contents contents = page.contents();
        const int power = in.byte() % 62;
        const Key shift = std::max(Key(0), (Key(1) << power) + int8_t(in.byte()) - contents.nextKey);
        for (OxStrokePage::Contents::Stroke &stroke : contents.strokes)
            stroke.key += shift;
        contents.nextKey += shift;
        next = contents.nextKey;
        OxStrokePage moved;
        FUZZ_REQUIRE(moved.restore(contents) == OxStrokePage::kDone);
        QByteArray bytes;
        FUZZ_REQUIRE(OxPageFile::toBytes(moved, bytes).ok());
        return bytes;
    }

    // Written bytes with one byte changed, cut short or grown; then perhaps with every
    // checksum made to hold, so that the change reaches what is inside the chunks.
    QByteArray damaged(QByteArray bytes)
    {
        const uint8_t how = in.byte();
        const int at = int(uint16_t(in.int16()) % uint32_t(bytes.size()));
        switch (how % 3) {
        case 0: bytes[at] = char(bytes[at] ^ in.byte()); break;
        case 1: bytes.truncate(at); break;
        default: bytes.insert(at, char(in.byte())); break;
        }
        if (how & 0x80)
            fixChecksums(bytes);
        return bytes;
    }

    // Save and load through a file in the target's own directory (removed at each input's
    // start), the input's bytes written to it and loaded, a file that is not there, a directory
    // that is not there, or no path at all.
    void fileCall(Lane *lane)
    {
        const uint8_t which = in.byte() % 6;
        const std::string missing = filePath() + ".missing/page";
        const char *path = which == 2 || which == 3 ? missing.c_str()
                           : which == 4             ? nullptr
                                                    : filePath().c_str();
        const bool save = which == 0 || which == 3 || (which == 4 && (in.byte() & 1));
        if (which == 5) {
            const QByteArray bytes = inputBytes();
            std::FILE *out = std::fopen(path, "wb");
            FUZZ_REQUIRE(out && std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out)
                                    == size_t(bytes.size()));
            std::fclose(out);
            file = Written();
            fileThere = true;
        }
        if (++loads > kMaxLoads)
            return;
        if (!lane) {
            FUZZ_REQUIRE((save ? quillmark_page_save : quillmark_page_load)(nullptr, path) == 0);
            return outcome(nullptr, 0, Reasons());
        }
        const Snapshot before = snapshotOf(*lane);
        const int ok = (save ? quillmark_page_save : quillmark_page_load)(lane->page, path);
        const bool ours = path == filePath().c_str();
        Reasons reasons;
        reasons.when(!path, QUILLMARK_PAGE_REFUSED_NO_INPUT)
            .when(path && (!ours || (!save && !fileThere)), QUILLMARK_PAGE_REFUSED_FILE)
            .maybe(QUILLMARK_PAGE_REFUSED_TOO_LARGE);
        if (!save && ours && !file.valid)
            reasons.maybe(QUILLMARK_PAGE_REFUSED_DAMAGED);
        outcome(lane->page, ok, reasons, true);
        if (!ok) {
            // A file's failures start with its path.
            const int refusal = quillmark_page_refusal(lane->page);
            if (refusal == QUILLMARK_PAGE_REFUSED_FILE
                || (!save && refusal == QUILLMARK_PAGE_REFUSED_DAMAGED))
                FUZZ_REQUIRE(std::strncmp(quillmark_page_error(lane->page), path,
                                          std::strlen(path))
                             == 0);
            return refusedLoad(*lane, before);
        }
        if (!save)
            return loaded(*lane, file.valid ? &file : nullptr);
        // What was saved loads onto a new page as the page is, and leaves the page as it was.
        FUZZ_REQUIRE(snapshotOf(*lane) == before);
        requireSteps(*lane);
        file.valid = fileThere = true;
        file.state = before;
        file.used = lane->used;
        quillmark_page *copy = quillmark_page_create();
        FUZZ_REQUIRE(quillmark_page_load(copy, path) == 1);
        Held held;
        FUZZ_REQUIRE(stateOf(copy, held) == before);
        quillmark_page_destroy(copy);
    }

    // The refusal texts, and the calls that answer for no page.
    void texts()
    {
        const int refusal = (in.byte() & 1) ? in.int32() : int(in.byte() % 24);
        const char *text = quillmark_page_refusal_text(refusal);
        FUZZ_REQUIRE(text != nullptr);
        const bool known = refusal >= QUILLMARK_PAGE_REFUSED_NONE
                           && refusal <= QUILLMARK_PAGE_REFUSED_TOO_LARGE;
        FUZZ_REQUIRE(known == (std::strcmp(text, "unknown reason") != 0));
        FUZZ_REQUIRE(quillmark_page_refusal(nullptr) == QUILLMARK_PAGE_REFUSED_NO_PAGE);
        FUZZ_REQUIRE(std::strcmp(quillmark_page_error(nullptr), "") == 0);
        FUZZ_REQUIRE(!quillmark_page_can_undo(nullptr) && !quillmark_page_can_redo(nullptr));
        quillmark_page_destroy(nullptr);
    }
};

void removeFiles()
{
    std::remove(filePath().c_str());
    ::rmdir((filePath().substr(0, filePath().rfind('/'))).c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzchecks::silenceQtMessages();
    char dir[] = "/tmp/quillmark-fuzz-cpage-XXXXXX";
    if (!::mkdtemp(dir))
        std::abort();
    filePath() = std::string(dir) + "/page.qmp";
    std::atexit(removeFiles);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Reader in(data, size);
    CPageScript(in).run();
    return 0;
}
