// Ink on the integer grid: conversions and the measures of a set of rings.

#include "OxInk_p.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace quillmark::detail {

bool toGrid(double v, qint64 &grid)
{
    if (!(std::fabs(v) <= kInkLimit))
        return false;
    grid = std::llround(v * kInkScale);
    return true;
}

__int128 doubleArea(const OxInk &ink)
{
    if (ink.isLine())
        return 0;
    __int128 sum = 0;
    size_t at = 0;
    for (quint32 size : ink.ringSizes) {
        const qint32 *ring = ink.xy.data() + 2 * at;
        for (quint32 i = 0; i < size; ++i) {
            const quint32 j = i + 1 == size ? 0 : i + 1;
            sum += __int128(qint64(ring[2 * i])) * ring[2 * j + 1]
                   - __int128(qint64(ring[2 * j])) * ring[2 * i + 1];
        }
        at += size;
    }
    return sum < 0 ? -sum : sum;
}

double area(const OxInk &ink)
{
    return double(doubleArea(ink)) / (2 * kInkScale * kInkScale);
}

QRectF bounds(const OxInk &ink)
{
    if (ink.xy.empty())
        return QRectF();
    qint32 left = std::numeric_limits<qint32>::max(), top = left;
    qint32 right = std::numeric_limits<qint32>::min(), bottom = right;
    for (size_t i = 0; i < ink.xy.size(); i += 2) {
        left = std::min(left, ink.xy[i]);
        right = std::max(right, ink.xy[i]);
        top = std::min(top, ink.xy[i + 1]);
        bottom = std::max(bottom, ink.xy[i + 1]);
    }
    return QRectF(QPointF(fromGrid(left) - ink.reach, fromGrid(top) - ink.reach),
                  QPointF(fromGrid(right) + ink.reach, fromGrid(bottom) + ink.reach));
}

namespace {
// The points of ink outside the grid box, packed into one number each.
void appendOutside(const OxInk &ink, const double box[4], std::vector<quint64> &points)
{
    for (size_t i = 0; i < ink.xy.size(); i += 2) {
        const qint32 x = ink.xy[i], y = ink.xy[i + 1];
        if (!(x >= box[0] && x <= box[2] && y >= box[1] && y <= box[3]))
            points.push_back(quint64(quint32(x)) << 32 | quint32(y));
    }
}
} // namespace

bool boundsOfChangedPoints(const OxInk &before, const std::vector<OxInk> &after,
                           const QRectF &cut, QRectF &box)
{
    const double grid[4] = {cut.left() * kInkScale, cut.top() * kInkScale,
                            cut.right() * kInkScale, cut.bottom() * kInkScale};
    std::vector<quint64> was, is, changed;
    appendOutside(before, grid, was);
    for (const OxInk &part : after)
        appendOutside(part, grid, is);
    std::sort(was.begin(), was.end());
    std::sort(is.begin(), is.end());
    std::set_symmetric_difference(was.begin(), was.end(), is.begin(), is.end(),
                                  std::back_inserter(changed));
    OxInk points;
    for (quint64 p : changed) {
        points.xy.push_back(qint32(quint32(p >> 32)));
        points.xy.push_back(qint32(quint32(p)));
    }
    box = bounds(points);
    return !changed.empty();
}

bool translate(OxInk &ink, qint64 dx, qint64 dy)
{
    const qint64 limit = qint64(kInkLimit * kInkScale);
    for (size_t i = 0; i < ink.xy.size(); i += 2) {
        const qint64 x = ink.xy[i] + dx, y = ink.xy[i + 1] + dy;
        if (std::llabs(x) > limit || std::llabs(y) > limit)
            return false;
    }
    for (size_t i = 0; i < ink.xy.size(); i += 2) {
        ink.xy[i] = qint32(ink.xy[i] + dx);
        ink.xy[i + 1] = qint32(ink.xy[i + 1] + dy);
    }
    return true;
}

} // namespace quillmark::detail
