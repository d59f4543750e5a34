// Assembling the swept outline segment by segment.

#include "OxPathBuilder.h"

#include "OxBufferRoom_p.h"
#include "OxGeometry.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

using namespace quillmark::detail;

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {
bool allFinite(std::initializer_list<float> values)
{
    for (float v : values) {
        if (!std::isfinite(v))
            return false;
    }
    return true;
}

// The same path as side.toReversed() for a side made of one move-to and line-tos, built in one
// pass: its points go in reverse order into a polygon. (Consecutive points of the side are never
// equal, lineTo drops those, so the reversed points need no check either.)
QPainterPath reversedPolyline(const QPainterPath &side)
{
    const int n = side.elementCount();
    QPolygonF reversed;
    reversed.reserve(bufferRoomFor(n));
    reversed.resize(n);
    for (int i = 0; i < n; ++i) {
        const QPainterPath::Element e = side.elementAt(n - 1 - i);
        reversed[i] = QPointF(e.x, e.y);
    }
    QPainterPath path;
    path.reserve(bufferRoomFor(n));
    path.addPolygon(reversed);
    return path;
}

} // namespace

namespace {
using Polyline = QVarLengthArray<QPointF, 256>;

// Appends p as QPainterPath::lineTo does: not when it equals the last point.
void appendToPolyline(Polyline &line, QPointF p)
{
    if (line.isEmpty() || !(p == line.last()))
        line.append(p);
}

// Follows what a QPainterPath built by moveTo, lineTo and connectPath (with polylines) would hold,
// element by element, and gives its boundingRect without building it: the bounds of the changed
// piece of an outline, which is needed at every segment while the piece itself is not.
class PieceBounds
{
public:
    void moveTo(QPointF p)
    {
        last = p;
        size = 1;
        lastIsMoveTo = true;
    }
    void lineTo(QPointF p)
    {
        if (size > 0 && p == last)
            return;
        commitMoveTo();
        include(p);
        last = p;
        ++size;
    }
    // As connectPath with the path moveTo(line[0]), lineTo(line[1]), ...
    void connect(const Polyline &line)
    {
        if (line.size() < 2)   // a lone move-to counts as an empty path: nothing is connected
            return;
        if (lastIsMoveTo) {    // connectPath removes a trailing move-to
            lastIsMoveTo = false;
            --size;
        }
        int first = 0;
        if (size > 0 && line[0] == last)   // the joining point is dropped as a duplicate
            first = 1;
        for (int i = first; i < line.size(); ++i)
            include(line[i]);
        size += line.size() - first;
        last = line.last();
    }
    // As connect, for a line of two or more points whose points after the first are known only
    // by their box and their last point (none of them dropped as a duplicate).
    void connect(QPointF first, QRectF restBox, QPointF lastPoint)
    {
        if (lastIsMoveTo) {
            lastIsMoveTo = false;
            --size;
        }
        if (!(size > 0 && first == last))
            include(first);
        include(restBox.topLeft());
        include(restBox.bottomRight());
        size += 2;
        last = lastPoint;
    }
    QRectF bounds()
    {
        if (size == 0)
            return QRectF();
        commitMoveTo();
        return QRectF(minX, minY, maxX - minX, maxY - minY);
    }

private:
    void commitMoveTo()
    {
        if (lastIsMoveTo) {
            include(last);
            lastIsMoveTo = false;
        }
    }
    void include(QPointF p)
    {
        if (!hasPoints) {
            minX = maxX = p.x();
            minY = maxY = p.y();
            hasPoints = true;
            return;
        }
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
    }

    QPointF last;
    int size = 0;
    bool lastIsMoveTo = false;
    bool hasPoints = false;
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
};

QPainterPath pathThrough(const Polyline &line)
{
    QPolygonF polygon(line.size());
    std::copy(line.begin(), line.end(), polygon.begin());
    QPainterPath path;
    path.addPolygon(polygon);
    return path;
}
} // namespace

