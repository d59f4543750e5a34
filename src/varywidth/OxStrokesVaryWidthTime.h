#ifndef OXSTROKESVARYWIDTHTIME_H
#define OXSTROKESVARYWIDTHTIME_H

#include "OxStrokesVaryWidthPressure.h"

#include <vector>

// A stroke whose width follows the writing speed: slow movement gives the full pen width, fast
// movement thins the line linearly down to a floor of a third of the width (at least 3) at
// maxVelocity units per millisecond. The speed is measured over a window of the smoothed line
// that moves on every speedWindowLength units; "time" (ms) stamps the samples and "pressure" is
// not read.
//
// Unlike the other engines, startCreate starts afresh (points, smoothed line, outline), so one
// engine object draws stroke after stroke. Otherwise the protocol, the rectangles and the handling
// of unusable input are those of OxStrokesVaryWidthPressure; creating and endCreate before any
// startCreate return an empty rectangle.
class QUILLMARK_EXPORT OxStrokesVaryWidthTime : public OxStrokesVaryWidthPressure
{
public:
    OxStrokesVaryWidthTime();
    OxStrokesVaryWidthTime(const OxStrokesVaryWidthTime &other) = default;
    OxStrokesVaryWidthTime &operator=(const OxStrokesVaryWidthTime &other) = default;
    ~OxStrokesVaryWidthTime() override;

    QRectF startCreate(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                       QMap<QString, QVariant> params, float width) override;
    QRectF creating(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                    QMap<QString, QVariant> params, float width) override;
    QRectF endCreate(std::vector<OxInkPoint> &points, QPainterPath &path, QPointF point,
                     QMap<QString, QVariant> params, float width) override;

protected:
    friend class OxPredictedInk;

    // The stroke width at a speed: width at 0, falling linearly to the floor at maxVelocity.
    float velocityToWidth(float velocity, float width);
    // The smoothed pseudo-pressure of points[index] for a stretch of distance covered in
    // duration ms (speed 1.0 when duration is 1e-5 or less).
    float computePressure(std::vector<OxInkPoint> &points, float distance, float duration,
                          int index, float width);

    float maxVelocity;
    std::vector<float> arcLengths;   // length of the smoothed line up to each of its points
    int speedWindowStart;            // index of the point the speed is measured from
    float speedWindowLength;

private:
    float pseudoPressure(float distance, float duration, float width);
};

#endif
