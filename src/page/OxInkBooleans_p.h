#ifndef OXINKBOOLEANS_P_H
#define OXINKBOOLEANS_P_H

// The polygon booleans of a page, on the integer grid of OxInk, done by Clipper (nonzero fill,
// self-crossing input). Every function is a pure function of its arguments: the same input
// gives the same rings, point for point, which is what lets a stored page be rebuilt exactly.
//
// Each returns false when a coordinate leaves the grid (see kInkLimit); the result is then
// unusable.

#include "OxInk_p.h"

#include <vector>

namespace quillmark::detail {

// Round ends and joins are cut into chords that stray at most this far from the circle, in
// drawing units.
constexpr double kArcTolerance = 0.01;

// The ink of closed outlines (sizes[i] points each, x y floats in xy), each filled with the
// nonzero rule on its own and all of them together: what painting them one after the other
// covers. The rings come out without crossings.
bool inkOfOutlines(const std::vector<int> &sizes, const std::vector<float> &xy, OxInk &ink);

// The centre-line engine's ink: an open polyline and half the pen width (empty for a width that
// is not positive).
bool inkOfCentreLine(const float *xy, int count, double width, OxInk &ink);
// The ink as rings: a line stroked with a round pen (round caps and joins), rings as they are.
bool filledInk(const OxInk &ink, OxInk &rings);

// A region that one boolean can take away from ink or measure it by: the rings of a polygon on
// the grid, filled with the nonzero rule.
struct OxInkRegion
{
    std::vector<std::vector<qint64>> rings;  // x0 y0 x1 y1 ... each
};

// The area an eraser of the given radius covers when swept along the positions (a disc for
// one): every point within radius of the path, and nothing farther than radius plus
// kArcTolerance from it.
bool sweptRegion(const float *xy, int count, float radius, OxInkRegion &region);
// The region of ink's rings (a lasso's polygon).
OxInkRegion regionOf(const OxInk &ink);

// What is left of rings (filledInk()) once region is cut away, as connected parts (an outline
// with the holes inside it; an island inside a hole is a part of its own), in a fixed order.
// Empty when nothing is left.
bool cutAway(const OxInk &rings, const OxInkRegion &region, std::vector<OxInk> &parts);
// The area of rings (filledInk()) that lies inside region, in drawing units squared.
bool areaInside(const OxInk &rings, const OxInkRegion &region, double &inside);

} // namespace quillmark::detail

#endif
