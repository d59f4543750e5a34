#ifndef OXFILLSAMPLES_P_H
#define OXFILLSAMPLES_P_H

// Sample records and stroke ends shared by the filled engine's normal and backward-only modes.

#include "OxGeometry.h"
#include "OxInkPoint.h"
#include "OxSamplePoint_p.h"
#include "OxStrokeSteps_p.h"

#include <QPointF>
#include <vector>

namespace quillmark::detail {

// A stroke of one point ends with a second point this far right and down, this many ms later.
constexpr float kDotOffset = 1.0f;
constexpr double kDotDelayMs = 10.0;

// What appendEndPoint added to a line.
enum class EndPoint { kNone, kDot, kSample };

// Ends line at the final sample: a line of one point gets the dot point (offset by (1, 1), 10 ms
// later), a longer line gets the sample (stamped with time) when it lies kMinEndStep or more from
// the line's end. An empty line is left alone.
inline EndPoint appendEndPoint(std::vector<OxInkPoint> &line, QPointF sample, double time)
{
    if (line.empty())
        return EndPoint::kNone;
    const OxInkPoint last = line.back();
    if (line.size() == 1) {
        line.push_back(OxInkPoint(last.x + kDotOffset, last.y + kDotOffset,
                                  last.time + kDotDelayMs, kNoPressure, 0, 0));
        return EndPoint::kDot;
    }
    const OxInkPoint end = samplePoint(sample, time);
    if (pointDistance(last.x, last.y, end.x, end.y) < kMinEndStep)
        return EndPoint::kNone;
    line.push_back(end);
    return EndPoint::kSample;
}

} // namespace quillmark::detail

#endif
