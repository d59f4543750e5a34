#ifndef OXSAMPLEPOINT_P_H
#define OXSAMPLEPOINT_P_H

// Raw samples as the engines record them, their positions and the distance between two.

#include "OxGeometry.h"
#include "OxInkPoint.h"

#include <QPointF>

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

#endif
