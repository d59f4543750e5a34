#ifndef OXSTROKESVARYWIDTHBACKWARDEXTEND_H
#define OXSTROKESVARYWIDTHBACKWARDEXTEND_H

#include "OxBackwardInfo.h"
#include "OxPathConnector.h"
#include "OxStrokesVaryWidthPressure.h"

#include <QVector>

// A stroke whose newest stretch (the tail) tapers to a point at the pen tip: measured back along
// the stroke from the tip, the nib size is 0.1 at the tip and grows by 0.05 per unit of path
// length up to half the stroke width. What lies behind the tail is final and is committed at full
// width to the body outline (pathWhole); the tail is rebuilt from scratch at every sample into
// backwardPaths by the engine's own connector.
//
// Life cycle of one stroke (one engine object serves one stroke):
//   1. startCreate(points, path, first sample, params, width): a dot of radius width / 10 goes
//      into backwardPaths; returns its bounds grown by 4.
//   2. creating(...) for every further sample: samples 0.1 or closer to the previous one are
//      dropped (empty rectangle); otherwise the tail is rebuilt, the body committed as far as the
//      tail has reached full width, and the rectangle covering the old tail, the new tail and the
//      new body returned.
//   3. endCreate(..., last sample, ...): the final tail joins the body, backwardPaths is emptied
//      and points becomes the smoothed points with each one's relative width (1.0 on the body,
//      down to 0.2 / width at the tip) in its pressure.
// params are not read. path receives the raw samples as a polyline. Samples or widths that are
// not finite, and creating or endCreate on an empty point sequence, are dropped with an empty
// rectangle and no state change.
//
// The engine owns its generator and its connector; a copy gets builders of its own that continue
// the same outlines.
class QUILLMARK_EXPORT OxStrokesVaryWidthBackwardExtend : public OxStrokesVaryWidthPressure
{
public:
    OxStrokesVaryWidthBackwardExtend();
    OxStrokesVaryWidthBackwardExtend(const OxStrokesVaryWidthBackwardExtend &other);
    OxStrokesVaryWidthBackwardExtend &operator=(const OxStrokesVaryWidthBackwardExtend &other);
    ~OxStrokesVaryWidthBackwardExtend() override;

    QRectF startCreate(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                       QMap<QString, QVariant> params, float width) override;
    QRectF creating(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                    QMap<QString, QVariant> params, float width) override;
    QRectF endCreate(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                     QMap<QString, QVariant> params, float width) override;
    // Fills the body clipped to rect, then every tail path whose bounds meet rect, whole.
    void paint(QPainter *painter, QRectF rect, const QBrush &brush) override;

    // The outlines drawn apart from the body (getPathWhole): the start dot after startCreate,
    // the current tail while the stroke runs. A host that paints by itself fills these too.
    QVector<QPainterPath> getBackwardPaths() const;

protected:
    // The distance taper: walks back from the tip endPt over pts (its last point is replaced by
    // the tip) and prepends the tail segments to infos until both ends of a segment are at full
    // width (true; index: the point before the tail's first point) or pts runs out (false;
    // index 0). With fewer than two points there is no tail: false, index 0.
    bool prepareBackwardPath(QVector<OxBackwardInfo> &infos, std::vector<OxInkPoint> &pts,
                             int &index, QPointF endPt, float width);
    // Rebuilds the tail outline in the connector, appends it to paths and unites its bounds into
    // rect (unionTwoRect).
    void computeBackwardPath(QVector<OxBackwardInfo> &infos, QVector<QPainterPath> &paths,
                             QRectF &rect);
    // Appends the tail to the body outline; returns the changed rectangle grown by 4 (empty when
    // nothing changed).
    QRectF computeBackwardConnectPath(QVector<OxBackwardInfo> &infos);
    // Appends body segments from .. to at full width; returns the changed rectangle grown by 4
    // (empty when nothing changed).
    QRectF computeConnectPaths(std::vector<OxInkPoint> &pts, int from, int to, float width);
    // Writes each point's nib size relative to width / 2 into its pressure: the tail segments
    // describe the last infos.size() + 1 points, all older points get 1.0.
    void setPointsPressureInfo(std::vector<OxInkPoint> &pts, QVector<OxBackwardInfo> &infos,
                               float width);

    // Opens the stroke at point, stamped time: the tail list starts with a dot of radius
    // width / 10. Returns the dot's bounds grown by 4.
    QRectF startWithDot(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                        double time, float width);
    // Unites the previous tail's rectangle into dirty (it must be repainted) and forgets the
    // previous tail.
    void takeOldTail(QRectF &dirty);
    // Builds the outline of the tail in backwardInfos into backwardPaths; a tail with an area
    // joins backwardRect (the next call repaints it) and dirty.
    void drawTail(QRectF &dirty);

    QVector<QPainterPath> backwardPaths;   // drawn apart from the body: start dot, current tail
    QRectF backwardRect;                   // bounds of the tail built by the previous call
    QVector<OxBackwardInfo> backwardInfos; // the tail segments of the latest call
    OxPathConnector *pathConnector;
};

#endif
