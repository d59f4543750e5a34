// The page: strokes by key, their index, the queries and the edits with their history.

#include "OxStrokePage.h"

#include "OxInkBooleans_p.h"
#include "OxPageHistory_p.h"
#include "OxPageIndex_p.h"
#include "OxPageRestore_p.h"
#include "OxRecordReplay_p.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <new>
#include <unordered_map>
#include <unordered_set>

using namespace quillmark::detail;

namespace {
using Key = OxStrokePage::Key;
using Status = OxStrokePage::Status;
using StrokePtr = std::unique_ptr<OxPageStroke>;

// A changed stroke's pixels reach this far beyond its changed ink (antialiasing, and the
// rounding of a cut's new points to the grid).
constexpr double kRepaintMargin = 1.0;

// Adds r, grown by the margin, to area.
void addGrown(QRectF &area, const QRectF &r)
{
    area |= r.adjusted(-kRepaintMargin, -kRepaintMargin, kRepaintMargin, kRepaintMargin);
}

bool finite(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

bool finitePoints(const std::vector<QPointF> &points)
{
    return !points.empty() && std::all_of(points.begin(), points.end(), finite);
}

bool usableRadius(double radius)
{
    return std::isfinite(radius) && radius > 0;
}

// The box a disc of radius swept from a to b covers.
QRectF capsuleBox(QPointF a, QPointF b, double radius)
{
    return QRectF(QPointF(std::min(a.x(), b.x()) - radius, std::min(a.y(), b.y()) - radius),
                  QPointF(std::max(a.x(), b.x()) + radius, std::max(a.y(), b.y()) + radius));
}

// Whether two boxes share a point, edges included (QRectF::intersects takes a box of no width,
// as a disc of a tiny radius makes, for none).
bool boxesMeet(const QRectF &a, const QRectF &b)
{
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom()
           && b.top() <= a.bottom();
}

// The swept path as segments: one point is a segment of no length.
template <class Visit>
bool anySegment(const std::vector<QPointF> &path, Visit visit)
{
    if (path.size() == 1)
        return visit(path[0], path[0]);
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        if (visit(path[i], path[i + 1]))
            return true;
    }
    return false;
}

void sortUnique(std::vector<Key> &keys)
{
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
}

// Whether the edge of a stroke's ink meets the lasso's (for a line: the lasso comes within its
// reach).
bool boundariesMeet(const OxPageStroke &stroke, const OxInkEdges &lassoEdges,
                    const OxInk &lassoInk, const std::vector<QPointF> &lasso)
{
    if (!stroke.ink.isLine())
        return stroke.edges.crosses(stroke.ink, lassoEdges, lassoInk);
    for (size_t i = 0; i < lasso.size(); ++i) {
        if (stroke.edges.touchesCapsule(stroke.ink, lasso[i], lasso[(i + 1) % lasso.size()], 0))
            return true;
    }
    return false;
}

// keys less the ones in other.
std::vector<Key> without(const std::vector<Key> &keys, const std::vector<Key> &other)
{
    std::vector<Key> out;
    for (Key key : keys) {
        if (std::find(other.begin(), other.end(), key) == other.end())
            out.push_back(key);
    }
    return out;
}
} // namespace

struct OxStrokePage::Data
{
    explicit Data(Lookup lookup) : lookup(lookup), index(lookup == Lookup::kLinearScan) {}

    Lookup lookup;
    std::unordered_map<Key, StrokePtr> strokes;
    std::map<std::vector<quint32>, Key> drawingOrder;
    OxPageIndex index;
    OxPageHistory history;
    Key nextKey = 1;
    quint32 nextOrder = 0;

    const OxPageStroke *find(Key key) const
    {
        auto found = strokes.find(key);
        return found == strokes.end() ? nullptr : found->second.get();
    }

    void put(StrokePtr stroke)
    {
        index.insert(stroke->bounds, stroke->key);
        drawingOrder.emplace(stroke->order, stroke->key);
        const Key key = stroke->key;
        strokes.emplace(key, std::move(stroke));
    }

