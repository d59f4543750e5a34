// Assembling the swept outline segment by segment.

#include "OxPathBuilder.h"

#include "OxGeometry.h"

#include <cmath>

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
    QPolygonF reversed(n);
    for (int i = 0; i < n; ++i) {
        const QPainterPath::Element e = side.elementAt(n - 1 - i);
        reversed[i] = QPointF(e.x, e.y);
    }
    QPainterPath path;
    path.addPolygon(reversed);
    return path;
}

// Appends every point to the side being built and to the piece that reports the change.
struct SideWriter
{
    QPainterPath &side;
    QPainterPath *piece;

    void lineTo(QPointF p)
    {
        side.lineTo(p);
        if (piece)
            piece->lineTo(p);
    }
};
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
}

bool OxPathBuilder::hasUsableNib() const
{
    return samplePoints.size() >= 2 && sections.size() > 0 && std::isfinite(sampleSize)
           && sampleSize != 0;
}

QPointF OxPathBuilder::nibPoint(const QMatrix &placement, int index) const
{
    return placement.map(samplePoints.at(index));
}

// Appends the nib points after from, up to and including to, going round the nib in index
// order; from == to goes once around the whole nib.
void OxPathBuilder::walkForward(const QMatrix &placement, int from, int to, QPainterPath &path,
                                QPainterPath *piece) const
{
    SideWriter out{path, piece};
    const int n = samplePoints.size();
    int k = from;
    for (int steps = 0; steps < n; ++steps) {
        k = (k + 1) % n;
        out.lineTo(nibPoint(placement, k));
        if (k == to)
            break;
    }
}

// The same against index order.
void OxPathBuilder::walkBackward(const QMatrix &placement, int from, int to, QPainterPath &path,
                                 QPainterPath *piece) const
{
    SideWriter out{path, piece};
    const int n = samplePoints.size();
    int k = from;
    for (int steps = 0; steps < n; ++steps) {
        k = (k + n - 1) % n;
        out.lineTo(nibPoint(placement, k));
        if (k == to)
            break;
    }
}

