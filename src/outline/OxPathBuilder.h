#ifndef OXPATHBUILDER_H
#define OXPATHBUILDER_H

#include "OxPathSectionPara.h"
#include "QuillmarkExport.h"
#include "QuillmarkMatrix.h"

#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QVarLengthArray>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <vector>

namespace quillmark::detail {
class TailSweep;
}

// Sweeps a nib (a closed sample outline) along centre-line segments whose ends carry a width and
// builds the filled outline of the swept area: start cap + left side + end cap + right side,
// closed, winding fill. OxPathGenerator and OxPathConnector are the two faces of this one
// implementation; the engines keep the stroke body in a generator and rebuild tails in a connector.
//
// Use:
//   1. setSamplePath(nib, size) once: the nib is scaled by width / size at every point.
//   2. addSegment(x0, y0, w0, x1, y1, w1) for each consecutive pair of centre-line points; it
//      returns the rectangle of the outline that changed (empty when nothing changed).
//   3. getOutlinePath() whenever the current outline is wanted.
//   4. resetOutline() before building a new outline with the same nib.
//
// A segment whose two placed nibs cover one another is absorbed: as the first segment it leaves
// the larger nib alone as the outline; later its start is held so that the next segment spans it.
// A segment with a non-finite coordinate or width, or any segment before a nib of at least two
// points and a finite non-zero size is installed, is dropped: empty rectangle, state unchanged.
class QUILLMARK_EXPORT OxPathBuilder
{
public:
    // What placeSegment found about the two nibs of a segment.
    enum Placement {
        kSeparateNibs = 0,        // a two-ended segment
        kStartNibCoversEnd = 1,   // the start nib's rectangle contains the end nib's
        kEndNibCoversStart = 2,   // the end nib's rectangle contains the start nib's
    };

    OxPathBuilder();
    OxPathBuilder(const OxPathBuilder &other) = default;
    OxPathBuilder &operator=(const OxPathBuilder &other) = default;
    virtual ~OxPathBuilder();

    // Installs a nib (curves are flattened) that stands for the width size at scale 1, and builds
    // its sector table.
    void setSamplePath(QPainterPath path, float size);
    // Rebuilds samplePoints and the 80 direction sectors from samplePath. Where a sector has no
    // nib point on one side of its line (or the nib has fewer than two points) that side's index
    // stays 0.
    void computeSections();
    QRectF addSegment(float x0, float y0, float w0, float x1, float y1, float w1);
    // First two-ended segment (or a single nib when the two nibs cover one another).
    QRectF beginOutline(float x0, float y0, float w0, float x1, float y1, float w1);
    // Further segment: joins it to the outline and returns the bounds of the changed piece;
    // a segment whose nibs cover one another returns an empty rectangle and changes nothing.
    QRectF extendOutline(float x0, float y0, float w0, float x1, float y1, float w1);
    // Places the nib at both ends (matrices come in as identity) and picks each end's sector; an
    // angle of travel that matches no sector (not a number) uses the last sector. Returns a
    // Placement value.
    int placeSegment(float x0, float y0, float w0, float x1, float y1, float w1,
                     OxPathSectionPara &startSection, QMatrix &startPlacement, QRectF &startRect,
                     OxPathSectionPara &endSection, QMatrix &endPlacement, QRectF &endRect);
    // The closed outline built so far (the lone nib before the first two-ended segment, an empty
    // path before any segment), winding fill.
    QPainterPath getOutlinePath();
    // Forgets the outline; keeps the nib and the held anchor.
    void resetOutline();
    // The next segment joins the outline as if the last one had ended at corners (start-right,
    // start-left, end-left, end-right) with the end nib's tangent points endRight and endLeft;
    // the outline itself does not change. Returns false, changing nothing, unless there are four
    // corners and both indices are points of the nib.
    bool continueFromCorners(const QPolygonF &corners, int endRight, int endLeft);
    // Installs other's nib with all its tables, as setSamplePath installed them there, without
    // building them again (a few hundred microseconds); the outline stays as it is.
    void copyShapeFrom(const OxPathBuilder &other);

protected:
    friend class OxStrokesFixWidthFill;
    friend class OxStrokeShape;
    friend class OxPredictedInk;
    friend class quillmark::detail::TailSweep;

