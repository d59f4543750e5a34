#ifndef QUILLMARK_PAGEFIXTURE_H
#define QUILLMARK_PAGEFIXTURE_H

// Pages of recorded strokes for the page tests, and what a host sees of them: the ink as
// polygons, as a path, and painted into an image.

#include "OxEngineKind.h"
#include "OxStrokePage.h"
#include "StrokeRecords.h"
#include "TestData.h"

#include <QImage>
#include <QLineF>
#include <QPainter>
#include <cmath>
#include <map>
#include <random>

using Key = OxStrokePage::Key;

// The ink of one stroke as the page hands it out.
struct Ink
{
    std::vector<int> sizes;
    std::vector<float> xy;
    bool operator==(const Ink &o) const { return sizes == o.sizes && xy == o.xy; }
    bool operator!=(const Ink &o) const { return !(*this == o); }
};

inline void PrintTo(const Ink &ink, std::ostream *os)
{
    *os << ink.sizes.size() << " polygons of " << ink.xy.size() / 2 << " points";
}

inline Ink inkOf(const OxStrokePage &page, Key key)
{
    Ink ink;
    page.polygons(key, ink.sizes, ink.xy);
    return ink;
}

// Every stroke's ink by key: two snapshots are equal when the page holds the same strokes
// under the same keys, point for point.
inline std::map<Key, Ink> snapshot(const OxStrokePage &page)
{
    std::map<Key, Ink> all;
    for (Key key : page.keys())
        all[key] = inkOf(page, key);
    return all;
}

// The strokes of a recording, each added with one engine after the other (cycling through the
// six, or engine when it is given), moved to cells of a grid so that they do not overlap much.
inline std::vector<Key> addRecorded(OxStrokePage &page, const std::string &file, size_t most,
                                    float width = 8, int engine = 0)
{
    std::vector<Key> keys;
    const std::vector<RecordedStroke> strokes = loadStrokes(file);
    for (size_t i = 0; i < strokes.size() && keys.size() < most; ++i) {
        if (strokes[i].size() < 2)
            continue;
        const int kind = engine ? engine : 1 + int(keys.size() % OxEngineKind::all().size());
        const QPointF offset(300.0 * (keys.size() % 4), 300.0 * (keys.size() / 4));
        Key key = 0;
        EXPECT_EQ(page.add(recordOf(strokes[i], kind, width, 0x000000ff, offset), key),
                  OxStrokePage::kDone);
        keys.push_back(key);
    }
    return keys;
}

// A point of the ink of one of the page's strokes, picked with random.
inline QPointF randomInkPoint(const OxStrokePage &page, std::mt19937 &random)
{
    const std::vector<Key> keys = page.keys();
    const Ink ink = inkOf(page, keys[random() % keys.size()]);
    const size_t i = random() % (ink.xy.size() / 2);
    return QPointF(ink.xy[2 * i], ink.xy[2 * i + 1]);
}

// The page the erase and query tests work on: six recorded strokes, one with each engine, and
// the random numbers that pick where.
template <unsigned Seed>
struct RecordedPage : ::testing::Test
{
    OxStrokePage page;
    std::vector<Key> keys = addRecorded(page, "pf-recorded.txt", 6);
    std::mt19937 random{Seed};
};

// Edits a page as a user might: rounds of eraser drags across the ink of random strokes, every
// other one straight across a stroke's box (which cuts it in pieces), and every third round a
// move of a random stroke.
inline void cutAndMove(OxStrokePage &page, unsigned seed, int rounds)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> step(-12, 12), radius(2, 10);
    for (int round = 0; round < rounds && page.count() > 0; ++round) {
        std::vector<QPointF> path;
        if (round % 2) {
            const QRectF b = page.bounds(page.keys()[random() % page.keys().size()]);
            path = {QPointF(b.center().x() + step(random), b.top() - 5),
                    QPointF(b.center().x() + step(random), b.bottom() + 5)};
        } else {
            path = {randomInkPoint(page, random)};
            for (int k = 0; k < 4; ++k)
                path.push_back(path.back() + QPointF(step(random), step(random)));
        }
        EXPECT_EQ(page.erase(path, radius(random)), OxStrokePage::kDone);
        if (round % 3 == 2 && page.count() > 0)
            page.move({page.keys()[random() % page.count()]}, QPointF(step(random), step(random)));
    }
}

// The strokes of keys filled (antialiased, nonzero) into an image of area, one pixel per unit.
inline QImage paintInk(const OxStrokePage &page, const std::vector<Key> &keys, QRectF area)
{
    QImage image(int(std::ceil(area.width())), int(std::ceil(area.height())),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(-area.topLeft());
    for (Key key : keys)
        painter.fillPath(page.inkPath(key), Qt::black);
    return image;
}

inline double squaredDistanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF d = b - a;
    const double length2 = QPointF::dotProduct(d, d);
    const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / length2, 0.0, 1.0)
                                 : 0.0;
    const QPointF e = a + t * d - p;
    return QPointF::dotProduct(e, e);
}

inline double segmentDistance(const QLineF &a, const QLineF &b)
{
    if (a.intersects(b, nullptr) == QLineF::BoundedIntersection)
        return 0;
    return std::sqrt(std::min(
        std::min(squaredDistanceToSegment(a.p1(), b.p1(), b.p2()),
                 squaredDistanceToSegment(a.p2(), b.p1(), b.p2())),
        std::min(squaredDistanceToSegment(b.p1(), a.p1(), a.p2()),
                 squaredDistanceToSegment(b.p2(), a.p1(), a.p2()))));
}

// Distance from the segment to the polyline path (a point: to it).
inline double distanceToPath(const QLineF &segment, const std::vector<QPointF> &path)
{
    double best = segmentDistance(segment, QLineF(path[0], path[0]));
    for (size_t i = 0; i + 1 < path.size(); ++i)
        best = std::min(best, segmentDistance(segment, QLineF(path[i], path[i + 1])));
    return best;
}

// Distance from p to the polyline path (a point: to it).
inline double distanceToPath(QPointF p, const std::vector<QPointF> &path)
{
    double best = squaredDistanceToSegment(p, path[0], path[0]);
    for (size_t i = 0; i + 1 < path.size(); ++i)
        best = std::min(best, squaredDistanceToSegment(p, path[i], path[i + 1]));
    return std::sqrt(best);
}

#endif
