// Rebuilding the filled engine's outline from a finished centre line, afresh or by copying the
// side pieces another engine computed for the same segments.

#include "OxStrokesFixWidthFill.h"

#include "OxStrokeEnd_p.h"

#include <algorithm>
#include <memory>

using namespace quillmark::detail;

namespace {
// True when both sides' element counts are recorded for the segment index and for the one
// before it, so that copying that segment reads only what was actually built. A negative index
// is never recorded (and the one before the lowest int does not exist).
bool hasSideCounts(const QMap<int, int> &left, const QMap<int, int> &right, int index)
{
    if (index < 0)
        return false;
    const bool previous = index == 0 || (left.contains(index - 1) && right.contains(index - 1));
    return left.contains(index) && right.contains(index) && previous;
}
} // namespace

void OxStrokesFixWidthFill::buildPathFromXY(std::vector<OxInkPoint> &points, QPainterPath &path,
                                            float width)
{
    path = QPainterPath();
    if (&points != &smoothedPoints)
        smoothedPoints = points;
    for (size_t i = 0; i < points.size(); ++i) {
        if (i == 0)
            path.moveTo(position(points[i]));
        else
            path.lineTo(position(points[i]));
    }
    setWholePath(QPainterPath());
    pathGenerator->resetOutline();
    computePaths(points, 0, int(points.size()) - 1, width);
    wholePathFollowsGenerator();
}

void OxStrokesFixWidthFill::buildPathFromXY(std::vector<OxInkPoint> &points, QPainterPath &path,
                                            float width, OxStrokesFixWidthFill *other,
                                            std::vector<int> &indices)
{
    if (points.size() <= 3) {
        buildPathFromXY(points, path, width);
        return;
    }
    // smoothedPoints grows below, and points may be that very vector.
    std::vector<OxInkPoint> line = points;
    const int n = int(line.size());

    path = QPainterPath();
    for (int i = 0; i < n - 1; ++i) {
        if (i == 0)
            path.moveTo(position(line[size_t(i)]));
        else
            path.lineTo(position(line[size_t(i)]));
        smoothedPoints.push_back(line[size_t(i)]);
    }
    setWholePath(QPainterPath());
    pathGenerator->resetOutline();
    leftSideCounts.clear();
    rightSideCounts.clear();

    // Copying from this engine itself would read the counts just cleared.
    const bool haveOther = other && other != this;
    bool copying = false;
    for (int i = 0; i < n - 1; ++i) {
        OxInkPoint &a = line[size_t(i)];
        OxInkPoint &b = line[size_t(i) + 1];
        if (i == n - 2) {
            if (fillLastIndexsInPath(line, width, a, b)) {
                path.lineTo(position(b));
                smoothedPoints.push_back(b);
            }
        } else {
            const int k = size_t(i) < indices.size() ? indices[size_t(i)] : -1;
            if (copying && haveOther
                && hasSideCounts(other->leftSideCounts, other->rightSideCounts, k)) {
                fillIndexsInPath(pathGenerator->rightSide, k, other->rightSideCounts,
                                 other->pathGenerator->rightSide);
                fillIndexsInPath(pathGenerator->leftSide, k, other->leftSideCounts,
                                 other->pathGenerator->leftSide);
            } else {
                pathGenerator->addSegment(a.x, a.y, width / 2, b.x, b.y, width / 2);
            }
            copying = copying || !pathGenerator->rightSide.isEmpty();
        }
        computePoints2PathInfo(i, pathGenerator);
    }
    wholePathFollowsGenerator();
}

void OxStrokesFixWidthFill::fillIndexsInPath(QPainterPath &dst, int index,
                                             QMap<int, int> &sideCounts, QPainterPath &src)
{
    const int available = src.elementCount();
    const int last = std::min(sideCounts[index], available);
    if (last <= -1)
        return;
    int first = index > 0 ? std::max(sideCounts[index - 1], 0) : 0;
    if (dst.isEmpty()) {
        if (first >= available)
            return;
        const QPainterPath::Element e = src.elementAt(first);
        dst.moveTo(e.x, e.y);
        ++first;
    }
    for (int k = first; k < last; ++k) {
        const QPainterPath::Element e = src.elementAt(k);
        dst.lineTo(e.x, e.y);
    }
}

bool OxStrokesFixWidthFill::fillLastIndexsInPath(std::vector<OxInkPoint> &points, float width,
                                                 OxInkPoint &a, OxInkPoint &b)
{
    const size_t n = points.size();
    if (n < 3)
        return false;
    std::unique_ptr<OxPathGenerator> backward(pathGenerator->clone());
    const float r = width * 0.5f;
    const OxInkPoint &p1 = points[n - 1], &p2 = points[n - 2], &p3 = points[n - 3];
    backward->addSegment(p1.x, p1.y, r, p2.x, p2.y, r);
    backward->addSegment(p2.x, p2.y, r, p3.x, p3.y, r);
    if (backward->lastCorners.size() != 4)
        return false;

    // The backward run's start at points[n - 2] is, seen forwards, the end of the segment
    // before a -> b: its sides swap.
    const QPolygonF &corners = backward->lastCorners;
    pathGenerator->continueFromCorners(QPolygonF({corners[2], corners[3], corners[0], corners[1]}),
                                       backward->lastStartLeft, backward->lastStartRight);
    pathGenerator->addSegment(a.x, a.y, r, b.x, b.y, r);
    return true;
}
