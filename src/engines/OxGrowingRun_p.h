#ifndef OXGROWINGRUN_P_H
#define OXGROWINGRUN_P_H

// Copies of point sequences that only grow (a side of a swept outline, a centre line), kept as
// float x, y pairs and brought up to date by copying only the new points.

#include <QPointF>
#include <cstring>
#include <vector>

namespace quillmark::detail {

// Equal to the bit, as a copy must be: -0 is not 0, and a NaN is the same NaN.
inline bool sameFloat(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Brings xy up to date with the n points pointAt(0 .. n - 1) (each a QPointF). When they still
// start where the copy starts and hold the copy's last point at the same place, only the new
// points are copied; otherwise all of them. Returns how many points were kept.
template <class PointAt>
int followGrowingPoints(std::vector<float> &xy, int n, PointAt pointAt)
{
    auto holds = [&](int i) {
        const QPointF p = pointAt(i);
        return sameFloat(xy[2 * size_t(i)], float(p.x()))
               && sameFloat(xy[2 * size_t(i) + 1], float(p.y()));
    };
    const int previous = int(xy.size() / 2);
    const int kept = previous > 0 && n >= previous && holds(0) && holds(previous - 1) ? previous : 0;
    xy.resize(2 * size_t(n));
    for (int i = kept; i < n; ++i) {
        const QPointF p = pointAt(i);
        xy[2 * size_t(i)] = float(p.x());
        xy[2 * size_t(i) + 1] = float(p.y());
    }
    return kept;
}

} // namespace quillmark::detail

#endif
