#ifndef OXSTROKESVARYWIDTHBACKWARDTIME_H
#define OXSTROKESVARYWIDTHBACKWARDTIME_H

#include "OxStrokesVaryWidthBackwardExtend.h"

#include <QList>

// The brush: like OxStrokesVaryWidthBackwardExtend a full-width body and a separately rebuilt
// tail, but the tail is the part of the stroke written during the last backwardDuration ms
// (measured on the smoothed points' time stamps) and its nib size falls linearly with path
// length from half the width where the window begins to a quarter of the width at the pen tip.
// Points older than the window are committed to the body at full width; the centre line in path
// follows the committed points.
//
// Ordinary stroke: startCreate, creating per sample, endCreate (as in the base class; all three
// read "time" from params, absent: 0). Further ways to feed a stroke, all after startCreate:
//   - backward-only: creatingOnlyBackward per batch, endCreateOnlyBackward at the end; only the
//     tail is drawn (500 ms window below 30 raw points, 200 ms from then on and at the end) and it
//     stays in backwardPaths after the stroke;
//   - raw: creatingYuanShi per batch, endCreate at the end; samples enter unsmoothed;
//   - fitted: creating with a list of extra samples, whose fitted cubic steers the smoothing.
// Batches are lists of positions, oldest first; their time stamps are spread evenly from the last
// point's time to "time". Samples, widths and times that are not finite numbers are dropped (a
// batch keeps its usable positions); calls that find no previous point return an empty rectangle.
class QUILLMARK_EXPORT OxStrokesVaryWidthBackwardTime : public OxStrokesVaryWidthBackwardExtend
{
public:
    OxStrokesVaryWidthBackwardTime();
    OxStrokesVaryWidthBackwardTime(const OxStrokesVaryWidthBackwardTime &other) = default;
    OxStrokesVaryWidthBackwardTime &operator=(const OxStrokesVaryWidthBackwardTime &other) = default;
    ~OxStrokesVaryWidthBackwardTime() override;

    QRectF startCreate(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                       QMap<QString, QVariant> params, float width) override;
    QRectF creating(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                    QMap<QString, QVariant> params, float width) override;
    QRectF endCreate(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                     QMap<QString, QVariant> params, float width) override;
    // The fitted creating: a cubic Bezier fitted to the last point, samples and point (within
    // 1.0) gives the inner control points of the smoothing curve. point is stamped with "time",
    // the samples with 0; points receives point, then the samples.
    virtual QRectF creating(std::vector<OxInkPoint> &points, QPainterPath &path,
                            QList<QPointF> &samples, QPointF point,
                            QMap<QString, QVariant> params, float width);

    // Backward-only mode: takes the positions of samples that lie at least 1.0 from the
    // previously kept one, unsmoothed, and rebuilds only the tail; the body is not touched.
    QRectF creatingOnlyBackward(std::vector<OxInkPoint> &points, QList<QPointF> &samples,
                                QMap<QString, QVariant> params, float width);
    // Ends a backward-only stroke: the final tail over the last 200 ms stays in backwardPaths;
    // path is not used and the points' pressures are left alone.
    QRectF endCreateOnlyBackward(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                                 QMap<QString, QVariant> params, float width);
    // Raw mode: takes the positions of samples farther than 0.1 from the previously kept one,
    // unsmoothed, rebuilds the tail and commits the body as the ordinary creating does.
    QRectF creatingYuanShi(std::vector<OxInkPoint> &points, QList<QPointF> &samples,
                           QMap<QString, QVariant> params, float width);

protected:
    // The time taper over the last backwardDuration ms: prepareTimedTail with that window. It
    // hides the base class's distance taper of the same signature; this class's calls name
    // prepareTimedTail instead. endPt is not read.
    bool prepareBackwardPath(QVector<OxBackwardInfo> &infos, std::vector<OxInkPoint> &pts,
                             int &index, QPointF endPt, float width);
    // The time taper: the tail covers the points of pts (the smoothed points) stamped within
    // windowMs of the newest one, searched from lastDrawnIndex on, and its nib size falls from
    // width / 2 at the window's first point to width / 4 at the newest. Prepends the tail's
    // segments to infos. Returns true when the window has moved past lastDrawnIndex (the points
    // up to index may be committed); a point stamped later than the newest (or no point in the
    // window) gives true with index at the newest point and no tail; a window of zero length
    // gives false and no tail.
    bool prepareTimedTail(QVector<OxBackwardInfo> &infos, const std::vector<OxInkPoint> &pts,
                          int &index, float width, double windowMs);

    double backwardDuration;   // ms

private:
    // Rebuilds the tail over the last windowMs into backwardPaths, uniting its bounds into
    // backwardRect and dirty; returns whether the body may be committed up to index.
    bool rebuildTail(float width, double windowMs, int &index, QRectF &dirty);
    // The end of the ordinary and the fitted creating: tail, body, centre line.
    QRectF finishCreating(QPainterPath &path, float width, int oldDrawn, QRectF dirty);
    // Lays the smoothed points from .. to into path.
    void extendCentreLine(QPainterPath &path, int from, int to);
    // Appends the last sample to points and, tested apart, to smoothedPoints.
    void appendFinalPoints(std::vector<OxInkPoint> &points, QPointF point, int time);
    // Appends the batch positions far enough from the previously kept one (at least minDistance,
    // or farther when not inclusive) to points and smoothedPoints, stamped evenly up to
    // params["time"]; returns how many were kept: none when there is no stroke to add to or the
    // width or the time is not usable.
    int acceptBatch(std::vector<OxInkPoint> &points, const QList<QPointF> &samples,
                    const QMap<QString, QVariant> &params, float width, double minDistance,
                    bool inclusive);
};

#endif