    StrokePtr take(Key key)
    {
        auto found = strokes.find(key);
        StrokePtr stroke = std::move(found->second);
        strokes.erase(found);
        index.remove(stroke->bounds, key);
        drawingOrder.erase(stroke->order);
        return stroke;
    }

    // keys sorted into drawing order.
    void inDrawingOrder(std::vector<Key> &keys) const
    {
        std::sort(keys.begin(), keys.end(),
                  [this](Key a, Key b) { return find(a)->order < find(b)->order; });
    }

    // The strokes the swept disc touches, in drawing order.
    std::vector<Key> touched(const std::vector<QPointF> &path, double radius) const
    {
        std::vector<Key> candidates;
        anySegment(path, [&](QPointF a, QPointF b) {
            index.query(capsuleBox(a, b, radius), candidates);
            return false;
        });
        sortUnique(candidates);
        std::vector<Key> keys;
        for (Key key : candidates) {
            const OxPageStroke &stroke = *find(key);
            if (anySegment(path, [&](QPointF a, QPointF b) {
                    return boxesMeet(capsuleBox(a, b, radius), stroke.bounds)
                           && stroke.edges.touchesCapsule(stroke.ink, a, b, radius);
                }))
                keys.push_back(key);
        }
        inDrawingOrder(keys);
        return keys;
    }

    // Swaps the sides of step: the strokes on the page go into it, the ones it held come back.
    void swapSides(OxPageStep &step, Change *change)
    {
        std::vector<StrokePtr> taken;
        for (Key key : step.onPage)
            taken.push_back(take(key));
        std::vector<Key> back;
        for (StrokePtr &stroke : step.held) {
            back.push_back(stroke->key);
            put(std::move(stroke));
        }
        if (change) {
            *change = Change{step.area, without(step.onPage, back), without(back, step.onPage)};
        }
        step.held = std::move(taken);
        step.onPage = std::move(back);
    }

    // Makes a step that replaces the strokes of keys by after.
    void replace(const std::vector<Key> &keys, std::vector<StrokePtr> after, QRectF area,
                 Change *change)
    {
        OxPageStep step;
        step.area = area;
        for (Key key : keys)
            step.held.push_back(take(key));
        for (StrokePtr &stroke : after) {
            step.onPage.push_back(stroke->key);
            put(std::move(stroke));
        }
        std::vector<Key> replaced;
        for (const StrokePtr &stroke : step.held)
            replaced.push_back(stroke->key);
        if (change)
            *change = Change{area, without(replaced, step.onPage), without(step.onPage, replaced)};
        history.made(std::move(step));
    }

    StrokePtr copyWithEdit(const OxPageStroke &from, OxRecordedEdit edit, OxInk &&ink) const
    {
        auto stroke = std::make_unique<OxPageStroke>();
        stroke->key = from.key;
        stroke->order = from.order;
        stroke->drawn = from.drawn;
        stroke->edits = from.edits;
        stroke->edits.push_back(std::move(edit));
        stroke->setInk(std::move(ink));
        return stroke;
    }
};

// Runs an editing call: memory running out leaves the page as it was (the call builds what it
// puts on the page before it changes anything).
template <class Call>
Status guarded(OxStrokePage::Change *change, Call call)
{
    if (change)
        *change = OxStrokePage::Change();
    try {
        return call();
    } catch (const std::bad_alloc &) {
        throw;
    } catch (...) {
        return OxStrokePage::kOutOfRange;  // Clipper refuses coordinates beyond its range
    }
}

OxStrokePage::OxStrokePage(Lookup lookup) : d(std::make_unique<Data>(lookup)) {}

OxStrokePage::~OxStrokePage() = default;