OxPathBuilder::OxPathBuilder()
    : lastStartRight(-1), lastStartLeft(-1), lastEndRight(-1), lastEndLeft(-1), sampleSize(0),
      anchorX(0), anchorY(0), anchorWidth(0), anchorHeld(false)
{
}

OxPathBuilder::~OxPathBuilder() = default;

void OxPathBuilder::copyShapeFrom(const OxPathBuilder &other)
{
    shapeName = other.shapeName;
    samplePath = other.samplePath;
    sampleCenter = other.sampleCenter;
    sampleSize = other.sampleSize;
    sections = other.sections;
    samplePoints = other.samplePoints;
    sampleLeftmost = other.sampleLeftmost;
    sampleRightmost = other.sampleRightmost;
    sampleTopmost = other.sampleTopmost;
    sampleBottommost = other.sampleBottommost;
    sampleIsPolygon = other.sampleIsPolygon;
    capExtremes = other.capExtremes;
    nibSpacing = other.nibSpacing;
    nibReach = other.nibReach;
    lastPlaced = PlacedNib();
}


template <class Visit>
void OxPathBuilder::walk(int from, int to, int step, Visit visit) const
{
    const int n = samplePoints.size();
    int k = from;
    for (int steps = 0; steps < n; ++steps) {
        k += step;
        if (k >= n)
            k -= n;
        else if (k < 0)
            k += n;
        visit(k);
        if (k == to)
            break;
    }
}

void OxPathBuilder::findCapExtremes()
{
    capExtremes.clear();
    nibSpacing = 0;
    nibReach = 0;
    const int n = samplePoints.size();
    for (int i = 0; i < n; ++i) {
        const QPointF p = samplePoints[i], next = samplePoints[(i + 1) % n];
        const double spacing = std::hypot(next.x() - p.x(), next.y() - p.y());
        nibSpacing = i == 0 ? spacing : std::min(nibSpacing, spacing);
        nibReach = std::max(nibReach, std::fabs(p.x()) + std::fabs(p.y()));
    }
    if (n < 2)
        return;
    capExtremes.reserve(sections.size());
    // Read through a const view: the walks read every point and need no detach checks.
    const QVector<QPointF> &points = samplePoints;
    for (const OxPathSectionPara &section : sections) {
        // The cap of a segment ending in this sector: from its right index round to its left.
        CapExtremes e;
        e.leftmost = e.rightmost = e.topmost = e.bottommost = points[section.rightIndex];
        walk(section.rightIndex, section.leftIndex, +1, [&](int k) {
            const QPointF &p = points[k];
            if (p.x() < e.leftmost.x())
                e.leftmost = p;
            if (p.x() > e.rightmost.x())
                e.rightmost = p;
            if (p.y() < e.topmost.y())
                e.topmost = p;
            if (p.y() > e.bottommost.y())
                e.bottommost = p;
        });
        capExtremes.append(e);
    }
}

bool OxPathBuilder::placedPointsStayApart(const QMatrix &placement) const
{
    // Placed neighbours lie at least scale * nibSpacing apart; QPointF's equality takes points
    // for one another only within about 1e-12 of their size (bounded by the reach), so a wide
    // margin (4) over that leaves no doubt. A placement only scales and moves, so every placed
    // point lies within size of the origin: finite where the test holds.
    const double scale = std::fabs(placement.m11());
    const double size = std::fabs(placement.dx()) + std::fabs(placement.dy()) + scale * nibReach;
    return capExtremes.size() == sections.size() && scale * nibSpacing > 4e-12 * (size + 1);
}