    QPainterPath startCap;   // first nib from its right tangent point around to its left one
    QPainterPath leftSide;
    QPainterPath rightSide;  // drawn in the same direction as leftSide
    QPainterPath endCap;     // newest nib from its left tangent point around to its right one
    QPolygonF lastCorners;   // last segment's start-right, start-left, end-left, end-right
    int lastStartRight;
    int lastStartLeft;
    int lastEndRight;
    int lastEndLeft;
    QString shapeName;
    QPainterPath samplePath;
    QVector<OxPathSectionPara> sections;
    float sampleSize;
    QPointF sampleCenter;
    QVector<QPointF> samplePoints;
    float anchorX;
    float anchorY;
    float anchorWidth;
    QPainterPath nibOnlyPath;   // the single nib that stands for the stroke so far
    bool anchorHeld;            // the next segment starts from the anchor, not its given start
    // The sides are kept as points in leftPoints and rightPoints instead of leftSide and
    // rightSide, and the outline is made in one piece when it is read: for a builder whose
    // outline is rebuilt from scratch and read once at every sample (the connector), whose sides
    // nobody else reads. The outline is the same either way.
    bool sidesAsPoints = false;

private:
    // A side kept as its points: what moveTo (on an empty side) and lineTo put into a
    // QPainterPath, under the same checks, in a buffer that keeps its room when cleared.
    class PointSide
    {
    public:
        // Keeps the buffer's room for the next outline, unless a long one left far more room
        // than the last one needed.
        void clear() { forgetOrKeepRoom(points); }
        void moveTo(QPointF p)
        {
            if (std::isfinite(p.x()) && std::isfinite(p.y()))
                points.assign(1, p);
        }
        void lineTo(QPointF p)
        {
            if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
                return;
            if (points.empty())
                points.emplace_back(0, 0);   // where a path without a move-to starts
            if (!(p == points.back()))
                points.push_back(p);
        }
        // lineTo for a point known to be finite and to differ from the last one.
        void appendApart(QPointF p) { points.push_back(p); }
        bool isEmpty() const { return points.size() <= 1; }
        QPointF currentPosition() const { return points.empty() ? QPointF() : points.back(); }
        const std::vector<QPointF> &all() const { return points; }

    private:
        std::vector<QPointF> points;
    };
    // A buffer that is refilled at every rebuild keeps its room for the next one, unless the
    // room exceeds twice what was used this time (and a floor that every ordinary tail fits
    // in), so that one long tail does not keep its room for the rest of the stroke.
    static constexpr size_t kRoomAlwaysKept = 256;
    template <class Buffer>
    static bool keepsTooMuchRoom(const Buffer &buffer)
    {
        return size_t(buffer.capacity()) > 2 * std::max(size_t(buffer.size()), kRoomAlwaysKept);
    }
    // Empties a buffer, keeping its room; where the room is too much, it keeps room for half as
    // much again as was used (one allocation, where an empty buffer would grow by doubling).
    // An empty buffer was emptied before (beginOutline resets what a sweep has just reset) and
    // keeps the room that was decided then. The old room is given back before the new is taken,
    // so that the new can take its place: taken first, it left a hole below it that kept the
    // heap from shrinking (0.4 MB more at the peak of a 100,000-sample stroke).
    template <class Buffer>
    static void forgetOrKeepRoom(Buffer &buffer)
    {
        if (!buffer.empty() && keepsTooMuchRoom(buffer)) {
            const size_t used = size_t(buffer.size());
            buffer = Buffer();
            buffer.reserve(decltype(buffer.size())(std::max(used + used / 2, kRoomAlwaysKept)));
        } else {
            buffer.clear();
        }
    }
    PointSide leftPoints, rightPoints;
    // With sidesAsPoints the start cap too is kept as its points (startCap stays empty).
    std::vector<QPointF> startCapPoints;
    // The outline of a builder with sidesAsPoints, before it is a path: the polygon that
    // QPainterPath::addPolygon takes, which keeps its room from call to call.
    QPolygonF polygon;
    // Set while an engine sweeps a tail whose changed rectangles nobody reads (TailSweep): the
    // rectangle addSegment returns is then only right about being empty or not, which is all
    // that decides where the next segment starts.
    bool changeBoundsUnread = false;

    bool sidesEmpty() const;
    void setLastCorners(QPointF sr, QPointF sl, QPointF el, QPointF er);
    // The sides of the first segment: the right one from sr to er, the left from leftStart to el.
    template <class Side>
    static void beginSides(Side &left, Side &right, QPointF sr, QPointF er, QPointF leftStart,
                           QPointF el);
    // A join's walk along the nib placed by placement, each point handed to add; where only the
    // side takes the points (sideAlone) and placed neighbours stay apart, straight into the side.
    template <class Side, class Add>
    void walkSide(Side &side, int from, int to, int step, const QMatrix &placement,
                  bool sideAlone, Add add);
    // The outline of a builder with sidesAsPoints, as getOutlinePath assembles it from paths,
    // and its boundingRect.
    QPainterPath assembledOutline(QRectF &bounds);
    // getOutlinePath and its boundingRect.
    QPainterPath outlineWithBounds(QRectF &bounds);
    // The end cap goes round the nib placed by placement from index from to index to, starting
    // at first; it is made only when it is read (see endCapPending).
    void deferEndCap(const QMatrix &placement, QPointF first, int from, int to);
    // extendOutline after placing the segment (start and end are two of sections): the joins,
    // the end cap and the changed piece.
    template <class Side>
    QRectF joinSegment(Side &left, Side &right, const OxPathSectionPara &start,
                       const QMatrix &m0, const OxPathSectionPara &end, const QMatrix &m1);