const char *OxStrokePage::argumentOf(Status status)
{
    switch (status) {
    case kDone:
        return "";
    case kUnusableRecord:
    case kNoInk:
        return "record";
    case kOutOfRange:
    case kBadPoints:
    case kTooFewPoints:
        return "points";
    case kBadRadius:
        return "radius";
    case kUnknownKey:
        return "key";
    case kNothingToUndo:
        return "undo";
    case kNothingToRedo:
        return "redo";
    case kBadOffset:
        return "offset";
    case kBadKey:
        return "key";
    case kBadDrawing:
        return "drawing";
    }
    return "";
}

const char *OxStrokePage::describe(Status status)
{
    switch (status) {
    case kDone:
        return "";
    case kUnusableRecord:
        return "the record cannot be replayed: an unknown engine, a width that is not finite, "
               "steps that do not add up to its samples or that its engine lacks, or an edit "
               "that names no piece";
    case kNoInk:
        return "the record draws no ink";
    case kOutOfRange:
        return "a position lies beyond 2,000,000 units of the origin";
    case kBadPoints:
        return "no points, or a point that is not finite";
    case kTooFewPoints:
        return "a lasso needs at least three points";
    case kBadRadius:
        return "the radius is not a positive finite number";
    case kUnknownKey:
        return "no stroke of this page has the key";
    case kNothingToUndo:
        return "there is nothing to undo";
    case kNothingToRedo:
        return "there is nothing to redo";
    case kBadOffset:
        return "the offset is not finite";
    case kBadKey:
        return "a key is not positive, is used twice or is not below the next key, or the next "
               "key is out of range";
    case kBadDrawing:
        return "a stroke's drawing is missing, or strokes share a drawing without being "
               "different pieces of it";
    }
    return "";
}

Status OxStrokePage::add(const OxStrokeRecord &record, Key &key, Change *change)
{
    key = 0;
    return guarded(change, [&] {
        auto drawn = std::make_shared<OxStrokeRecord>(record);
        drawn->edits.clear();
        OxInk ink;
        Status status = statusOf(drawnInk(*drawn, ink));
        for (size_t i = 0; status == kDone && i < record.edits.size(); ++i)
            status = statusOf(applyEdit(record.edits[i], ink));
        if (status != kDone)
            return status;
        if (!coversArea(ink))
            return kNoInk;
        auto stroke = std::make_unique<OxPageStroke>();
        stroke->key = d->nextKey;
        stroke->order = {d->nextOrder};
        stroke->drawn = std::move(drawn);
        stroke->edits = record.edits;
        stroke->setInk(std::move(ink));
        QRectF area;
        addGrown(area, stroke->bounds);
        std::vector<StrokePtr> after;
        after.push_back(std::move(stroke));
        d->replace({}, std::move(after), area, change);
        key = d->nextKey++;
        ++d->nextOrder;
        return kDone;
    });
}

std::vector<OxStrokePage::Key> OxStrokePage::keys() const
{
    std::vector<Key> out;
    out.reserve(d->drawingOrder.size());
    for (const auto &entry : d->drawingOrder)
        out.push_back(entry.second);
    return out;
}

std::vector<OxStrokePage::Key> OxStrokePage::keysIn(const QRectF &area) const
{
    std::vector<Key> out;
    d->index.query(area.normalized(), out);
    d->inDrawingOrder(out);
    return out;
}

bool OxStrokePage::contains(Key key) const
{
    return d->find(key) != nullptr;
}

int OxStrokePage::count() const
{
    return int(d->strokes.size());
}

bool OxStrokePage::polygons(Key key, std::vector<int> &sizes, std::vector<float> &xy) const
{
    const OxPageStroke *stroke = d->find(key);
    if (!stroke)
        return false;
    OxInk filled;
    const OxInk *rings = &stroke->ink;
    if (stroke->ink.isLine()) {
        filledInk(stroke->ink, filled);
        rings = &filled;
    }
    for (quint32 size : rings->ringSizes)
        sizes.push_back(int(size));
    xy.reserve(xy.size() + rings->xy.size());
    for (qint32 v : rings->xy)
        xy.push_back(float(fromGrid(v)));
    return true;
}

