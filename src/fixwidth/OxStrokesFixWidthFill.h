#ifndef OXSTROKESFIXWIDTHFILL_H
#define OXSTROKESFIXWIDTHFILL_H

#include "OxPathConnector.h"
#include "OxPathGenerator.h"
#include "OxStrokesFixWidth.h"

#include <QList>

// A fixed-width stroke drawn as a filled outline: the samples are smoothed into a centre line as
// in OxStrokesFixWidth, and a round nib of the stroke's width is swept along every new piece of
// that line. pathWhole holds the current closed outline (winding fill); paint fills it and
// getPathWhole hands it out. The caller's path still receives the centre line.
//
// Life cycle of one stroke (one engine object serves one stroke):
//   1. startCreate(points, path, first sample, params, width): the stroke starts as a dot of
//      diameter width; returns the dot's bounds grown by 4. params["time"] (ms, read as int)
//      stamps the first point.
//   2. creating(...) for every further sample: samples 0.1 or closer to the previous one are
//      dropped (empty rectangle). The first accepted sample clears the dot. Returns the bounds of
//      the outline pieces added (and of the cleared dot), grown by 4. params is not read.
//   3. endCreate(..., last sample, ...): appends the last sample when it lies 1.0 or more from the
//      end of the raw and of the smoothed line (a one-sample stroke gets a point offset by (1, 1)
//      and 10 ms instead), outlines what is left and replaces points by the smoothed line.
// Backward-only mode, for hosts that show only the recent part of a stroke:
//   1. startCreate as above;
//   2. creatingOnlyBackward with each batch of samples: pathWhole becomes the outline of the
//      smoothed line from the newest point at least 300 ms older than the batch to the pen;
//   3. endCreateOnlyBackward with the last sample.
//
// Unusable input is dropped with an empty rectangle and no state change: a sample or width that
// is not finite, creating or creatingOnlyBackward on an empty point sequence, and the two end
// calls when the stroke was never opened (points or the smoothed line empty).
//
// Copies: an engine owns its generator and its connector. A copy gets builders of its own that
// continue the same outline (the builders are copied by value), and copy assignment assigns the
// builders' contents, so an engine and its copy never share or double-delete a builder and can
// go on drawing independently.
class QUILLMARK_EXPORT OxStrokesFixWidthFill : public OxStrokesFixWidth
{
public:
    OxStrokesFixWidthFill();
    OxStrokesFixWidthFill(const OxStrokesFixWidthFill &other);
    OxStrokesFixWidthFill &operator=(const OxStrokesFixWidthFill &other);
    ~OxStrokesFixWidthFill() override;

    QRectF startCreate(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                       QMap<QString, QVariant> params, float width) override;
    QRectF creating(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                    QMap<QString, QVariant> params, float width) override;
    QRectF endCreate(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                     QMap<QString, QVariant> params, float width) override;
    // Fills the part of the outline inside rect with color (antialiased, no pen); nothing outside
    // rect is touched. A null painter draws nothing.
    void paint(QPainter *painter, QRectF rect, QColor color) override;
    // Rebuilds from a finished centre line: smoothedPoints becomes points, path the polyline
    // through them and pathWhole their outline. No points give empty paths. The per-segment side
    // counts of an earlier build are kept (the first count recorded for a segment stays).
    void buildPathFromXY(std::vector<OxInkPoint> &points, QPainterPath &path,
                         float width) override;
    // Rebuilds the outline of a sub-stroke by copying the side pieces that other computed for the
    // same segments: indices[i] is the index in other of segment i (points[i] -> points[i + 1]).
    // Segments are computed until the outline has two sides, then copied; the last segment is
    // computed afresh from corners found by a backward run over the last three points, and is
    // left out (with its end point) when that run yields no two-ended segment. The first
    // n - 1 points are appended to smoothedPoints (it is not cleared), the last one only with its
    // segment. Three points or fewer are rebuilt with the three-argument form.
    // A segment that cannot be copied is computed afresh with the generator instead: when other
    // is null or this engine, indices has no entry for it, or other holds no side counts for its
    // index (or the one before). Copying never reads past the end of other's sides.
    virtual void buildPathFromXY(std::vector<OxInkPoint> &points, QPainterPath &path, float width,
                                 OxStrokesFixWidthFill *other, std::vector<int> &indices);

