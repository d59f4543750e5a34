// The nib of an outline builder: installing it, its table of tangent points per direction, and
// placing it at the two ends of a segment.

#include "OxGeometry.h"
#include "OxLineAngles_p.h"
#include "OxNibTangents_p.h"
#include "OxPathBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr int kSectorCount = 80;
// pi / 40: the sectors are 4.5 degrees wide.
constexpr float kSectorWidth = 0.07853982f;
// The probe line through the nib's centre is this long; only its direction matters.
constexpr double kProbeLength = 100;
} // namespace

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

void OxPathBuilder::setSamplePath(QPainterPath path, float size)
{
    shapeName = QStringLiteral("custom");
    samplePath = path.simplified();
    sampleCenter = samplePath.boundingRect().center();
    sampleSize = size;
    computeSections();
}

void OxPathBuilder::computeSections()
{
    lastPlaced = PlacedNib();
    sections.clear();
    samplePoints.clear();
    findSampleExtremes();
    // The last element closes the outline onto its first point.
    const int pointCount = samplePath.elementCount() - 1;
    samplePoints.reserve(std::max(pointCount, 0));
    for (int j = 0; j < pointCount; ++j) {
        const QPainterPath::Element e = samplePath.elementAt(j);
        samplePoints.append(QPointF(e.x, e.y));
    }
    const float cx = float(sampleCenter.x());
    const float cy = float(sampleCenter.y());
    const float probeX = float(sampleCenter.x() + kProbeLength);
    quillmark::detail::NibTangents tangents(samplePoints, sampleCenter);
    sections.reserve(kSectorCount);
    for (int i = 0; i < kSectorCount; ++i) {
        const float a0 = float(i) * kSectorWidth;
        const float a1 = float(i + 1) * kSectorWidth;
        // Travel in direction a0 (counter-clockwise on screen) runs from the centre to the probe.
        float qx = probeX;
        float qy = cy;
        rotatePoint(-a0, &qx, &qy, cx, cy);
        int left, right;
        tangents.find(qx, qy, left, right);
        sections.append(OxPathSectionPara(a0, a1, left, right));
    }
    findCapExtremes();
}

namespace {
bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The identity scaled by scale, then times the translation that moves the scaled centre to
// (x, y): QMatrix's scale, map, translate and product written out term by term, zero terms
// included, so that every number (down to the sign of a zero) is the one those calls give.
QMatrix placeNib(float x, float y, float scale, QPointF center)
{
    const double s = scale;
    // QMatrix().scale(s, s)
    const double m11 = 1.0 * s, m12 = 0.0 * s, m21 = 0.0 * s, m22 = 1.0 * s, dx = 0.0, dy = 0.0;
    // .map(center)
    const double cx = m11 * center.x() + m21 * center.y() + dx;
    const double cy = m12 * center.x() + m22 * center.y() + dy;
    // QMatrix().translate(tx, ty)
    const double tx = x - cx, ty = y - cy;
    const double shiftX = 0.0 + (tx * 1.0 + ty * 0.0);
    const double shiftY = 0.0 + (ty * 1.0 + tx * 0.0);
    // scaled * shift
    return QMatrix(m11 * 1.0 + m12 * 0.0, m11 * 0.0 + m12 * 1.0, m21 * 1.0 + m22 * 0.0,
                   m21 * 0.0 + m22 * 1.0, dx * 1.0 + dy * 0.0 + shiftX,
                   dx * 0.0 + dy * 1.0 + shiftY);
}

// The first sector with startAngle <= angle < endAngle, or the last sector when none matches.
// The sectors tile the circle in order (each ends where the next starts), so at most one
// matches: it is found from the guess angle / sector width instead of by walking all 80.
const OxPathSectionPara &sectionFor(const QVector<OxPathSectionPara> &sections, float angle)
{
    const int last = sections.size() - 1;
    if (!(angle >= sections.first().startAngle && angle < sections.last().endAngle))
        return sections.last();
    int i = std::clamp(int(angle / kSectorWidth), 0, last);
    while (i > 0 && sections[i].startAngle > angle)
        --i;
    while (i < last && sections[i].endAngle <= angle)
        ++i;
    const OxPathSectionPara &s = sections[i];
    return s.startAngle <= angle && angle < s.endAngle ? s : sections.last();
}

// The ends of a rectangle's extent along one axis, as QRectF::contains takes them from its
// position and a size that may be negative.
struct Extent
{
    double low, high;
};

Extent extentOf(double position, double size)
{
    return size < 0 ? Extent{position + size, position} : Extent{position, position + size};
}

// QRectF::contains(inner) with the same comparisons in the same order, inline: a segment asks it
// twice, and tails place thousands of segments a sample. A rectangle of no width or height
// contains nothing and is contained by nothing.
bool rectContains(const QRectF &outer, const QRectF &inner)
{
    const Extent ox = extentOf(outer.x(), outer.width());
    if (ox.low == ox.high)
        return false;
    const Extent ix = extentOf(inner.x(), inner.width());
    if (ix.low == ix.high)
        return false;
    if (ix.low < ox.low || ix.high > ox.high)
        return false;
    const Extent oy = extentOf(outer.y(), outer.height());
    if (oy.low == oy.high)
        return false;
    const Extent iy = extentOf(inner.y(), inner.height());
    if (iy.low == iy.high)
        return false;
    return !(iy.low < oy.low || iy.high > oy.high);
}
} // namespace