QVarLengthArray<QPointF, 256> OxPathBuilder::capPoints(const QMatrix &placement, QPointF first,
                                                       int from, int to) const
{
    Polyline cap;
    cap.append(first);
    if (!placedPointsStayApart(placement)) {
        walk(from, to, +1, [&](int k) { appendToPolyline(cap, nibPoint(placement, k)); });
        return cap;
    }
    // Only the first step can meet a point equal to the one before: the cap's first point need
    // not be a nib point.
    bool firstStep = true;
    walk(from, to, +1, [&](int k) {
        const QPointF p = nibPoint(placement, k);
        if (firstStep) {
            appendToPolyline(cap, p);
            firstStep = false;
        } else {
            cap.append(p);
        }
    });
    return cap;
}

QPainterPath OxPathBuilder::capPath(const QMatrix &placement, QPointF first, int from,
                                    int to) const
{
    return pathThrough(capPoints(placement, first, from, to));
}

const QPainterPath &OxPathBuilder::currentEndCap()
{
    if (endCapPending) {
        endCap = capPath(endCapPlacement, endCapStart, endCapFrom, endCapTo);
        endCapPending = false;
    }
    return endCap;
}

QRectF OxPathBuilder::addSegment(float x0, float y0, float w0, float x1, float y1, float w1)
{
    if (!hasUsableNib() || !allFinite({x0, y0, w0, x1, y1, w1}))
        return QRectF();

    if (sidesEmpty()) {
        QRectF changed;
        if (!nibOnlyPath.isEmpty()) {
            changed = beginOutline(anchorX, anchorY, anchorWidth, x1, y1, w1);
        } else {
            changed = beginOutline(x0, y0, w0, x1, y1, w1);
            if (sidesEmpty()) {
                anchorX = x0;
                anchorY = y0;
                anchorWidth = w0;
            }
        }
        anchorHeld = false;
        return changed;
    }

    const float tx = anchorHeld ? anchorX : x0;
    const float ty = anchorHeld ? anchorY : y0;
    const float tw = anchorHeld ? anchorWidth : w0;
    const QRectF changed = extendOutline(tx, ty, tw, x1, y1, w1);
    if (changed.isEmpty()) {
        // Dropped: the next segment starts again from here.
        anchorX = tx;
        anchorY = ty;
        anchorWidth = tw;
        anchorHeld = true;
    } else {
        anchorX = x1;
        anchorY = y1;
        anchorWidth = w1;
        anchorHeld = false;
    }
    return changed;
}

QRectF OxPathBuilder::beginOutline(float x0, float y0, float w0, float x1, float y1, float w1)
{
    resetOutline();
    if (!hasUsableNib())
        return QRectF();

    const OxPathSectionPara *startSector = nullptr, *endSector = nullptr;
    QMatrix m0, m1;
    QRectF startRect, endRect;
    switch (placeEnds(x0, y0, w0, x1, y1, w1, startSector, m0, startRect, endSector, m1,
                      endRect)) {
    case kStartNibCoversEnd:
        nibOnlyPath = m0.map(samplePath);
        return nibOnlyPath.boundingRect();
    case kEndNibCoversStart:
        nibOnlyPath = m1.map(samplePath);
        return nibOnlyPath.boundingRect();
    default:
        break;
    }

    const OxPathSectionPara &start = *startSector, &end = *endSector;
    const QPointF sr = nibPoint(m0, start.rightIndex), sl = nibPoint(m0, start.leftIndex);
    const QPointF el = nibPoint(m1, end.rightIndex), er = nibPoint(m1, end.leftIndex);
    if (sidesAsPoints) {
        const Polyline cap = capPoints(m0, sr, start.rightIndex, start.leftIndex);
        startCapPoints.assign(cap.begin(), cap.end());
        beginSides(leftPoints, rightPoints, sr, er, cap.last(), el);
    } else {
        startCap = capPath(m0, sr, start.rightIndex, start.leftIndex);
        beginSides(leftSide, rightSide, sr, er, startCap.currentPosition(), el);
    }
    deferEndCap(m1, el, end.rightIndex, end.leftIndex);

    lastStartRight = start.rightIndex;
    lastStartLeft = start.leftIndex;
    lastEndRight = end.leftIndex;
    lastEndLeft = end.rightIndex;
    setLastCorners(sr, sl, el, er);
    // Whether the first segment changed anything depends on nothing but its placement.
    return changeBoundsUnread ? QRectF() : getOutlinePath().boundingRect();
}

