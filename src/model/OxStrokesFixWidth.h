#ifndef OXSTROKESFIXWIDTH_H
#define OXSTROKESFIXWIDTH_H

#include "OxInkPoint.h"
#include "QuillmarkExport.h"
#include "QuillmarkMatrix.h"

#include <QColor>
#include <QMap>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVariant>
#include <vector>

class QPainter;
class OxQuillmarkGateway;

// The root of the engine tree and the plain fixed-width engine: it smooths the samples of one
// stroke into a centre line and lays that line into the caller's path as a polyline, which the
// host strokes with a pen of the stroke's width.
//
// Life cycle of one stroke (one engine object serves one stroke):
//   1. startCreate(points, path, first sample, params, width): opens the stroke; returns the square
//      of side 2 * width around the sample.
//   2. creating(...) for every further sample: samples 0.1 or closer to the previous one are
//      dropped (empty rectangle); otherwise the new smoothed points are appended to path and the
//      rectangle they cover, grown by width / 2, is returned.
//   3. endCreate(..., last sample, ...): appends the last sample when it lies 1.0 or more from the
//      previous one, draws what is left and replaces points by the smoothed centre line.
// The caller owns points and path and passes the same two objects to every call of the stroke.
// The params map is not read by this engine (subclasses read "time" and "pressure").
//
// Unusable input is dropped with an empty rectangle and no state change: a sample or width that
// is not finite, and creating or endCreate on an empty point sequence.
class QUILLMARK_EXPORT OxStrokesFixWidth
{
public:
    OxStrokesFixWidth();
    OxStrokesFixWidth(const OxStrokesFixWidth &other);
    OxStrokesFixWidth &operator=(const OxStrokesFixWidth &other);
    virtual ~OxStrokesFixWidth();

    virtual QRectF startCreate(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                               QMap<QString, QVariant> params, float width);
    virtual QRectF creating(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                            QMap<QString, QVariant> params, float width);
    virtual QRectF endCreate(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                             QMap<QString, QVariant> params, float width);
    // The plain engine draws nothing itself: the host strokes the path.
    virtual void paint(QPainter *painter, QRectF rect, QColor color);
    // path becomes the polyline through points; width is not used. No points give an empty path.
    virtual void buildPathFromXY(std::vector<OxInkPoint> &points, QPainterPath &path, float width);
    // Rebuilds a whole stroke from a stored point sequence by running the phase calls (of the
    // actual engine class) over it; path becomes the smoothed centre line and points the smoothed
    // points. Points with a non-finite coordinate are left out first; one usable point is replayed
    // as startCreate and endCreate at that point (the dot of a tap, as drawn live). With no usable
    // point (or a non-finite width) nothing changes and the result is an empty rectangle.
    virtual QRectF loadFromWholePoints(std::vector<OxInkPoint> &points, QPainterPath &path,
                                       float width);
    virtual void copyFrom(OxStrokesFixWidth *other);

protected:
    friend class OxQuillmarkGateway;
    friend class OxPredictedInk;

    // Geometry helpers: pure functions of their arguments.
    static float twoPointDistance(QPointF a, QPointF b);
    // Grows rect by d on every side (a negative d shrinks it).
    static QRectF inflateRect(QRectF rect, float d);
    // The bounding union; an empty rectangle (QRectF::isEmpty) counts as nothing.
    static QRectF unionTwoRect(QRectF a, QRectF b);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    // Rotation by angleDegrees about center.
    static QMatrix rotate2(float angleDegrees, QPointF center);
#pragma GCC diagnostic pop
    // The point d from a toward b (all fields interpolated); b itself when a and b coincide.
    static OxInkPoint getPtAccordBaseDistance(const OxInkPoint &a, const OxInkPoint &b, float d);
    // The point d beyond b on the ray from a through b; b itself when a and b coincide.
    static OxInkPoint getPtAccordDesDistance(const OxInkPoint &a, const OxInkPoint &b, float d);

    // Samples the cubic Bezier curve ctrl[0..3] every 2 units of control-polygon length and keeps
    // only the points where the line turns by more than 2 degrees, plus both ends. Writes time and
    // pressure spacing into ctrl[1] and ctrl[2]. With skipStraightStart, samples that continue
    // straight on from ref -> ctrl[0] are dropped too. A control polygon of length 0 keeps its
    // attributes; fewer than four control points are returned unchanged. Sampling stops after
    // kMaxCurveSamples samples, which only cuts polygons longer than 100,000 units.
    std::vector<OxInkPoint> bezireToPoints(std::vector<OxInkPoint> &ctrl, bool skipStraightStart,
                                           OxInkPoint ref);
    // Smoothing step for a move shorter than 7: the curve ends at the midpoint of prev and cur.
    // points is read for its size only (2 means the first step of the stroke). The overload with
    // ctrl takes ctrl[1] and ctrl[2] as the curve's inner control points (ignored when ctrl holds
    // fewer than three points).
    void creatingContract(std::vector<OxInkPoint> &points, OxInkPoint cur, OxInkPoint prev,
                          float dist);
    void creatingContract(std::vector<OxInkPoint> &points, OxInkPoint cur, OxInkPoint prev,
                          float dist, std::vector<OxInkPoint> &ctrl);
    // Smoothing step for a move of 7 or more: the curve reaches almost to cur and the next control
    // point is set ahead of it along the direction of motion.
    void creatingExtend(std::vector<OxInkPoint> &points, OxInkPoint cur, OxInkPoint prev,
                        float dist);
    void creatingExtend(std::vector<OxInkPoint> &points, OxInkPoint cur, OxInkPoint prev,
                        float dist, std::vector<OxInkPoint> &ctrl);
    // The smoothing step a move of dist from prev to cur calls for: contract below 7, else extend.
    void smoothingStep(std::vector<OxInkPoint> &points, OxInkPoint cur, OxInkPoint prev,
                       float dist);
    void smoothingStep(std::vector<OxInkPoint> &points, OxInkPoint cur, OxInkPoint prev,
                       float dist, std::vector<OxInkPoint> &ctrl);

    // Shared by the engines' loadFromWholePoints: runs the (virtual) phase calls over a copy of
    // points, with an empty parameter map or one holding each point's "pressure", then lays the
    // smoothed line into path and points. Points with a non-finite coordinate (or pressure, when
    // it is passed on) are left out; a single point left is started and ended at that point, and
    // with none left, or a non-finite width, nothing changes and the result is empty.
    QRectF replayWholePoints(std::vector<OxInkPoint> &points, QPainterPath &path, float width,
                             bool withPressure);

    static constexpr int kMaxCurveSamples = 50000;

    OxInkPoint curveStart;      // start of the next smoothing curve
    OxInkPoint curveControl;    // inner control point the next curve bends toward
    bool extendPending;         // the last smoothing step was an extend step
    int lastDrawnIndex;         // last index of smoothedPoints already laid into the path
    std::vector<OxInkPoint> smoothedPoints;
    float maxControlDistance;   // bound of the control-point overshoot of the smoothing steps

private:
    void contractStep(const std::vector<OxInkPoint> &points, const OxInkPoint &cur,
                      const OxInkPoint &prev, float dist, const std::vector<OxInkPoint> *ctrl);
    void extendStep(const std::vector<OxInkPoint> &points, const OxInkPoint &cur,
                    const OxInkPoint &prev, float dist, const std::vector<OxInkPoint> *ctrl);
    void appendCurve(OxInkPoint end, const std::vector<OxInkPoint> *ctrl);
};

#endif
