#ifndef OXSAMPLEBATCH_P_H
#define OXSAMPLEBATCH_P_H

// Batches of samples (the backward-only and raw modes): which positions are kept, and the time
// stamps spread over them.

#include "OxGeometry.h"
#include "OxInputGuards_p.h"

#include <QList>
#include <QPointF>
#include <algorithm>
#include <cmath>
#include <limits>

namespace quillmark::detail {

// The finite positions of samples that lie far enough from the previously kept one (the first
// compared with from): at least minDistance when inclusive, farther than it otherwise.
inline QList<QPointF> keptBatchPositions(const QList<QPointF> &samples, QPointF from,
                                         double minDistance, bool inclusive)
{
    QList<QPointF> kept;
    float x = float(from.x()), y = float(from.y());
    for (const QPointF &s : samples) {
        if (!isFinitePoint(s))
            continue;
        const double d = pointDistance(x, y, float(s.x()), float(s.y()));
        if (inclusive ? d >= minDistance : d > minDistance) {
            kept.append(s);
            x = float(s.x());
            y = float(s.y());
        }
    }
    return kept;
}

// Truncates toward zero like a conversion to int, but saturates instead of overflowing and maps
// NaN to 0 (times in a caller's points are not checked).
inline int truncatedMs(double ms)
{
    if (std::isnan(ms))
        return 0;
    const double clamped = std::min(std::max(ms, double(std::numeric_limits<int>::min())),
                                    double(std::numeric_limits<int>::max()));
    return int(clamped);
}

// Spreads a batch of count samples evenly from the stroke's last time stamp to the batch's:
// stamp(j) = start + step * (j + 1) in whole ms, the step truncated, so the last stamp may fall
// short of the batch's time.
struct BatchClock
{
    BatchClock(double lastTime, int batchTime, int count)
        : start(truncatedMs(lastTime)),
          step(truncatedMs((double(batchTime) - double(start)) / count))
    {
    }
    double stamp(int j) const { return double(start) + double(step) * (j + 1); }

    int start;
    int step;
};

} // namespace quillmark::detail

#endif
