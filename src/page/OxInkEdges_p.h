#ifndef OXINKEDGES_P_H
#define OXINKEDGES_P_H

// The edges of a stroke's ink in runs of a few, each with its bounding box, so that a query
// near one end of a long stroke looks at the edges there and skips the rest by their boxes.
// The tests are exact for the rings as they stand on the grid (double arithmetic on grid
// coordinates): a disc or a swept disc touches the ink when an edge lies within its radius or
// its centre lies inside the ink. A line's ink is reached within its radius plus the line's
// reach; it has no inside.

#include "OxInk_p.h"

#include <QPointF>
#include <vector>

namespace quillmark::detail {

class OxInkEdges
{
public:
    // Edges per run: few enough that a run's box says much, many enough that boxes cost little
    // memory beside the points (a fifth).
    static constexpr quint32 kRunEdges = 16;

    OxInkEdges() = default;
    explicit OxInkEdges(const OxInk &ink);

    // Positions and radii in drawing units.
    bool touchesDisc(const OxInk &ink, QPointF centre, double radius) const;
    // The disc swept from a to b (a capsule).
    bool touchesCapsule(const OxInk &ink, QPointF a, QPointF b, double radius) const;
    // Whether a point lies inside the ink (nonzero winding).
    bool contains(const OxInk &ink, QPointF p) const;
    // Whether an edge of ink crosses or touches an edge of other (with its edges otherEdges).
    bool crosses(const OxInk &ink, const OxInkEdges &otherEdges, const OxInk &other) const;

    size_t bytes() const { return runs.capacity() * sizeof(Run) + sizeof(*this); }

private:
    struct Run
    {
        qint32 left, top, right, bottom;
        quint32 ringStart;  // the ring's first point
        quint32 ringSize;
        quint32 first;      // the run's first edge in the ring: from point first to first + 1
        quint32 count;
    };

    std::vector<Run> runs;
    // The box of all runs.
    qint32 left = 0, top = 0, right = -1, bottom = -1;
    double reach = 0;

    // Calls visit(a, b) with the grid points of each edge in runs whose box meets the given grid
    // box; stops and returns true as soon as visit does.
    template <class Visit>
    bool anyEdge(const OxInk &ink, double left, double top, double right, double bottom,
                 Visit visit) const;
};

} // namespace quillmark::detail

#endif
