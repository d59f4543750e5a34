#ifndef OXFINITESAMPLE_P_H
#define OXFINITESAMPLE_P_H

#include "OxInkPoint.h"

#include <cmath>

namespace quillmark::detail {

// A sample whose position, time and pressure are all finite numbers.
inline bool isFiniteSample(const OxInkPoint &p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.time)
           && std::isfinite(p.pressure);
}

} // namespace quillmark::detail

#endif
