#ifndef OXINKPOINT_H
#define OXINKPOINT_H

#include "QuillmarkExport.h"

// One point of a stroke: a raw sample, a smoothed centre-line point, a Bezier control point or a
// plain 2D vector. Every arithmetic operation acts on all six fields, so a difference of two
// samples also carries their time and pressure difference; dot(), normalize() and setLength()
// measure the planar part (x, y) only.
//
// Positions are single precision, time is double. Pressure 0.5 is the default-constructed value;
// engines mark samples without a known pressure with -0.5. Nothing here guards against division
// by zero: a / 0 yields infinities or NaN like plain floats do.
class QUILLMARK_EXPORT OxInkPoint
{
public:
    OxInkPoint();
    OxInkPoint(float x, float y, double time, float pressure, float aux1, float aux2);
    OxInkPoint(const OxInkPoint &other) = default;
    OxInkPoint &operator=(const OxInkPoint &other) = default;
    virtual ~OxInkPoint();

    OxInkPoint operator+(const OxInkPoint &other) const;
    OxInkPoint operator-(const OxInkPoint &other) const;
    OxInkPoint operator*(float s) const;
    OxInkPoint operator/(float s) const;

    // x * other.x + y * other.y.
    float dot(const OxInkPoint &other) const;
    // Scales all six fields by 1 / planar length; a vector no longer than 1e-6 is left alone.
    // Changes this point and returns a copy of it.
    OxInkPoint normalize();
    // Scales all six fields by s / planar length; a vector no longer than 1e-6 is left alone.
    // Changes this point and returns a copy of it.
    OxInkPoint setLength(float s);

    float x;
    float y;
    double time;       // milliseconds
    float pressure;
    float aux1;        // spare channels: carried by the arithmetic, never read for a decision
    float aux2;

private:
    float planarLength() const;
};

// Every field a + (b - a) * t.
QUILLMARK_EXPORT OxInkPoint interpolate(const OxInkPoint &a, const OxInkPoint &b, float t);
// Writes time, pressure, aux1 and aux2 of target as a + (b - a) * t; target's position stays.
QUILLMARK_EXPORT void interpolateAttributes(const OxInkPoint &a, const OxInkPoint &b,
                                            OxInkPoint &target, float t);

#endif
