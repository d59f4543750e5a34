#ifndef OXSAMPLEPOINT_P_H
#define OXSAMPLEPOINT_P_H

// Raw samples as the engines record them, their positions and the distance between two.

#include "OxGeometry.h"
#include "OxInkPoint.h"
#include "OxInputGuards_p.h"
#include "OxStrokeSteps_p.h"

#include <QPointF>
#include <optional>
#include <vector>

namespace quillmark::detail {

// The pressure of a sample that brings none of its own.
constexpr float kNoPressure = -0.5f;

inline OxInkPoint samplePoint(QPointF p, double time = 0)
{
    return OxInkPoint(float(p.x()), float(p.y()), time, kNoPressure, 0, 0);
}

inline QPointF position(const OxInkPoint &p)
{
    return QPointF(p.x, p.y);
}

inline float distance(const OxInkPoint &a, const OxInkPoint &b)
{
    return pointDistance(a.x, a.y, b.x, b.y);
}

// The step a creating call takes to point: from the last sample, this far.
struct SampleStep
{
    OxInkPoint last;
    float dist;
};

// Nothing when the step cannot be taken: no sample yet, a point or width that is not finite, or
// a point within 0.1 of the last sample (noise, not shape).
inline std::optional<SampleStep> usableStep(const std::vector<OxInkPoint> &points, QPointF point,
                                            float width)
{
    if (points.empty() || !isUsableSample(point, width))
        return std::nullopt;
    const OxInkPoint &last = points.back();
    const float dist = pointDistance(last.x, last.y, float(point.x()), float(point.y()));
    if (dist <= kMinSampleStep)
        return std::nullopt;
    return SampleStep{last, dist};
}

} // namespace quillmark::detail

#endif
