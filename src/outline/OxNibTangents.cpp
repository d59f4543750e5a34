#include "OxNibTangents_p.h"

#include "OxGeometry.h"

#include <cmath>
#include <limits>

namespace quillmark::detail {

NibTangents::NibTangents(const QVector<QPointF> &points, QPointF center)
    : points(points), cx(float(center.x())), cy(float(center.y()))
{
    toCenter.reserve(size_t(points.size()));
    squaredToCenter.reserve(size_t(points.size()));
    for (const QPointF &p : points) {
        toCenter.push_back(pointDistance(float(p.x()), float(p.y()), cx, cy));
        squaredToCenter.push_back(toCenter.back() * toCenter.back());
    }
}

// pointToLineDistance takes the angle at the centre between the probe and the point from the
// cosine rule (float), then answers float(|sin(float(acos(cosine)))| * toCenter). Here the cosine
// is computed exactly as there, term for term, and sqrt(1 - cosine^2) stands for the sine: the
// float rounding of the angle (below 1.2e-7), of the product (relative 6e-8) and the library's
// last-bit errors stay far inside the margins, so the bound is never below the exact distance.
// The special answers stay below it too: 0 for a point on the centre or the probe, and the sine
// of float(pi) (9e-8) where the cosine reaches -1. A NaN cosine gives a NaN distance, which is
// never the farthest.
double NibTangents::distanceBound(int index, const Probe &probe) const
{
    const QPointF &p = points[index];
    const float toStart = toCenter[size_t(index)];
    const float toProbe = pointDistance(probe.x, probe.y, float(p.x()), float(p.y()));
    // (toStart * toStart + length * length - toProbe * toProbe) / (2 * length * toStart)
    const float cosine = (squaredToCenter[size_t(index)] + probe.squaredLength - toProbe * toProbe)
                         / (probe.twiceLength * toStart);
    const double squaredSine = 1 - double(cosine) * double(cosine);
    // Rounding can leave 1 - cosine^2 a little below 0.
    const double sine = squaredSine > 0 ? std::sqrt(squaredSine) : 0.0;
    return (sine + 1e-6) * double(toStart) * (1 + 1e-6);
}

void NibTangents::find(float qx, float qy, int &left, int &right)
{
    float a, b, d;
    lineCoefficients(&a, &b, &d, cx, cy, qx, qy);
    const float length = pointDistance(cx, cy, qx, qy);
    const Probe probe{qx, qy, length * length, 2 * length};
    // A probe of (nearly) no length makes every distance the distance from the centre.
    const bool boundHolds = length > 1;
    Farthest onLeft, onRight;
    const auto consider = [&](int j) {
        const QPointF &p = points[j];
        Farthest &f = float(a * p.x() + b * p.y() + d) > 0 ? onLeft : onRight;
        // No point is farther from the line than from the centre.
        if (toCenter[size_t(j)] < f.distance
            || (boundHolds && distanceBound(j, probe) < f.distance))
            return;
        const float distance = pointToLineDistance(cx, cy, qx, qy, float(p.x()), float(p.y()));
        if (distance > f.distance || (distance == f.distance && j < f.index)) {
            f.distance = distance;
            f.index = j;
        }
    };
    const int count = points.size();
    if (count > 0) {
        // The last line's tangent points lie at or near this line's (the lines come in turning
        // order): taken first, they set a distance that rules out nearly every other point.
        consider(lastLeft);
        consider(lastRight);
    }
    for (int j = 0; j < count; ++j)
        consider(j);
    left = lastLeft = onLeft.index;
    right = lastRight = onRight.index;
}

} // namespace quillmark::detail
