// Erasing on a page of recorded strokes drawn with every engine, checked on the painted ink:
// after a partial erase no ink is left within the eraser's radius of its path, every pixel away
// from the cut is as it was, the reported rectangle holds every pixel that changed, and the
// pieces of a cut stroke are strokes like any other.

#include "PageFixture.h"

#include <random>

namespace {
struct Eraser
{
    std::vector<QPointF> path;
    double radius;
};

// Qt's rasterizer works through a path in bands whose height follows the path's size, and rounds
// a line where it crosses into the next band: the very same edges in a path of another size may
// cover a pixel a few 255ths more or less.
constexpr int kBandRounding = 3;

struct ChangedPixel
{
    QRectF rect;      // in drawing coordinates
    int difference;   // in alpha, of 255
};

std::vector<ChangedPixel> changedPixels(const QImage &before, const QImage &after, QPointF origin)
{
    std::vector<ChangedPixel> out;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            const int difference = std::abs(qAlpha(before.pixel(x, y)) - qAlpha(after.pixel(x, y)));
            if (difference > 0)
                out.push_back({QRectF(origin + QPointF(x, y), QSizeF(1, 1)), difference});
        }
    }
    return out;
}

struct ErasePage : RecordedPage<77>
{
    // An eraser drag of a few positions across some stroke's ink.
    Eraser acrossInk()
    {
        std::uniform_real_distribution<double> step(-12, 12), radius(2, 14);
        Eraser eraser{{randomInkPoint(page, random)}, radius(random)};
        for (int k = 0; k < 4; ++k)
            eraser.path.push_back(eraser.path.back() + QPointF(step(random), step(random)));
        return eraser;
    }

    QRectF everything() const
    {
        QRectF area;
        for (Key key : page.keys())
            area |= page.bounds(key);
        return area.adjusted(-40, -40, 40, 40).toAlignedRect();
    }
};
} // namespace

TEST_F(ErasePage, PartialEraseRemovesTheSweptInkAndNothingElse)
{
    int cuts = 0;
    for (int round = 0; round < 25; ++round) {
        const Eraser eraser = acrossInk();
        const QRectF area = everything();
        const QImage before = paintInk(page, page.keys(), area);
        OxStrokePage::Change change;
        ASSERT_EQ(page.erase(eraser.path, eraser.radius, &change), OxStrokePage::kDone);
        const QImage after = paintInk(page, page.keys(), area);
        cuts += !change.area.isEmpty();
        for (const ChangedPixel &pixel : changedPixels(before, after, area.topLeft())) {
            // The cut's edge is antialiased within a pixel of radius (and the eraser's chords
            // stray 0.01 beyond it).
            if (distanceToPath(pixel.rect.center(), eraser.path) > eraser.radius + 1.5) {
                EXPECT_LE(pixel.difference, kBandRounding) << "a pixel changed away from the cut";
            } else {
                EXPECT_TRUE(change.area.contains(pixel.rect)) << "a changed pixel outside the rectangle";
            }
        }
        for (int y = 0; y < after.height(); ++y) {
            for (int x = 0; x < after.width(); ++x) {
                const QPointF centre = area.topLeft() + QPointF(x + 0.5, y + 0.5);
                if (distanceToPath(centre, eraser.path) < eraser.radius - 1) {
                    ASSERT_EQ(qAlpha(after.pixel(x, y)), 0) << "ink left under the eraser";
                }
            }
        }
    }
    EXPECT_GT(cuts, 20);
}

// A stroke cut across its middle becomes two strokes under new keys, at its place in the drawing
// order; each is found, selected, moved and erased on its own.
TEST(StrokePagePieces, ACutInTwoMakesTwoStrokesOfTheirOwn)
{
    OxStrokePage page;
    RecordedStroke line, above;
    for (int i = 0; i <= 20; ++i) {
        line.push_back({10.0 + 5 * i, 50, 16 * i, 0.5f});
        above.push_back({10.0 + 5 * i, 300, 16 * i, 0.5f});
    }
    Key below = 0, cut = 0, top = 0;
    page.add(recordOf(above, 3, 8), below);
    page.add(recordOf(line, 2, 8), cut);
    page.add(recordOf(above, 6, 8, 0x000000ff, QPointF(0, 100)), top);
    OxStrokePage::Change change;
    ASSERT_EQ(page.erase({QPointF(60, 30), QPointF(60, 70)}, 5, &change), OxStrokePage::kDone);
    EXPECT_EQ(change.removed, std::vector<Key>{cut});
    ASSERT_EQ(change.added.size(), 2u);
    const Key left = change.added[0], right = change.added[1];
    EXPECT_GT(left, top);
    EXPECT_GT(right, top);
    EXPECT_EQ(page.keys(), (std::vector<Key>{below, left, right, top}));
    EXPECT_FALSE(page.contains(cut));
    EXPECT_LT(page.bounds(left).right(), 56);
    EXPECT_GT(page.bounds(right).left(), 64);

    std::vector<Key> hit;
    page.hit(QPointF(30, 50), 1, hit);
    EXPECT_EQ(hit, std::vector<Key>{left});
    std::vector<OxStrokePage::Selected> selected;
    page.lasso({{70, 0}, {200, 0}, {200, 100}, {70, 100}}, selected);
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected[0].key, right);

    const Ink rightInk = inkOf(page, right);
    ASSERT_EQ(page.move({left}, QPointF(0, 20)), OxStrokePage::kDone);
    EXPECT_EQ(inkOf(page, right), rightInk);
    EXPECT_NEAR(page.bounds(left).top(), 66, 0.01);

    ASSERT_EQ(page.eraseStrokes({QPointF(100, 50)}, 2, &change), OxStrokePage::kDone);
    EXPECT_EQ(change.removed, std::vector<Key>{right});
    EXPECT_EQ(page.keys(), (std::vector<Key>{below, left, top}));
}

// A piece's record is its stroke's record and the edits that led to it: a page that adds it
// rebuilds the same polygons to the bit.
TEST_F(ErasePage, RecordsRebuildCutAndMovedStrokesExactly)
{
    for (int round = 0; round < 8; ++round) {
        const Eraser eraser = acrossInk();
        page.erase(eraser.path, eraser.radius);
        if (round % 3 == 0)
            page.move({page.keys().front()}, QPointF(3.25, -7.5));
    }
    OxStrokePage rebuilt;
    int edited = 0;
    for (Key key : page.keys()) {
        OxStrokeRecord record;
        ASSERT_TRUE(page.record(key, record));
        edited += !record.edits.empty();
        Key again = 0;
        ASSERT_EQ(rebuilt.add(record, again), OxStrokePage::kDone);
        EXPECT_EQ(inkOf(rebuilt, again), inkOf(page, key)) << "stroke " << key;
        EXPECT_EQ(rebuilt.rgba(again), page.rgba(key));
    }
    EXPECT_GT(edited, 4);
}