    QPainterPath getPathWhole() const;

    // Takes a batch of samples that arrived since the last call, oldest first; params["time"]
    // (ms, read as int) is the time of the newest. Samples closer than 1.0 to the previously kept
    // one (or to the stroke's last point) and non-finite samples are dropped; the kept ones get
    // times spread evenly (in whole ms, truncated) from the last point's time to params["time"].
    // pathWhole becomes the outline of the visible tail; the result covers the tail and the
    // previous call's rectangle. A batch with nothing kept returns an empty rectangle and changes
    // nothing.
    QRectF creatingOnlyBackward(std::vector<OxInkPoint> &points, QList<QPointF> &samples,
                                QMap<QString, QVariant> params, float width);
    // Ends a backward-only stroke like endCreate ends a normal one, outlining the tail from its
    // current start to the end; path is not used. The tail start is not searched again.
    QRectF endCreateOnlyBackward(std::vector<OxInkPoint> &points, QPainterPath &path,
                                 QPointF point, QMap<QString, QVariant> params, float width);

protected:
    friend class OxEngineKind;
    friend class OxPredictedInk;

    // Adds the segments start -> start + 1, ..., end - 1 -> end of points to the generator (nib
    // radius width / 2) and records their side counts. Returns the union of the changed
    // rectangles grown by 4; with no segment that is the rectangle (-4, -4) to (4, 4). Indices
    // outside points are skipped.
    QRectF computePaths(std::vector<OxInkPoint> &points, int start, int end, float width);
    // Records, unless already recorded for index, the element counts of generator's left and
    // right sides (-1 for an empty side). A null generator records nothing, nor does an engine
    // that does not record them (recordsSideCounts).
    void computePoints2PathInfo(int index, OxPathGenerator *generator);
    // Appends to dst the elements that segment index added to src, as recorded in sideCounts:
    // elements sideCounts[index - 1] (0 for index 0) to sideCounts[index] - 1. An empty dst first
    // moves to the first of them. A missing count reads as 0 (and is inserted), a count of -1
    // copies nothing, and the copy stops at the end of src.
    void fillIndexsInPath(QPainterPath &dst, int index, QMap<int, int> &sideCounts,
                          QPainterPath &src);
    // Adds the segment a -> b (the last one of points) to the generator as the continuation of
    // corners found by a backward run over the last three points in a clone of the generator.
    // Returns false, adding nothing, when that run gives no two-ended segment or points holds
    // fewer than three points.
    bool fillLastIndexsInPath(std::vector<OxInkPoint> &points, float width, OxInkPoint &a,
                              OxInkPoint &b);
    // Rebuilds the connector's outline over points start to end (nib radius width / 2; indices
    // outside points are skipped), returns it and unites its bounds into rect.
    QPainterPath computeBackwardPaths(std::vector<OxInkPoint> &points, int start, int end,
                                      float width, QRectF &rect);

    // pathWhole as it stands (see pathWholeStale); the engine reads and changes it only through
    // these.
    QPainterPath &wholePath() const;
    void setWholePath(const QPainterPath &path);
    // pathWhole is the generator's outline from now on.
    void wholePathFollowsGenerator();

    OxPathConnector *pathConnector;   // owned; outline of the backward-only mode
    QRectF backwardRect;              // rectangle reported by the previous backward-only call
    mutable QPainterPath pathWhole;   // the stroke's current outline
    OxPathGenerator *pathGenerator;   // owned; outline of the normal mode
    QMap<int, int> leftSideCounts;    // per segment: generator's leftSide element count after it
    QMap<int, int> rightSideCounts;   // the same for rightSide
    // Whether computePoints2PathInfo records the side counts. Only a rebuild from this engine
    // reads them; a copy that draws predicted samples and is then thrown away does not record
    // them (two map nodes allocated and freed per sample). A property of the object: assignment
    // leaves it as it is.
    bool recordsSideCounts = true;

private:
    // pathWhole is the generator's outline but not yet assembled: that costs time in proportion
    // to the stroke, so it waits until someone reads the outline.
    mutable bool pathWholeStale = false;
};

#endif
