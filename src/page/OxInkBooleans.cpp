// The page's polygon booleans through Clipper, on the grid of OxInk.

#include "OxInkBooleans_p.h"

#include <clipper.hpp>

#include <algorithm>
#include <cmath>

namespace quillmark::detail {

namespace {
using ClipperLib::Path;
using ClipperLib::Paths;

bool gridPoint(double x, double y, Path &path)
{
    qint64 gx = 0, gy = 0;
    if (!toGrid(x, gx) || !toGrid(y, gy))
        return false;
    path.emplace_back(gx, gy);
    return true;
}

template <class Number>
bool gridPath(const Number *xy, int count, Path &path)
{
    path.clear();
    path.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        if (!gridPoint(xy[2 * i], xy[2 * i + 1], path))
            return false;
    }
    return true;
}

Paths pathsOf(const OxInk &ink)
{
    Paths paths(ink.ringSizes.size());
    size_t at = 0;
    for (size_t r = 0; r < ink.ringSizes.size(); ++r) {
        paths[r].reserve(ink.ringSizes[r]);
        for (quint32 i = 0; i < ink.ringSizes[r]; ++i, ++at)
            paths[r].emplace_back(ink.xy[2 * at], ink.xy[2 * at + 1]);
    }
    return paths;
}

Paths pathsOf(const OxInkRegion &region)
{
    Paths paths(region.rings.size());
    for (size_t r = 0; r < region.rings.size(); ++r) {
        for (size_t i = 0; i + 1 < region.rings[r].size(); i += 2)
            paths[r].emplace_back(region.rings[r][i], region.rings[r][i + 1]);
    }
    return paths;
}

void appendRing(const Path &ring, OxInk &ink)
{
    ink.ringSizes.push_back(quint32(ring.size()));
    for (const ClipperLib::IntPoint &p : ring) {
        ink.xy.push_back(qint32(p.X));
        ink.xy.push_back(qint32(p.Y));
    }
}

OxInk inkOf(const Paths &paths)
{
    OxInk ink;
    for (const Path &ring : paths) {
        if (ring.size() >= 3)
            appendRing(ring, ink);
    }
    return ink;
}

OxInkRegion regionOf(Paths &&paths)
{
    OxInkRegion region;
    for (const Path &ring : paths) {
        std::vector<qint64> xy;
        xy.reserve(2 * ring.size());
        for (const ClipperLib::IntPoint &p : ring) {
            xy.push_back(p.X);
            xy.push_back(p.Y);
        }
        region.rings.push_back(std::move(xy));
    }
    return region;
}

// The parts below outline in the tree: outline with its holes first, then the islands inside
// those holes, depth first.
void collectParts(const ClipperLib::PolyNode &outline, std::vector<OxInk> &parts)
{
    OxInk part;
    appendRing(outline.Contour, part);
    for (const ClipperLib::PolyNode *hole : outline.Childs)
        appendRing(hole->Contour, part);
    parts.push_back(std::move(part));
    for (const ClipperLib::PolyNode *hole : outline.Childs) {
        for (const ClipperLib::PolyNode *island : hole->Childs)
            collectParts(*island, parts);
    }
}

// The grid's radius for a round end: the chords of a circle of radius r + kArcTolerance stay
// outside the circle of radius r, and a step more covers the rounding of the points.
double coveringDelta(double radius)
{
    return (radius + kArcTolerance) * kInkScale + 1;
}

// Every point within delta (grid steps) of the open path, with round ends and joins.
void roundOffset(Path path, double delta, Paths &out)
{
    // Clipper draws the disc of a lone point with a whole number of its steps and closes the
    // rest of the turn with one longer chord, which cuts into the disc by up to four times the
    // tolerance; a path a grid step long gets two round ends whose steps close exactly.
    if (!path.empty() && std::all_of(path.begin(), path.end(),
                    [&](const ClipperLib::IntPoint &p) { return p == path.front(); }))
        path.emplace_back(path.front().X + 1, path.front().Y);
    ClipperLib::ClipperOffset offset;
    offset.ArcTolerance = kArcTolerance * kInkScale;
    offset.AddPath(path, ClipperLib::jtRound, ClipperLib::etOpenRound);
    offset.Execute(out, delta);
}
} // namespace

bool inkOfOutlines(const std::vector<int> &sizes, const std::vector<float> &xy, OxInk &ink)
{
    // Each outline is made free of crossings on its own first: two outlines winding opposite
    // ways must not cancel where they overlap, as painting them one after the other shows.
    Paths each, single(1);
    size_t at = 0;
    for (int size : sizes) {
        if (!gridPath(xy.data() + 2 * at, size, single[0]))
            return false;
        at += size_t(size);
        if (sizes.size() == 1) {
            each.swap(single);
            break;
        }
        Paths simple;
        ClipperLib::SimplifyPolygons(single, simple, ClipperLib::pftNonZero);
        each.insert(each.end(), simple.begin(), simple.end());
    }
    ClipperLib::Clipper clipper;
    clipper.AddPaths(each, ClipperLib::ptSubject, true);
    Paths merged;
    clipper.Execute(ClipperLib::ctUnion, merged, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    ink = inkOf(merged);
    return true;
}

bool inkOfCentreLine(const float *xy, int count, double width, OxInk &ink)
{
    Path line;
    if (!gridPath(xy, count, line) || !std::isfinite(width) || !(width / 2 < kInkLimit))
        return false;
    ink = OxInk();
    if (width <= 0 || line.empty())
        return true;
    appendRing(line, ink);
    ink.reach = width / 2;
    return true;
}

bool filledInk(const OxInk &ink, OxInk &rings)
{
    if (!ink.isLine()) {
        rings = ink;
        return true;
    }
    Paths outline;
    roundOffset(pathsOf(ink)[0], ink.reach * kInkScale, outline);
    rings = inkOf(outline);
    return true;
}

bool sweptRegion(const float *xy, int count, float radius, OxInkRegion &region)
{
    Path path;
    if (!gridPath(xy, count, path) || !(radius < kInkLimit))
        return false;
    Paths swept;
    roundOffset(path, coveringDelta(radius), swept);
    region = regionOf(std::move(swept));
    return true;
}

OxInkRegion regionOf(const OxInk &ink)
{
    return regionOf(pathsOf(ink));
}

bool cutAway(const OxInk &rings, const OxInkRegion &region, std::vector<OxInk> &parts)
{
    // Points that the cut does not reach are kept as they are, also where they lie on a line.
    ClipperLib::Clipper clipper(ClipperLib::ioPreserveCollinear);
    clipper.AddPaths(pathsOf(rings), ClipperLib::ptSubject, true);
    clipper.AddPaths(pathsOf(region), ClipperLib::ptClip, true);
    ClipperLib::PolyTree left;
    clipper.Execute(ClipperLib::ctDifference, left, ClipperLib::pftNonZero,
                    ClipperLib::pftNonZero);
    parts.clear();
    for (const ClipperLib::PolyNode *outline : left.Childs)
        collectParts(*outline, parts);
    return true;
}

bool areaInside(const OxInk &rings, const OxInkRegion &region, double &inside)
{
    ClipperLib::Clipper clipper;
    clipper.AddPaths(pathsOf(rings), ClipperLib::ptSubject, true);
    clipper.AddPaths(pathsOf(region), ClipperLib::ptClip, true);
    Paths common;
    clipper.Execute(ClipperLib::ctIntersection, common, ClipperLib::pftNonZero,
                    ClipperLib::pftNonZero);
    inside = area(inkOf(common));
    return true;
}

} // namespace quillmark::detail
