// Queries of a page of recorded strokes drawn with every engine agree with a plain check of
// every stroke's polygons as handed out: a disc or a swept disc touches a stroke when an edge
// lies within its radius or its centre lies in the ink; a lasso takes the strokes whose ink it
// overlaps, with the share of the ink inside.

#include "PageFixture.h"

#include <QLineF>
#include <random>
#include <set>

namespace {
std::vector<QLineF> edgesOf(const Ink &ink)
{
    std::vector<QLineF> edges;
    size_t at = 0;
    for (int size : ink.sizes) {
        for (int i = 0; i < size; ++i) {
            const int j = (i + 1) % size;
            edges.emplace_back(ink.xy[at + 2 * i], ink.xy[at + 2 * i + 1], ink.xy[at + 2 * j],
                               ink.xy[at + 2 * j + 1]);
        }
        at += 2 * size_t(size);
    }
    return edges;
}

// Every key whose ink the disc swept from a to b touches, by looking at every edge.
std::vector<Key> bruteForceSwept(const OxStrokePage &page, QPointF a, QPointF b, double radius)
{
    std::vector<Key> out;
    for (Key key : page.keys()) {
        bool touches = page.inkPath(key).contains(a);
        for (const QLineF &edge : edgesOf(inkOf(page, key)))
            touches = touches || segmentDistance(QLineF(a, b), edge) <= radius;
        if (touches)
            out.push_back(key);
    }
    return out;
}

struct QueryPage : RecordedPage<2024>
{
    // A place near some stroke's ink: a point of it moved by up to 30 units.
    QPointF nearInk()
    {
        const QPointF point = randomInkPoint(page, random);
        std::uniform_real_distribution<double> shift(-30, 30);
        return point + QPointF(shift(random), shift(random));
    }
};
} // namespace

TEST_F(QueryPage, DiscsAndSweptDiscsFindWhatEveryEdgeSays)
{
    std::uniform_real_distribution<double> radius(0.5, 20);
    int touching = 0;
    for (int round = 0; round < 150; ++round) {
        const QPointF a = nearInk(), b = round % 3 == 0 ? a : nearInk();
        const double r = radius(random);
        std::vector<Key> found;
        ASSERT_EQ(page.hitSwept({a, b}, r, found), OxStrokePage::kDone);
        std::vector<Key> expected = bruteForceSwept(page, a, b, r);
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, expected) << "disc of radius " << r << " from " << a.x() << "," << a.y()
                                   << " to " << b.x() << "," << b.y();
        touching += !found.empty();
        if (a == b) {
            std::vector<Key> hit;
            page.hit(a, r, hit);
            std::sort(hit.begin(), hit.end());
            EXPECT_EQ(hit, expected);
        }
    }
    EXPECT_GT(touching, 30);
    EXPECT_LT(touching, 140);
}

// The plain engine's ink is its centre line stroked at the pen width with round caps: a disc
// reaches it just inside half the width from the line and its ends, not just outside.
TEST(StrokePageInk, CentreLineEngineInkReachesHalfTheWidth)
{
    OxStrokePage page;
    RecordedStroke line;
    for (int i = 0; i <= 20; ++i)
        line.push_back({10.0 + 5 * i, 50, 10 * i, 0.5f});
    Key key = 0;
    ASSERT_EQ(page.add(recordOf(line, 1, 8), key), OxStrokePage::kDone);
    auto touches = [&](QPointF p) {
        std::vector<Key> hit;
        page.hit(p, 0.05, hit);
        return !hit.empty();
    };
    EXPECT_TRUE(touches(QPointF(60, 54 - 0.1)));
    EXPECT_FALSE(touches(QPointF(60, 54 + 0.1)));
    EXPECT_TRUE(touches(QPointF(60, 46 + 0.1)));
    EXPECT_FALSE(touches(QPointF(60, 46 - 0.1)));
    EXPECT_TRUE(touches(QPointF(10 - 4 + 0.1, 50)));
    EXPECT_FALSE(touches(QPointF(10 - 4 - 0.1, 50)));
    EXPECT_TRUE(touches(QPointF(110 + 4 * M_SQRT1_2 - 0.1, 50 + 4 * M_SQRT1_2 - 0.1)));
    EXPECT_FALSE(touches(QPointF(110 + 4 * M_SQRT1_2 + 0.1, 50 + 4 * M_SQRT1_2 + 0.1)));
    // Its area is that of the stroked line: 100 x 8 plus a disc of radius 4.
    std::vector<OxStrokePage::Selected> all;
    ASSERT_EQ(page.lasso({{0, 0}, {200, 0}, {200, 100}, {0, 100}}, all), OxStrokePage::kDone);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].fraction, 1.0);
    std::vector<OxStrokePage::Selected> half;
    page.lasso({{0, 0}, {60, 0}, {60, 100}, {0, 100}}, half);
    ASSERT_EQ(half.size(), 1u);
    const double whole = 800 + M_PI * 16, left = 400 + M_PI * 8;
    EXPECT_NEAR(half[0].fraction, left / whole, 1e-3);
}

// A lasso selects the strokes whose ink it overlaps (as QPainterPath finds), and its fraction is
// the share of the ink's pixels inside it.
TEST_F(QueryPage, LassoSelectsOverlappingInkWithItsShare)
{
    for (int round = 0; round < 12; ++round) {
        const QPointF c = nearInk();
        std::vector<QPointF> lasso;
        QPainterPath lassoPath;
        for (int i = 0; i < 40; ++i) {
            const double angle = 2 * M_PI * i / 40, r = 60 + 25 * std::sin(3 * angle + round);
            lasso.emplace_back(c.x() + r * std::cos(angle), c.y() + 0.7 * r * std::sin(angle));
        }
        lassoPath.addPolygon(QPolygonF(QVector<QPointF>(lasso.begin(), lasso.end())));
        lassoPath.closeSubpath();
        std::vector<OxStrokePage::Selected> selected;
        ASSERT_EQ(page.lasso(lasso, selected), OxStrokePage::kDone);
        std::set<Key> chosen;
        for (const OxStrokePage::Selected &s : selected) {
            chosen.insert(s.key);
            const QRectF area = page.bounds(s.key).adjusted(-2, -2, 2, 2);
            const QImage all = paintInk(page, {s.key}, area);
            QImage inside(all.size(), QImage::Format_ARGB32_Premultiplied);
            inside.fill(Qt::transparent);
            QPainter painter(&inside);
            painter.translate(-area.topLeft());
            painter.setClipPath(lassoPath);
            painter.translate(area.topLeft());
            painter.drawImage(0, 0, all);
            painter.end();
            double inked = 0, in = 0;
            for (int y = 0; y < all.height(); ++y) {
                for (int x = 0; x < all.width(); ++x) {
                    inked += qAlpha(all.pixel(x, y));
                    in += qAlpha(inside.pixel(x, y));
                }
            }
            EXPECT_NEAR(s.fraction, in / inked, 0.03) << "stroke " << s.key;
            EXPECT_GT(s.fraction, 0);
            EXPECT_LE(s.fraction, 1);
        }
        for (Key key : keys) {
            if (!chosen.count(key)) {
                EXPECT_FALSE(page.inkPath(key).intersects(lassoPath)) << "stroke " << key;
            }
        }
    }
}