QPainterPath OxStrokePage::inkPath(Key key) const
{
    std::vector<int> sizes;
    std::vector<float> xy;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    if (!polygons(key, sizes, xy))
        return path;
    size_t at = 0;
    for (int size : sizes) {
        path.moveTo(xy[at], xy[at + 1]);
        for (int i = 1; i < size; ++i)
            path.lineTo(xy[at + 2 * i], xy[at + 2 * i + 1]);
        path.closeSubpath();
        at += 2 * size_t(size);
    }
    return path;
}

QRectF OxStrokePage::bounds(Key key) const
{
    const OxPageStroke *stroke = d->find(key);
    return stroke ? stroke->bounds : QRectF();
}

quint32 OxStrokePage::rgba(Key key) const
{
    const OxPageStroke *stroke = d->find(key);
    return stroke ? stroke->drawn->rgba : 0;
}

bool OxStrokePage::record(Key key, OxStrokeRecord &out) const
{
    const OxPageStroke *stroke = d->find(key);
    if (!stroke)
        return false;
    out = *stroke->drawn;
    out.edits = stroke->edits;
    return true;
}

Status OxStrokePage::hit(QPointF centre, double radius, std::vector<Key> &keys) const
{
    return hitSwept({centre}, radius, keys);
}

Status OxStrokePage::hitSwept(const std::vector<QPointF> &path, double radius,
                              std::vector<Key> &keys) const
{
    keys.clear();
    if (!finitePoints(path))
        return kBadPoints;
    if (!usableRadius(radius))
        return kBadRadius;
    keys = d->touched(path, radius);
    return kDone;
}

Status OxStrokePage::lasso(const std::vector<QPointF> &polygon,
                           std::vector<Selected> &selected) const
{
    selected.clear();
    if (polygon.size() < 3)
        return kTooFewPoints;
    if (!finitePoints(polygon))
        return kBadPoints;
    OxInk lassoInk;
    for (QPointF p : polygon) {
        qint64 x = 0, y = 0;
        if (!toGrid(p.x(), x) || !toGrid(p.y(), y))
            return kOutOfRange;
        lassoInk.xy.push_back(qint32(x));
        lassoInk.xy.push_back(qint32(y));
    }
    lassoInk.ringSizes.push_back(quint32(polygon.size()));
    const OxInkEdges lassoEdges(lassoInk);
    const QRectF lassoBounds = quillmark::detail::bounds(lassoInk);
    std::vector<Key> candidates;
    d->index.query(lassoBounds, candidates);
    d->inDrawingOrder(candidates);
    OxInkRegion region;
    bool haveRegion = false;
    for (Key key : candidates) {
        const OxPageStroke &stroke = *d->find(key);
        const QPointF inkPoint(fromGrid(stroke.ink.xy[0]), fromGrid(stroke.ink.xy[1]));
        const bool meeting = boundariesMeet(stroke, lassoEdges, lassoInk, polygon);
        double fraction = 0;
        if (!meeting && lassoEdges.contains(lassoInk, inkPoint)) {
            fraction = 1;  // the boundaries do not meet, and the ink lies inside the lasso
        } else if (meeting || stroke.edges.contains(stroke.ink, polygon[0])) {
            // The boundaries meet, or the lasso lies inside the ink: measure.
            if (!haveRegion) {
                region = regionOf(lassoInk);
                haveRegion = true;
            }
            OxInk filled;
            double inside = 0;
            try {
                filledInk(stroke.ink, filled);
                areaInside(filled, region, inside);
            } catch (const std::bad_alloc &) {
                throw;
            } catch (...) {
                return kOutOfRange;
            }
            fraction = std::min(1.0, inside / quillmark::detail::area(filled));
        }
        if (fraction > 0)
            selected.push_back({key, fraction});
    }
    return kDone;
}