void OxPathBuilder::findSampleExtremes()
{
    const int count = samplePath.elementCount();
    sampleIsPolygon = count > 0;
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element e = samplePath.elementAt(i);
        if (!e.isMoveTo() && !e.isLineTo())
            sampleIsPolygon = false;
        const QPointF p(e.x, e.y);
        if (i == 0 || p.x() < sampleLeftmost.x())
            sampleLeftmost = p;
        if (i == 0 || p.x() > sampleRightmost.x())
            sampleRightmost = p;
        if (i == 0 || p.y() < sampleTopmost.y())
            sampleTopmost = p;
        if (i == 0 || p.y() > sampleBottommost.y())
            sampleBottommost = p;
    }
}

QRectF OxPathBuilder::placedNibBounds(const QMatrix &placement) const
{
    if (!sampleIsPolygon)
        return placement.map(samplePath).boundingRect();
    // A placement only scales and moves, so each coordinate maps monotonically: the mapped
    // extremes bound the mapped nib exactly.
    const double x0 = mapped(placement, sampleLeftmost).x();
    const double x1 = mapped(placement, sampleRightmost).x();
    const double y0 = mapped(placement, sampleTopmost).y();
    const double y1 = mapped(placement, sampleBottommost).y();
    const double left = std::min(x0, x1), top = std::min(y0, y1);
    return QRectF(left, top, std::max(x0, x1) - left, std::max(y0, y1) - top);
}

void OxPathBuilder::placeNibAt(float x, float y, float w, QMatrix &placement, QRectF &bounds)
{
    if (lastPlaced.valid && sameBits(x, lastPlaced.x) && sameBits(y, lastPlaced.y)
        && sameBits(w, lastPlaced.w)) {
        placement = lastPlaced.placement;
        bounds = lastPlaced.bounds;
        return;
    }
    placement = placeNib(x, y, w / sampleSize, sampleCenter);
    bounds = placedNibBounds(placement);
}

int OxPathBuilder::placeEnds(float x0, float y0, float w0, float x1, float y1, float w1,
                             const OxPathSectionPara *&start, QMatrix &startPlacement,
                             QRectF &startRect, const OxPathSectionPara *&end,
                             QMatrix &endPlacement, QRectF &endRect)
{
    placeNibAt(x0, y0, w0, startPlacement, startRect);
    placeNibAt(x1, y1, w1, endPlacement, endRect);
    lastPlaced = {x1, y1, w1, true, endPlacement, endRect};

    start = end = nullptr;
    if (!sections.isEmpty()) {
        float forward, backward;
        quillmark::detail::lineAngles(x0, y0, x1, y1, true, forward, backward);
        start = &sectionFor(sections, forward);
        // Seen from the end, travel runs backwards: its left index is on the forward right.
        end = &sectionFor(sections, backward);
    }

    if (rectContains(startRect, endRect))
        return kStartNibCoversEnd;
    if (rectContains(endRect, startRect))
        return kEndNibCoversStart;
    return kSeparateNibs;
}

int OxPathBuilder::placeSegment(float x0, float y0, float w0, float x1, float y1, float w1,
                                OxPathSectionPara &startSection, QMatrix &startPlacement,
                                QRectF &startRect, OxPathSectionPara &endSection,
                                QMatrix &endPlacement, QRectF &endRect)
{
    const OxPathSectionPara *start = nullptr, *end = nullptr;
    const int placement =
        placeEnds(x0, y0, w0, x1, y1, w1, start, startPlacement, startRect, end, endPlacement,
                  endRect);
    if (start) {
        startSection = *start;
        endSection = *end;
    }
    return placement;
}

#pragma GCC diagnostic pop
