#ifndef OXLINEANGLES_P_H
#define OXLINEANGLES_P_H

namespace quillmark::detail {

// lineAngle(x0, y0, x1, y1, flip) into forward and lineAngle(x1, y1, x0, y0, flip) into
// backward, with one arctangent for both: the same numbers, bit for bit.
void lineAngles(float x0, float y0, float x1, float y1, bool flip, float &forward,
                float &backward);

} // namespace quillmark::detail

#endif
