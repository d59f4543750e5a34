#ifndef OXSTROKEEND_P_H
#define OXSTROKEEND_P_H

// How every engine's end call closes a line of points: a stroke of one point so far (a tap) ends
// in a dot, a second point one unit right and down; otherwise the final sample joins the line when
// it lies kMinEndStep or more from the line's last point. The engines differ only in the time
// stamp and pressure of the dot's point.

#include "OxInkPoint.h"
#include "OxSamplePoint_p.h"
#include "OxStrokeSteps_p.h"

#include <QPointF>
#include <vector>

namespace quillmark::detail {

// The dot of a tap lies this far right and down of the tap.
constexpr float kDotOffset = 1.0f;

// The time stamp and pressure an engine gives the dot's point.
struct TapStamp
{
    double time;
    float pressure;
};

// What the end call added to a line.
enum class EndPoint { kNone, kDot, kSample };

struct EndStep
{
    EndPoint added;
    OxInkPoint point;   // the point added, if any
};

// What the end call adds to line for the final sample: the dot's point to a line of one point,
// the sample to a longer line when it lies kMinEndStep or more from the line's last point.
inline EndPoint endPointFor(const std::vector<OxInkPoint> &line, QPointF sample)
{
    if (line.empty())
        return EndPoint::kNone;
    if (line.size() == 1)
        return EndPoint::kDot;
    const OxInkPoint &last = line.back();
    return pointDistance(last.x, last.y, float(sample.x()), float(sample.y())) < kMinEndStep
               ? EndPoint::kNone
               : EndPoint::kSample;
}

// The second point of the dot a tap ends in.
inline OxInkPoint dotPoint(const OxInkPoint &tap, TapStamp stamp)
{
    return OxInkPoint(tap.x + kDotOffset, tap.y + kDotOffset, stamp.time, stamp.pressure, 0, 0);
}

// Ends line as endPointFor decides; sample is the final sample as the engine records it.
inline EndStep appendEndPoint(std::vector<OxInkPoint> &line, const OxInkPoint &sample,
                              TapStamp tap)
{
    const EndPoint added = endPointFor(line, position(sample));
    if (added == EndPoint::kNone)
        return {added, OxInkPoint()};
    line.push_back(added == EndPoint::kDot ? dotPoint(line.back(), tap) : sample);
    return {added, line.back()};
}

// The same for the engines that stamp the final sample with time and the dot kTapDelayMs after the
// tap, with no pressure.
inline EndPoint appendTimedEndPoint(std::vector<OxInkPoint> &line, QPointF sample, double time)
{
    const double tapTime = line.empty() ? 0 : line.back().time + kTapDelayMs;
    return appendEndPoint(line, samplePoint(sample, time), {tapTime, kNoPressure}).added;
}

// Where the caller's path goes when the end call added a point: to the dot's point, or to the
// final sample as the host gave it.
inline QPointF drawnEnd(const EndStep &end, QPointF sample)
{
    return end.added == EndPoint::kDot ? position(end.point) : sample;
}

} // namespace quillmark::detail

#endif