QRectF OxPathBuilder::extendOutline(float x0, float y0, float w0, float x1, float y1, float w1)
{
    if (!hasUsableNib() || lastCorners.size() != 4)
        return QRectF();
    const OxPathSectionPara *start = nullptr, *end = nullptr;
    QMatrix m0, m1;
    QRectF startRect, endRect;
    if (placeEnds(x0, y0, w0, x1, y1, w1, start, m0, startRect, end, m1, endRect)
        != kSeparateNibs)
        return QRectF();
    return sidesAsPoints ? joinSegment(leftPoints, rightPoints, *start, m0, *end, m1)
                         : joinSegment(leftSide, rightSide, *start, m0, *end, m1);
}

template <class Side>
QRectF OxPathBuilder::joinSegment(Side &left, Side &right, const OxPathSectionPara &start,
                                  const QMatrix &m0, const OxPathSectionPara &end,
                                  const QMatrix &m1)
{
    const QPointF sr = nibPoint(m0, start.rightIndex), sl = nibPoint(m0, start.leftIndex);
    const QPointF el = nibPoint(m1, end.rightIndex), er = nibPoint(m1, end.leftIndex);
    const QPolygonF &corners = lastCorners;   // read without a check for sharing
    const QPointF previousStartRight = corners[0];
    const QPointF previousEndLeft = corners[2], previousEndRight = corners[3];

    // The end cap goes round the new end's nib; it is made only when the outline is read. Where
    // no cap point can be dropped as a duplicate, the cap's box comes from its extreme points.
    QRectF capBox;
    const bool capBoxKnown = placedPointsStayApart(m1);
    if (capBoxKnown) {
        // end is one of the sectors; at(): a shared table stays shared.
        const CapExtremes &e = capExtremes.at(int(&end - sections.constData()));
        const double x0 = mapped(m1, e.leftmost).x(), x1 = mapped(m1, e.rightmost).x();
        const double y0 = mapped(m1, e.topmost).y(), y1 = mapped(m1, e.bottommost).y();
        capBox = QRectF(QPointF(std::min(x0, x1), std::min(y0, y1)),
                        QPointF(std::max(x0, x1), std::max(y0, y1)));
    }
    // The changed piece holds the cap, so a cap box of some area says that it is not empty;
    // when that is all that is asked, the piece is not followed.
    const bool track = !(changeBoundsUnread && capBoxKnown && !capBox.isEmpty());

    // Left side: a join drawn along the nib on the outer side of a turn, a straight cut on the
    // inner side (the overlap is filled by the winding rule). The changed piece starts where
    // the side ended.
    PieceBounds changed;
    changed.moveTo(left.currentPosition());
    auto addLeft = [&](QPointF p) {
        left.lineTo(p);
        if (track)
            changed.lineTo(p);
    };
    const int newLeft = start.leftIndex;
    if (newLeft == lastEndLeft) {
        addLeft(el);
    } else if (newLeft == lastEndRight
               || !isSameSide(previousEndLeft, previousEndRight, previousStartRight, sl)) {
        walkSide(left, lastEndLeft, newLeft, +1, m0, !track, addLeft);
        addLeft(el);
    } else {
        addLeft(sl);
        addLeft(el);
    }

    if (track) {
        if (capBoxKnown)
            changed.connect(el, capBox, er);
        else
            changed.connect(capPoints(m1, el, end.rightIndex, end.leftIndex));
    }
    deferEndCap(m1, el, end.rightIndex, end.leftIndex);

    // Right side, the mirror image: its outer joins walk the nib backwards. The changed piece
    // takes its new points in reverse, from the end cap back to where the side ended.
    Polyline rightPiece;
    rightPiece.append(right.currentPosition());
    auto addRight = [&](QPointF p) {
        right.lineTo(p);
        if (track)
            appendToPolyline(rightPiece, p);
    };
    const int newRight = start.rightIndex;
    if (newRight == lastEndRight) {
        addRight(er);
    } else if (newRight == lastEndLeft
               || !isSameSide(previousEndLeft, previousEndRight, previousStartRight, sr)) {
        walkSide(right, lastEndRight, newRight, -1, m0, !track, addRight);
        addRight(er);
    } else {
        addRight(sr);
        addRight(er);
    }

    lastStartRight = newRight;
    lastStartLeft = newLeft;
    lastEndRight = end.leftIndex;
    lastEndLeft = end.rightIndex;
    setLastCorners(sr, sl, el, er);
    if (!track)
        return capBox;
    std::reverse(rightPiece.begin(), rightPiece.end());
    changed.connect(rightPiece);
    return changed.bounds();
}

