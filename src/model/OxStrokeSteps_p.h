#ifndef OXSTROKESTEPS_P_H
#define OXSTROKESTEPS_P_H

// Distances (and the delay of a tap) that decide what a new sample does to a stroke, shared by
// every engine.

namespace quillmark::detail {

// Samples this close to the previous one add noise, not shape.
constexpr double kMinSampleStep = 0.1;
// Moves shorter than this are contract steps, longer ones extend steps.
constexpr double kExtendThreshold = 7.0;
// The last sample is kept only this far from the previous one.
constexpr double kMinEndStep = 1.0;
// A stroke of one sample (a tap) ends with a second point this many ms after the end call's
// time. Added in double: a time at the top of the int range must not overflow.
constexpr double kTapDelayMs = 10.0;
// The engines that fill an outline grow the rectangles they report by this fixed margin (not by
// the width), which covers the antialiased edge.
constexpr float kOutlineMargin = 4.0f;

} // namespace quillmark::detail

#endif
