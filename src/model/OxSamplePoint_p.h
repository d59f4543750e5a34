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

// What a creating call reads of its parameter map besides the sample.
enum class SampleReads { kNothing, kTime, kTimeAndPressure };

// The step a creating call takes: from the last sample, this far, to the new sample as the engine
// records it.
struct SampleStep
{
    OxInkPoint last;
    float dist;
    OxInkPoint sample;
};

// The prologue of every creating call: appends the sample at point to points, stamped with the
// "time" and "pressure" the engine reads (time 0 and kNoPressure where it reads none), and
// returns the step to it. Nothing, and no change, when the step cannot be taken: no sample yet, a
// point or width that is not finite, a point within 0.1 of the last sample (noise, not shape), or
// a parameter read that is not usable.
inline std::optional<SampleStep> takeSample(std::vector<OxInkPoint> &points, QPointF point,
                                            const QMap<QString, QVariant> &params, float width,
                                            SampleReads reads)
{
    if (points.empty() || !isUsableSample(point, width))
        return std::nullopt;
    const OxInkPoint last = points.back();
    const float dist = pointDistance(last.x, last.y, float(point.x()), float(point.y()));
    int time = 0;
    float pressure = kNoPressure;
    if (dist <= kMinSampleStep || (reads != SampleReads::kNothing && !readTimeParam(params, time))
        || (reads == SampleReads::kTimeAndPressure && !readPressureParam(params, pressure)))
        return std::nullopt;
    const OxInkPoint sample(float(point.x()), float(point.y()), time, pressure, 0, 0);
    points.push_back(sample);
    return SampleStep{last, dist, sample};
}

} // namespace quillmark::detail

#endif