QRectF OxPathBuilder::addSegment(float x0, float y0, float w0, float x1, float y1, float w1)
{
    if (!hasUsableNib() || !allFinite({x0, y0, w0, x1, y1, w1}))
        return QRectF();

    if (rightSide.isEmpty()) {
        QRectF changed;
        if (!nibOnlyPath.isEmpty()) {
            changed = beginOutline(anchorX, anchorY, anchorWidth, x1, y1, w1);
        } else {
            changed = beginOutline(x0, y0, w0, x1, y1, w1);
            if (rightSide.isEmpty()) {
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

    OxPathSectionPara start, end;
    QMatrix m0, m1;
    QRectF startRect, endRect;
    switch (placeSegment(x0, y0, w0, x1, y1, w1, start, m0, startRect, end, m1, endRect)) {
    case kStartNibCoversEnd:
        nibOnlyPath = m0.map(samplePath);
        return nibOnlyPath.boundingRect();
    case kEndNibCoversStart:
        nibOnlyPath = m1.map(samplePath);
        return nibOnlyPath.boundingRect();
    default:
        break;
    }

    const QPointF sr = nibPoint(m0, start.rightIndex), sl = nibPoint(m0, start.leftIndex);
    const QPointF el = nibPoint(m1, end.rightIndex), er = nibPoint(m1, end.leftIndex);
    rightSide.moveTo(sr);
    rightSide.lineTo(er);
    startCap.moveTo(sr);
    walkForward(m0, start.rightIndex, start.leftIndex, startCap, nullptr);
    leftSide.moveTo(startCap.currentPosition());
    leftSide.lineTo(el);
    endCap.moveTo(el);
    walkForward(m1, end.rightIndex, end.leftIndex, endCap, nullptr);

    lastStartRight = start.rightIndex;
    lastStartLeft = start.leftIndex;
    lastEndRight = end.leftIndex;
    lastEndLeft = end.rightIndex;
    lastCorners = QPolygonF({sr, sl, el, er});
    return getOutlinePath().boundingRect();
}

QRectF OxPathBuilder::extendOutline(float x0, float y0, float w0, float x1, float y1, float w1)
{
    if (!hasUsableNib() || lastCorners.size() != 4)
        return QRectF();
    OxPathSectionPara start, end;
    QMatrix m0, m1;
    QRectF startRect, endRect;
    if (placeSegment(x0, y0, w0, x1, y1, w1, start, m0, startRect, end, m1, endRect)
        != kSeparateNibs)
        return QRectF();

    const QPointF sr = nibPoint(m0, start.rightIndex), sl = nibPoint(m0, start.leftIndex);
    const QPointF el = nibPoint(m1, end.rightIndex), er = nibPoint(m1, end.leftIndex);
    const QPointF previousStartRight = lastCorners[0];
    const QPointF previousEndLeft = lastCorners[2], previousEndRight = lastCorners[3];

    // Left side: a join drawn along the nib on the outer side of a turn, a straight cut on the
    // inner side (the overlap is filled by the winding rule).
    QPainterPath changed;
    changed.moveTo(leftSide.currentPosition());
    SideWriter left{leftSide, &changed};
    const int newLeft = start.leftIndex;
    if (newLeft == lastEndLeft) {
        left.lineTo(el);
    } else if (newLeft == lastEndRight
               || !isSameSide(previousEndLeft, previousEndRight, previousStartRight, sl)) {
        walkForward(m0, lastEndLeft, newLeft, leftSide, &changed);
        left.lineTo(el);
    } else {
        left.lineTo(sl);
        left.lineTo(el);
    }

    endCap = QPainterPath();
    endCap.moveTo(el);
    walkForward(m1, end.rightIndex, end.leftIndex, endCap, nullptr);
    changed.connectPath(endCap);

    // Right side, the mirror image: its outer joins walk the nib backwards.
    QPainterPath changedRight;
    changedRight.moveTo(rightSide.currentPosition());
    SideWriter right{rightSide, &changedRight};
    const int newRight = start.rightIndex;
    if (newRight == lastEndRight) {
        right.lineTo(er);
    } else if (newRight == lastEndLeft
               || !isSameSide(previousEndLeft, previousEndRight, previousStartRight, sr)) {
        walkBackward(m0, lastEndRight, newRight, rightSide, &changedRight);
        right.lineTo(er);
    } else {
        right.lineTo(sr);
        right.lineTo(er);
    }
    changed.connectPath(changedRight.toReversed());

    lastStartRight = newRight;
    lastStartLeft = newLeft;
    lastEndRight = end.leftIndex;
    lastEndLeft = end.rightIndex;
    lastCorners = QPolygonF({sr, sl, el, er});
    return changed.boundingRect();
}

QPainterPath OxPathBuilder::getOutlinePath()
{
    if (leftSide.isEmpty()) {
        nibOnlyPath.setFillRule(Qt::WindingFill);
        return nibOnlyPath;
    }
    QPainterPath outline = startCap;
    // One allocation for the whole outline (it may hold hundreds of thousands of elements).
    outline.reserve(startCap.elementCount() + leftSide.elementCount() + endCap.elementCount()
                    + rightSide.elementCount() + 1);
    outline.connectPath(leftSide);
    outline.connectPath(endCap);
    outline.connectPath(reversedPolyline(rightSide));
    outline.closeSubpath();
    outline.setFillRule(Qt::WindingFill);
    return outline;
}

void OxPathBuilder::resetOutline()
{
    nibOnlyPath = QPainterPath();
    rightSide = QPainterPath();
    leftSide = QPainterPath();
    endCap = QPainterPath();
    startCap = QPainterPath();
    lastStartRight = lastStartLeft = lastEndRight = lastEndLeft = -1;
    lastCorners.clear();
}

#pragma GCC diagnostic pop