template <class Side, class Add>
void OxPathBuilder::walkSide(Side &side, int from, int to, int step, const QMatrix &placement,
                             bool sideAlone, Add add)
{
    if constexpr (std::is_same_v<Side, PointSide>) {
        if (sideAlone && placedPointsStayApart(placement)) {
            // Only the first step can repeat the side's last point.
            bool firstStep = true;
            walk(from, to, step, [&](int k) {
                const QPointF p = nibPoint(placement, k);
                if (firstStep)
                    side.lineTo(p);
                else
                    side.appendApart(p);
                firstStep = false;
            });
            return;
        }
    }
    walk(from, to, step, [&](int k) { add(nibPoint(placement, k)); });
}

void OxPathBuilder::deferEndCap(const QMatrix &placement, QPointF first, int from, int to)
{
    endCapPending = true;
    endCapPlacement = placement;
    endCapStart = first;
    endCapFrom = from;
    endCapTo = to;
}

void OxPathBuilder::setLastCorners(QPointF sr, QPointF sl, QPointF el, QPointF er)
{
    if (lastCorners.size() != 4)
        lastCorners.resize(4);   // after clear() it still has its room: no allocation per segment
    QPointF *c = lastCorners.data();
    c[0] = sr;
    c[1] = sl;
    c[2] = el;
    c[3] = er;
}

bool OxPathBuilder::sidesEmpty() const
{
    return sidesAsPoints ? rightPoints.isEmpty() : rightSide.isEmpty();
}

template <class Side>
void OxPathBuilder::beginSides(Side &left, Side &right, QPointF sr, QPointF er, QPointF leftStart,
                               QPointF el)
{
    right.moveTo(sr);
    right.lineTo(er);
    left.moveTo(leftStart);
    left.lineTo(el);
}

namespace {
// Appends the points first .. last to an outline under construction (from begin to end, where
// there is room) as QPainterPath::connectPath appends the path through them (one move-to, then
// line-tos): fewer than two points make no path and add nothing; an outline that is no more
// than a move-to gives way to them; otherwise the first is left out where it equals the
// outline's last point. Returns the outline's new end.
template <class Iterator>
QPointF *connectRun(QPointF *begin, QPointF *end, Iterator first, Iterator last)
{
    if (last - first < 2)
        return end;
    if (end - begin <= 1)
        end = begin;
    else if (*first == end[-1])
        ++first;
    return std::copy(first, last, end);
}

// QPainterPath::boundingRect of the path through points, which holds no neighbours equal as
// QPointF: the same comparisons over the same coordinates in the same order.
QRectF boundsOf(const QPointF *points, int count)
{
    if (count == 0)
        return QRectF();
    double minX = points[0].x(), maxX = minX, minY = points[0].y(), maxY = minY;
    for (int i = 1; i < count; ++i) {
        const double x = points[i].x(), y = points[i].y();
        if (x > maxX)
            maxX = x;
        else if (x < minX)
            minX = x;
        if (y > maxY)
            maxY = y;
        else if (y < minY)
            minY = y;
    }
    return QRectF(minX, minY, maxX - minX, maxY - minY);
}
} // namespace

