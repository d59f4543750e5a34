#ifndef OXINPUTGUARDS_P_H
#define OXINPUTGUARDS_P_H

// Checks shared by every engine's phase calls: a sample or width that is not a finite number
// cannot be used and is dropped before it touches any state.

#include <QPointF>
#include <cmath>

inline bool isFinitePoint(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

inline bool isUsableSample(QPointF p, float width)
{
    return isFinitePoint(p) && std::isfinite(width);
}

#endif
