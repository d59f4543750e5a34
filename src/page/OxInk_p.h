#ifndef OXINK_P_H
#define OXINK_P_H

// The ink of a stroke on a page: closed rings on an integer grid, 1/kInkScale of a drawing unit
// apart, that do not cross one another (outlines and the holes inside them, as the polygon
// booleans hand them out). Each ring is filled with the nonzero rule, and so is the whole set:
// a hole winds against the outline around it.
//
// Integers make the booleans exact and repeatable: the same rings and the same eraser give the
// same rings again, and rings that a cut leaves untouched keep every point.
//
// The centre-line engine's stroke stays a line until it is cut: one open polyline and a reach
// (half the pen width); its ink is every point within reach of the line. Queries measure it as
// such; polygons, lasso shares and cuts take its filled form (filledInk()).

#include <QRectF>
#include <QtGlobal>
#include <vector>

namespace quillmark::detail {

// Grid steps per drawing unit: 1/1024 unit lies far below what antialiasing shows (a painter
// places points on a 1/64 grid), and coordinates up to kInkLimit still fit 32 bits.
constexpr double kInkScale = 1024;
// The largest coordinate magnitude the grid holds, in drawing units (the engines promise finite
// results up to 10^6).
constexpr double kInkLimit = 2.0e6;

struct OxInk
{
    std::vector<qint32> xy;          // x0 y0 x1 y1 ... of all rings, ring after ring
    std::vector<quint32> ringSizes;  // points of each ring; each closes back to its first
    double reach = 0;                // above 0: xy is one open line, inked this far around it

    bool isEmpty() const { return ringSizes.empty(); }
    bool isLine() const { return reach > 0; }
    size_t pointCount() const { return xy.size() / 2; }
};

// A drawing coordinate on the grid (rounded to the nearest step); false beyond kInkLimit or
// not finite.
bool toGrid(double v, qint64 &grid);
inline double fromGrid(qint64 v) { return double(v) / kInkScale; }

// Twice the filled area of rings, in grid steps squared, exactly (outlines count positive when
// holes count negative, so this is the area whatever way the rings wind); 0 for a line.
__int128 doubleArea(const OxInk &ink);
// The area of rings in drawing units squared.
double area(const OxInk &ink);
// The smallest rectangle holding all ink (a line's reach included), in drawing units; empty for
// no ink.
QRectF bounds(const OxInk &ink);
// The box of the points outside cut (drawing units) that lie in before and not in one of after,
// or the other way round (as many times); false when there are none. For the parts a boolean
// left of before when it cut within cut: it keeps the points away from the cut, but may drop a
// sliver or a spike there, or move a point where two edges of before touch.
bool boundsOfChangedPoints(const OxInk &before, const std::vector<OxInk> &after,
                           const QRectF &cut, QRectF &box);
// The ink moved by whole grid steps (exact; false when a point would leave the grid).
bool translate(OxInk &ink, qint64 dx, qint64 dy);

} // namespace quillmark::detail

#endif