QPainterPath OxPathBuilder::assembledOutline(QRectF &bounds)
{
    const std::vector<QPointF> &left = leftPoints.all(), &right = rightPoints.all();
    Polyline cap;
    if (endCapPending) {
        cap = capPoints(endCapPlacement, endCapStart, endCapFrom, endCapTo);
    } else {
        for (int i = 0; i < endCap.elementCount(); ++i)
            cap.append(QPointF(endCap.elementAt(i)));
    }
    // Room for every point, then cut to what the joins leave (the polygon keeps its room).
    polygon.resize(int(startCapPoints.size() + left.size() + size_t(cap.size()) + right.size()));
    QPointF *const begin = polygon.data();
    QPointF *end = std::copy(startCapPoints.begin(), startCapPoints.end(), begin);
    end = connectRun(begin, end, left.begin(), left.end());
    end = connectRun(begin, end, cap.begin(), cap.end());
    end = connectRun(begin, end, right.rbegin(), right.rend());
    polygon.resize(int(end - begin));
    bounds = boundsOf(begin, polygon.size());
    QPainterPath outline;
    outline.reserve(bufferRoomFor(polygon.size() + 1));
    outline.addPolygon(polygon);
    outline.closeSubpath();
    outline.setFillRule(Qt::WindingFill);
    // The points stay: growing the polygon for the next outline then sets only the points
    // beyond them.
    if (keepsTooMuchRoom(polygon))
        forgetOrKeepRoom(polygon);
    return outline;
}

QPainterPath OxPathBuilder::outlineWithBounds(QRectF &bounds)
{
    if (sidesAsPoints && !leftPoints.isEmpty())
        return assembledOutline(bounds);
    QPainterPath outline = getOutlinePath();
    bounds = outline.boundingRect();
    return outline;
}

QPainterPath OxPathBuilder::getOutlinePath()
{
    if (sidesAsPoints ? leftPoints.isEmpty() : leftSide.isEmpty()) {
        nibOnlyPath.setFillRule(Qt::WindingFill);
        return nibOnlyPath;
    }
    if (sidesAsPoints) {
        QRectF bounds;
        return assembledOutline(bounds);
    }
    QPainterPath outline = startCap;
    // One allocation for the whole outline (it may hold hundreds of thousands of elements), of a
    // size that repeats from call to call.
    const QPainterPath &cap = currentEndCap();
    outline.reserve(bufferRoomFor(startCap.elementCount() + leftSide.elementCount()
                                  + cap.elementCount() + rightSide.elementCount() + 1));
    outline.connectPath(leftSide);
    outline.connectPath(cap);
    outline.connectPath(reversedPolyline(rightSide));
    outline.closeSubpath();
    outline.setFillRule(Qt::WindingFill);
    return outline;
}

bool OxPathBuilder::continueFromCorners(const QPolygonF &corners, int endRight, int endLeft)
{
    const int n = samplePoints.size();
    auto isNibPoint = [n](int k) { return k >= 0 && k < n; };
    if (corners.size() != 4 || !isNibPoint(endRight) || !isNibPoint(endLeft))
        return false;
    lastCorners = corners;
    lastEndRight = endRight;
    lastEndLeft = endLeft;
    return true;
}

void OxPathBuilder::resetOutline()
{
    nibOnlyPath = QPainterPath();
    rightSide = QPainterPath();
    leftSide = QPainterPath();
    leftPoints.clear();
    rightPoints.clear();
    startCapPoints.clear();
    endCap = QPainterPath();
    endCapPending = false;
    startCap = QPainterPath();
    lastStartRight = lastStartLeft = lastEndRight = lastEndLeft = -1;
    lastCorners.clear();
}

#pragma GCC diagnostic pop
