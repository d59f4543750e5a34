// Exact proximity and containment tests against the edges of a stroke's ink.

#include "OxInkEdges_p.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillmark::detail {

namespace {
struct Point
{
    double x, y;
};

Point onGrid(QPointF p)
{
    return {p.x() * kInkScale, p.y() * kInkScale};
}

double squaredDistanceToSegment(Point p, Point a, Point b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
    return ex * ex + ey * ey;
}

double cross(Point o, Point a, Point b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Whether segments ab and cd share a point (touching counts).
bool segmentsMeet(Point a, Point b, Point c, Point d)
{
    const double d1 = cross(c, d, a), d2 = cross(c, d, b);
    const double d3 = cross(a, b, c), d4 = cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
        return true;
    auto onSegment = [](Point p, Point q, Point r) {  // r on pq, given the three are collinear
        return std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) && std::min(p.y, q.y) <= r.y
               && r.y <= std::max(p.y, q.y);
    };
    return (d1 == 0 && onSegment(c, d, a)) || (d2 == 0 && onSegment(c, d, b))
           || (d3 == 0 && onSegment(a, b, c)) || (d4 == 0 && onSegment(a, b, d));
}

double squaredSegmentDistance(Point a, Point b, Point c, Point d)
{
    if (segmentsMeet(a, b, c, d))
        return 0;
    return std::min(std::min(squaredDistanceToSegment(a, c, d), squaredDistanceToSegment(b, c, d)),
                    std::min(squaredDistanceToSegment(c, a, b), squaredDistanceToSegment(d, a, b)));
}
} // namespace

OxInkEdges::OxInkEdges(const OxInk &ink) : reach(ink.reach * kInkScale)
{
    quint32 start = 0;
    for (quint32 size : ink.ringSizes) {
        const qint32 *ring = ink.xy.data() + 2 * size_t(start);
        // A ring closes back to its first point; a line does not (a line of one point is a
        // dot: one edge of no length).
        const quint32 edges = ink.isLine() ? std::max(size, 2u) - 1 : size;
        for (quint32 first = 0; first < edges; first += kRunEdges) {
            Run run{std::numeric_limits<qint32>::max(), std::numeric_limits<qint32>::max(),
                    std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::min(),
                    start, size, first, std::min(kRunEdges, edges - first)};
            for (quint32 i = first; i <= first + run.count; ++i) {
                const quint32 k = i % size;
                run.left = std::min(run.left, ring[2 * k]);
                run.right = std::max(run.right, ring[2 * k]);
                run.top = std::min(run.top, ring[2 * k + 1]);
                run.bottom = std::max(run.bottom, ring[2 * k + 1]);
            }
            runs.push_back(run);
            const bool firstRun = runs.size() == 1;
            left = firstRun ? run.left : std::min(left, run.left);
            top = firstRun ? run.top : std::min(top, run.top);
            right = firstRun ? run.right : std::max(right, run.right);
            bottom = firstRun ? run.bottom : std::max(bottom, run.bottom);
        }
        start += size;
    }
    runs.shrink_to_fit();
}

template <class Visit>
bool OxInkEdges::anyEdge(const OxInk &ink, double left, double top, double right, double bottom,
                         Visit visit) const
{
    if (this->right < left || this->left > right || this->bottom < top || this->top > bottom)
        return false;
    for (const Run &run : runs) {
        if (run.right < left || run.left > right || run.bottom < top || run.top > bottom)
            continue;
        const qint32 *ring = ink.xy.data() + 2 * size_t(run.ringStart);
        for (quint32 i = run.first; i < run.first + run.count; ++i) {
            const quint32 j = i + 1 == run.ringSize ? 0 : i + 1;
            if (visit(Point{double(ring[2 * i]), double(ring[2 * i + 1])},
                      Point{double(ring[2 * j]), double(ring[2 * j + 1])}))
                return true;
        }
    }
    return false;
}

bool OxInkEdges::contains(const OxInk &ink, QPointF at) const
{
    if (reach > 0)
        return false;
    // Winding number along a ray to the right: only edges that straddle the ray's line count.
    const Point p = onGrid(at);
    int winding = 0;
    anyEdge(ink, p.x, p.y, std::numeric_limits<double>::infinity(), p.y, [&](Point a, Point b) {
        if (a.y <= p.y) {
            if (b.y > p.y && cross(a, b, p) > 0)
                ++winding;
        } else if (b.y <= p.y && cross(a, b, p) < 0) {
            --winding;
        }
        return false;
    });
    return winding != 0;
}

bool OxInkEdges::touchesDisc(const OxInk &ink, QPointF centre, double radius) const
{
    const Point p = onGrid(centre);
    const double r = radius * kInkScale + reach, r2 = r * r;
    return anyEdge(ink, p.x - r, p.y - r, p.x + r, p.y + r,
                   [&](Point a, Point b) { return squaredDistanceToSegment(p, a, b) <= r2; })
           || contains(ink, centre);
}

bool OxInkEdges::touchesCapsule(const OxInk &ink, QPointF from, QPointF to, double radius) const
{
    const Point a = onGrid(from), b = onGrid(to);
    const double r = radius * kInkScale + reach, r2 = r * r;
    return anyEdge(ink, std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r,
                   std::max(a.y, b.y) + r,
                   [&](Point c, Point d) { return squaredSegmentDistance(a, b, c, d) <= r2; })
           || contains(ink, from);
}

bool OxInkEdges::crosses(const OxInk &ink, const OxInkEdges &otherEdges,
                         const OxInk &other) const
{
    for (const Run &run : otherEdges.runs) {
        const qint32 *ring = other.xy.data() + 2 * size_t(run.ringStart);
        if (anyEdge(ink, run.left, run.top, run.right, run.bottom, [&](Point c, Point d) {
                for (quint32 i = run.first; i < run.first + run.count; ++i) {
                    const quint32 j = i + 1 == run.ringSize ? 0 : i + 1;
                    if (segmentsMeet(Point{double(ring[2 * i]), double(ring[2 * i + 1])},
                                     Point{double(ring[2 * j]), double(ring[2 * j + 1])}, c, d))
                        return true;
                }
                return false;
            }))
            return true;
    }
    return false;
}

} // namespace quillmark::detail