Status OxStrokePage::erase(const std::vector<QPointF> &path, double radius, Change *change)
{
    return guarded(change, [&] {
        if (!finitePoints(path))
            return kBadPoints;
        if (!usableRadius(radius) || !std::isfinite(float(radius)) || float(radius) <= 0)
            return kBadRadius;
        // The eraser as the record keeps it: floats.
        OxRecordedEdit edit;
        edit.kind = OxRecordedEdit::kErase;
        edit.radius = float(radius);
        std::vector<QPointF> eraser;
        for (QPointF p : path) {
            edit.xy.push_back(float(p.x()));
            edit.xy.push_back(float(p.y()));
            eraser.emplace_back(edit.xy[edit.xy.size() - 2], edit.xy.back());
            if (!finite(eraser.back()))
                return kBadPoints;
        }
        const std::vector<Key> touched = d->touched(eraser, edit.radius);
        if (touched.empty())
            return kDone;
        OxInkRegion region;
        if (!erasedRegion(edit, region))
            return kOutOfRange;
        QRectF sweptBounds;
        for (QPointF p : eraser)
            sweptBounds |= QRectF(p, QSizeF(0, 0)).adjusted(-radius - 1, -radius - 1, radius + 1,
                                                             radius + 1);
        std::vector<Key> replaced;
        std::vector<StrokePtr> after;
        QRectF area;
        Key nextKey = d->nextKey;
        for (Key key : touched) {
            const OxPageStroke &stroke = *d->find(key);
            OxInk rings;
            std::vector<OxInk> pieces;
            filledInk(stroke.ink, rings);
            cutAway(rings, region, pieces);
            if (pieces.size() == 1 && doubleArea(pieces[0]) == doubleArea(rings))
                continue;  // the cut passed by within the grid's rounding
            replaced.push_back(key);
            // The cut changes what lay under the eraser; away from it the booleans keep every
            // point, but may drop a sliver of a ring (a few grid steps across) or a spike.
            const QRectF &b = stroke.bounds;
            addGrown(area, QRectF(QPointF(std::max(b.left(), sweptBounds.left()),
                                          std::max(b.top(), sweptBounds.top())),
                                  QPointF(std::min(b.right(), sweptBounds.right()),
                                          std::min(b.bottom(), sweptBounds.bottom()))));
            QRectF moved;
            if (boundsOfChangedPoints(rings, pieces, sweptBounds, moved))
                addGrown(area, moved);
            for (size_t i = 0; i < pieces.size(); ++i) {
                edit.piece = quint32(i);
                StrokePtr piece = d->copyWithEdit(stroke, edit, std::move(pieces[i]));
                if (pieces.size() > 1) {
                    piece->key = nextKey++;
                    piece->order.push_back(quint32(i));
                }
                after.push_back(std::move(piece));
            }
        }
        if (replaced.empty())
            return kDone;
        d->nextKey = nextKey;
        d->replace(replaced, std::move(after), area, change);
        return kDone;
    });
}

Status OxStrokePage::eraseStrokes(const std::vector<QPointF> &path, double radius,
                                  Change *change)
{
    return guarded(change, [&] {
        if (!finitePoints(path))
            return kBadPoints;
        if (!usableRadius(radius))
            return kBadRadius;
        const std::vector<Key> touched = d->touched(path, radius);
        QRectF area;
        for (Key key : touched)
            addGrown(area, d->find(key)->bounds);
        if (!touched.empty())
            d->replace(touched, {}, area, change);
        return kDone;
    });
}

