#ifndef OXSTROKESHAPE_H
#define OXSTROKESHAPE_H

#include "QuillmarkExport.h"

#include <QPainterPath>
#include <QPointF>
#include <algorithm>
#include <vector>

class OxPathBuilder;
class OxStrokesFixWidth;

// The shape an engine has drawn so far, as plain runs of float x, y pairs, for a host that keeps
// its own copy of the shape and updates it with what changed: the work of a read follows what
// the last samples changed, not the length of the stroke.
//
// Use:
//   1. One OxStrokeShape per stroke, beside the engine.
//   2. After any number of the engine's calls, update(engine, path), path being the caller's path
//      of the stroke (read for OxStrokesFixWidth only, whose shape is that centre line).
//   3. Read the runs. Each holds its points and how many of its leading points it held at the
//      previous update (kept): a copy cut to kept points and given the rest is up to date.
//
// The body of an outline engine, once it has grown past its start, is one closed polygon in four
// runs: startCap, left, endCap, then right walked backwards. The sides only grow while the
// stroke is drawn; the caps are small. Everything else is in polygons(): the body while it is
// not yet a swept outline (a start dot, a single nib, the recent part drawn by the filled
// engine's backward-only mode), then the tails (tailCount() of them, last). The plain engine's
// centre line is left, an open polyline; closed() is false for it.
//
// Polygons are filled with the winding (nonzero) rule, each on its own; curves are flattened with
// chords within kFlatness of the curve, and a subpath of a single point is left out.
// The filled engine's backward-only mode is read as such only when the stroke was fed in that
// mode from its start.
class QUILLMARK_EXPORT OxStrokeShape
{
public:
    struct Run
    {
        std::vector<float> xy;   // x0 y0 x1 y1 ...
        int kept = 0;            // leading points unchanged since the previous update

        int count() const { return int(xy.size() / 2); }
    };

    // Greatest distance between a flattened curve's chords and the curve, in drawing units.
    static constexpr double kFlatness = 0.05;

    void update(OxStrokesFixWidth &engine, const QPainterPath &path);

    const Run &startCap() const { return caps[0]; }
    const Run &left() const { return sides[0]; }
    const Run &endCap() const { return caps[1]; }
    const Run &right() const { return sides[1]; }
    // The first polygonCount() entries of polygons() are current; the rest are left-over storage.
    const std::vector<Run> &polygons() const { return loose; }
    int polygonCount() const { return looseCount; }
    int tailCount() const { return tails; }
    bool closed() const { return isClosed; }

    // The whole shape as polygons: the body's four runs joined (when not empty), then
    // polygons(). sizes gets the points of each, xy all points. Costs what the shape holds.
    void appendPolygons(std::vector<int> &sizes, std::vector<float> &xy) const;

    // Follows the outline of builder into the four body runs when it is swept (has two sides);
    // otherwise empties them and returns false. update() does this with an engine's generator.
    bool followOutline(OxPathBuilder &builder);
    // The body as one closed outline, point for point as the builder's getOutlinePath() holds
    // it: a joint point equal to the point before it is left out, and the end is joined to the
    // start as closeSubpath() joins it. The number of points, or -1 when the runs cannot give it
    // (no swept body, or a piece of fewer than two points).
    int outlineSize() const;
    // Writes the outlineSize() points of that outline to xy as x, y floats.
    void writeOutline(float *xy) const;

private:
    // How the four body runs join into one outline.
    struct OutlineJoints
    {
        bool dropFirst[4] = {};   // a run's first point repeats the point before it
        bool snapEnd = false;     // the last point is moved onto the first
        bool closeEnd = false;    // the first point is appended
        int size = -1;
    };

    // Where the builder's pending end cap goes: its placement, its first point and the nib
    // points it walks. The same place gives the same cap.
    struct EndCapPlace
    {
        double numbers[8] = {};
        int from = -1;
        int to = -1;
        bool operator==(const EndCapPlace &o) const
        {
            return std::equal(numbers, numbers + 8, o.numbers) && from == o.from && to == o.to;
        }
    };

    Run caps[2];
    Run sides[2];
    EndCapPlace endCapPlace;
    // The first and last points of start cap, left side, end cap and right side as the builder
    // holds them (the runs hold them rounded to float): the joints are decided on these.
    QPointF ends[4][2];
    // The right side walked backwards, as the outline takes it, kept at the end of its buffer so
    // that the points the side gains go in front: the outline copies it in one piece.
    std::vector<float> rightBackwards;
    size_t rightBackwardsFloats = 0;
    std::vector<Run> loose;
    int looseCount = 0;
    int tails = 0;
    bool isClosed = true;
    std::vector<float> scratch;

    void clearBody();
    void followRightBackwards();
    OutlineJoints outlineJoints() const;
    // Each subpath of path as a polygon of its own, appended to polygons().
    void addPolygons(const QPainterPath &path);
};

#endif
