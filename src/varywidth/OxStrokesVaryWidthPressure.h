#ifndef OXSTROKESVARYWIDTHPRESSURE_H
#define OXSTROKESVARYWIDTHPRESSURE_H

#include "OxPathGenerator.h"
#include "OxStrokesFixWidth.h"

#include <QBrush>
#include <QVector>

// A stroke whose width follows the pen pressure: the smoothed centre line is swept with a rotated
// elliptic nib whose long radius at a point is pressure * width / 2 (pressures smoothed over a
// window of five points). The filled outline (winding fill) is kept in pathWhole.
//
// Life cycle of one stroke (one engine object serves one stroke):
//   1. startCreate(points, path, first sample, params, width): the stroke starts as a circle of
//      radius pressure * width / 2; returns its bounds grown by 4.
//   2. creating(...) for every further sample: samples 0.1 or closer to the previous one are
//      dropped (empty rectangle); otherwise the new stretch is swept and the rectangle it changed,
//      grown by 4, returned (at the first step also the circle's area, which is erased).
//   3. endCreate(..., last sample, ...): appends the last sample when it lies 1.0 or more from the
//      previous one, sweeps the rest and replaces points by the smoothed points.
// params: "pressure" (toFloat, absent: 0, which gives zero width) and "time" (toInt, ms, absent: 0)
// of the sample. path receives the raw samples as a polyline.
//
// Unusable input is dropped with an empty rectangle and no state change: a sample, width,
// pressure or time that is not a finite number, and creating or endCreate on an empty point
// sequence.
//
// The engine owns its generator. A copy gets a generator of its own that continues the same
// outline; assignment copies the outline into the target's own generator.
class QUILLMARK_EXPORT OxStrokesVaryWidthPressure : public OxStrokesFixWidth
{
public:
    OxStrokesVaryWidthPressure();
    OxStrokesVaryWidthPressure(const OxStrokesVaryWidthPressure &other);
    OxStrokesVaryWidthPressure &operator=(const OxStrokesVaryWidthPressure &other);
    ~OxStrokesVaryWidthPressure() override;

    QRectF startCreate(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                       QMap<QString, QVariant> params, float width) override;
    QRectF creating(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                    QMap<QString, QVariant> params, float width) override;
    QRectF endCreate(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                     QMap<QString, QVariant> params, float width) override;
    // path becomes the polyline through points and the outline is swept along them with their
    // pressures as they are (no smoothing), added to whatever outline the generator holds.
    void buildPathFromXY(std::vector<OxInkPoint> &points, QPainterPath &path,
                         float width) override;
    // Replays a stored stroke through the phase calls with each point's pressure (no "time").
    // Points with a non-finite coordinate or pressure are left out; one usable point is a dot,
    // and with none nothing changes and the result is empty.
    QRectF loadFromWholePoints(std::vector<OxInkPoint> &points, QPainterPath &path,
                               float width) override;
    // Fills the part of the outline inside rect with brush, antialiased. A null painter is
    // ignored. It hides the base's paint(QPainter *, QRectF, QColor) on purpose: called through
    // this type, a colour converts to a brush and fills the outline.
#ifdef __clang__
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Woverloaded-virtual"
#endif
    virtual void paint(QPainter *painter, QRectF rect, const QBrush &brush);
#ifdef __clang__
#pragma clang diagnostic pop
#endif

    QPainterPath getPathWhole() const;
    // Installs another nib (size: the width it stands for); the current outline is not rebuilt.
    void setSamplePath(QPainterPath &path, float size);

protected:
    friend class OxEngineKind;
    friend class OxPredictedInk;

    // The nib of the variable-width engines: an ellipse of radii 25 across and 40 down around
    // (100, 100), turned by -60 degrees about its centre. It stands for the width kNibSize (its
    // long radius), so a generator width w gives long radius w and short radius 0.625 w.
    static QPainterPath ellipticNib();
    static constexpr float kNibSize = 40;
    // A builder that holds ellipticNib installed at kNibSize, as setSamplePath installs it, built
    // once: the engines' builders take their nib from it.
    static const OxPathBuilder &ellipticNibHolder();

    // (5 p + the weighted pressures of points index-4 .. index) / (5 + their weights): the
    // point's own pressure counts with p and once more in the window. Indices outside points are
    // left out of the window.
    float getSmoothPressure(std::vector<OxInkPoint> &points, int index, float pressure);
    // Smooths the pressures of points from .. to in place, pair by pair.
    void smoothPressures(std::vector<OxInkPoint> &points, int from, int to);
    // Sweeps the segments from .. to with widths pressure * width / 2; returns the changed
    // rectangle grown by 4 (the 8 x 8 square around the origin when nothing was added).
    QRectF computeConnectPathsAccordPressure(std::vector<OxInkPoint> &points, int from, int to,
                                             float width);
    // Sweeps the smoothed points not drawn yet (their pressures set) into the outline; at the
    // first step the start circle gives way to it and its area joins the changed rectangle.
    QRectF drawNewSmoothedPoints(float width);

    // pathWhole as it stands (see pathWholeStale); the engines read and change it only through
    // these.
    QPainterPath &wholePath() const;
    void setWholePath(const QPainterPath &path);
    // pathWhole is the generator's outline from now on.
    void wholePathFollowsGenerator();

    mutable QPainterPath pathWhole;
    OxPathGenerator *pathGenerator;
    QVector<int> smoothWeights;

private:
    // pathWhole is the generator's outline but not yet assembled: that costs time in proportion
    // to the stroke, so it waits until someone reads the outline.
    mutable bool pathWholeStale = false;
};

#endif