Status OxStrokePage::move(const std::vector<Key> &keys, QPointF offset, Change *change)
{
    return guarded(change, [&] {
        std::vector<Key> moving = keys;
        sortUnique(moving);
        for (Key key : moving) {
            if (!d->find(key))
                return kUnknownKey;
        }
        OxRecordedEdit edit;
        edit.kind = OxRecordedEdit::kMove;
        edit.xy = {float(offset.x()), float(offset.y())};
        if (!finite(offset) || !std::isfinite(edit.xy[0]) || !std::isfinite(edit.xy[1]))
            return kBadOffset;
        qint64 dx = 0, dy = 0;
        if (!toGrid(edit.xy[0], dx) || !toGrid(edit.xy[1], dy))
            return kOutOfRange;
        if ((dx == 0 && dy == 0) || moving.empty())
            return kDone;
        d->inDrawingOrder(moving);
        std::vector<StrokePtr> after;
        QRectF area;
        for (Key key : moving) {
            const OxPageStroke &stroke = *d->find(key);
            OxInk ink = stroke.ink;
            if (!translate(ink, dx, dy))
                return kOutOfRange;
            after.push_back(d->copyWithEdit(stroke, edit, std::move(ink)));
            addGrown(area, stroke.bounds);
            addGrown(area, after.back()->bounds);
        }
        d->replace(moving, std::move(after), area, change);
        return kDone;
    });
}

Status OxStrokePage::undo(Change *change)
{
    if (change)
        *change = Change();
    if (!d->history.canUndo())
        return kNothingToUndo;
    OxPageStep step = d->history.takeUndo();
    d->swapSides(step, change);
    d->history.undoneStep(std::move(step));
    return kDone;
}

Status OxStrokePage::redo(Change *change)
{
    if (change)
        *change = Change();
    if (!d->history.canRedo())
        return kNothingToRedo;
    OxPageStep step = d->history.takeRedo();
    d->swapSides(step, change);
    d->history.redoneStep(std::move(step));
    return kDone;
}

bool OxStrokePage::canUndo() const
{
    return d->history.canUndo();
}

bool OxStrokePage::canRedo() const
{
    return d->history.canRedo();
}

void OxStrokePage::beginGroup()
{
    d->history.beginGroup();
}

void OxStrokePage::endGroup()
{
    d->history.endGroup();
}

void OxStrokePage::clearHistory()
{
    d->history.clear();
}

OxStrokePage::Contents OxStrokePage::contents() const
{
    Contents out;
    out.nextKey = d->nextKey;
    const OxStrokeRecord *lastDrawing = nullptr;
    for (const auto &entry : d->drawingOrder) {
        const OxPageStroke &stroke = *d->find(entry.second);
        // The pieces of a cut stroke share its drawing and follow one another.
        if (stroke.drawn.get() != lastDrawing) {
            out.drawings.push_back(*stroke.drawn);
            lastDrawing = stroke.drawn.get();
        }
        out.strokes.push_back({stroke.key, out.drawings.size() - 1, stroke.edits});
    }
    return out;
}

Status OxStrokePage::restore(const Contents &contents, size_t *refused)
{
    size_t at = contents.strokes.size();
    const Status status = guarded(nullptr, [&] {
        if (contents.nextKey < 1 || contents.nextKey > kMaxNextKey)
            return kBadKey;
        std::unordered_set<Key> keys;
        for (at = 0; at < contents.strokes.size(); ++at) {
            const Key key = contents.strokes[at].key;
            if (key < 1 || key >= contents.nextKey || !keys.insert(key).second)
                return kBadKey;
        }
        std::vector<StrokePtr> strokes;
        const Status rebuilt = rebuildStrokes(contents, strokes, at);
        if (rebuilt != kDone)
            return rebuilt;
        auto fresh = std::make_unique<Data>(d->lookup);
        for (StrokePtr &stroke : strokes) {
            stroke->order = {fresh->nextOrder++};
            fresh->put(std::move(stroke));
        }
        fresh->nextKey = contents.nextKey;
        d.swap(fresh);
        return kDone;
    });
    if (status != kDone && refused)
        *refused = at;
    return status;
}

size_t OxStrokePage::bytes() const
{
    size_t total = sizeof(*this) + sizeof(Data) + d->index.bytes() + d->history.bytes();
    for (const auto &entry : d->strokes) {
        // A hash node and a map node beside the stroke itself.
        total += entry.second->bytes() + 2 * (sizeof(entry) + 2 * sizeof(void *))
                 + entry.second->order.capacity() * sizeof(quint32);
    }
    return total;
}
