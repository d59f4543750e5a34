#include "OxInkPoint.h"

#include <cmath>

namespace {
// Below this planar length a vector has no direction worth scaling.
constexpr double kMinLength = 1e-6;
}

OxInkPoint::OxInkPoint()
    : x(0), y(0), time(0), pressure(0.5f), aux1(0), aux2(0)
{
}

OxInkPoint::OxInkPoint(float x, float y, double time, float pressure, float aux1, float aux2)
    : x(x), y(y), time(time), pressure(pressure), aux1(aux1), aux2(aux2)
{
}

OxInkPoint::~OxInkPoint() = default;

OxInkPoint OxInkPoint::operator+(const OxInkPoint &o) const
{
    return OxInkPoint(x + o.x, y + o.y, time + o.time, pressure + o.pressure, aux1 + o.aux1,
                      aux2 + o.aux2);
}

OxInkPoint OxInkPoint::operator-(const OxInkPoint &o) const
{
    return OxInkPoint(x - o.x, y - o.y, time - o.time, pressure - o.pressure, aux1 - o.aux1,
                      aux2 - o.aux2);
}

OxInkPoint OxInkPoint::operator*(float s) const
{
    return OxInkPoint(x * s, y * s, time * double(s), pressure * s, aux1 * s, aux2 * s);
}

OxInkPoint OxInkPoint::operator/(float s) const
{
    return OxInkPoint(x / s, y / s, time / double(s), pressure / s, aux1 / s, aux2 / s);
}

float OxInkPoint::dot(const OxInkPoint &o) const
{
    return x * o.x + y * o.y;
}

float OxInkPoint::planarLength() const
{
    const float squared = x * x + y * y;
    return float(std::sqrt(double(squared)));
}

OxInkPoint OxInkPoint::normalize()
{
    const float length = planarLength();
    if (double(length) > kMinLength) {
        x /= length;
        y /= length;
        time /= double(length);
        pressure /= length;
        aux1 /= length;
        aux2 /= length;
    }
    return *this;
}

OxInkPoint OxInkPoint::setLength(float s)
{
    const float length = planarLength();
    if (double(length) > kMinLength) {
        x = x * s / length;
        y = y * s / length;
        time = time * double(s) / double(length);
        pressure = pressure * s / length;
        aux1 = aux1 * s / length;
        aux2 = aux2 * s / length;
    }
    return *this;
}

OxInkPoint interpolate(const OxInkPoint &a, const OxInkPoint &b, float t)
{
    return OxInkPoint(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t,
                      a.time + (b.time - a.time) * double(t),
                      a.pressure + (b.pressure - a.pressure) * t, a.aux1 + (b.aux1 - a.aux1) * t,
                      a.aux2 + (b.aux2 - a.aux2) * t);
}

void interpolateAttributes(const OxInkPoint &a, const OxInkPoint &b, OxInkPoint &target, float t)
{
    target.time = a.time + (b.time - a.time) * double(t);
    target.pressure = a.pressure + (b.pressure - a.pressure) * t;
    target.aux1 = a.aux1 + (b.aux1 - a.aux1) * t;
    target.aux2 = a.aux2 + (b.aux2 - a.aux2) * t;
}