    // The sample outline's points of least and greatest x and y, and whether it is made of
    // straight elements only (so that those four bound it however it is scaled and moved).
    QPointF sampleLeftmost, sampleRightmost, sampleTopmost, sampleBottommost;
    bool sampleIsPolygon = false;

    // For each sector: the extreme nib points (least and greatest x, then y) of the end cap a
    // segment ending in that sector walks, and the least distance between neighbouring nib
    // points and the largest |x| + |y| of any, which tell when placed neighbours cannot be taken
    // for one another. The changed rectangle of a segment then needs no walk around the cap.
    struct CapExtremes
    {
        QPointF leftmost, rightmost, topmost, bottommost;
    };
    QVector<CapExtremes> capExtremes;
    double nibSpacing = 0;
    double nibReach = 0;

    // Every further segment replaces the end cap, but the cap is read only when the outline is
    // assembled: until then only where it goes is kept, and endCap is made when it is read.
    bool endCapPending = false;
    QMatrix endCapPlacement;
    QPointF endCapStart;
    int endCapFrom = 0;
    int endCapTo = 0;

    // The nib's bounding rectangle once placed: from its extreme points when the nib is a
    // polygon (as every installed nib is), which gives the same numbers as mapping all of it.
    QRectF placedNibBounds(const QMatrix &placement) const;
    // The nib placed at (x, y) for the width w, and its bounds: the last end that placeSegment
    // placed is kept, since the next segment usually starts there (made afresh for other
    // numbers, bit for bit, and forgotten when another nib is installed).
    struct PlacedNib
    {
        float x = 0, y = 0, w = 0;
        bool valid = false;
        QMatrix placement;
        QRectF bounds;
    };
    PlacedNib lastPlaced;
    void placeNibAt(float x, float y, float w, QMatrix &placement, QRectF &bounds);
    void findSampleExtremes();
    void findCapExtremes();
    // Whether neighbouring nib points stay apart once placed, by more than QPointF's fuzzy
    // equality can bridge: then no point of a walk is dropped as a duplicate. Every placed
    // point is then finite too (the test bounds them all by a finite size).
    bool placedPointsStayApart(const QMatrix &placement) const;
    // placeSegment for the builder's own use: start and end point into sections instead of
    // being copies (both null where there are no sectors).
    int placeEnds(float x0, float y0, float w0, float x1, float y1, float w1,
                  const OxPathSectionPara *&start, QMatrix &startPlacement, QRectF &startRect,
                  const OxPathSectionPara *&end, QMatrix &endPlacement, QRectF &endRect);
    bool hasUsableNib() const
    {
        return samplePoints.size() >= 2 && sections.size() > 0 && std::isfinite(sampleSize)
               && sampleSize != 0;
    }
    QPointF nibPoint(const QMatrix &placement, int index) const
    {
        return mapped(placement, samplePoints.at(index));
    }
    // QMatrix::map, term by term, without the call: the walks map thousands of points a stroke.
    static QPointF mapped(const QMatrix &placement, const QPointF &p)
    {
        return QPointF(placement.m11() * p.x() + placement.m21() * p.y() + placement.dx(),
                       placement.m12() * p.x() + placement.m22() * p.y() + placement.dy());
    }
    // Calls visit with each nib index after from, up to and including to, going round the nib
    // by step (+1: in index order, -1: against it); from == to goes once around the whole nib.
    template <class Visit>
    void walk(int from, int to, int step, Visit visit) const;
    // A cap's points: first, then the placed nib points of the forward walk from .. to, each
    // dropped where it equals the one before (as QPainterPath::lineTo drops it).
    QVarLengthArray<QPointF, 256> capPoints(const QMatrix &placement, QPointF first, int from,
                                            int to) const;
    QPainterPath capPath(const QMatrix &placement, QPointF first, int from, int to) const;
    // endCap as it stands: made from its pending placement first (see endCapPending).
    const QPainterPath &currentEndCap();
};

#endif
