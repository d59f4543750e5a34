#include "FillStroke.h"
#include "TestData.h"

#include <QImage>
#include <QPainter>

namespace {
// The smoothed centre line of a recorded stroke, as a live filled stroke leaves it.
std::vector<OxInkPoint> recordedLine()
{
    const RecordedStroke samples = loadStrokes("pf-recorded.txt").at(1);
    FillStroke s;
    s.start(QPointF(samples[0].x, samples[0].y));
    for (size_t i = 1; i + 1 < samples.size(); ++i)
        s.move(QPointF(samples[i].x, samples[i].y));
    s.end(QPointF(samples.back().x, samples.back().y));
    return s.points;
}

// Pixels covered by exactly one of the two paths, and by the first (no antialiasing).
std::pair<int, int> coverageDifference(const QPainterPath &a, const QPainterPath &b)
{
    const QRectF frame = (a.boundingRect() | b.boundingRect()).adjusted(-2, -2, 2, 2);
    QImage image(frame.size().toSize(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.translate(-frame.topLeft());
    painter.fillPath(a, Qt::red);
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    painter.fillPath(b, Qt::green);
    painter.end();
    int differ = 0, covered = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            covered += qRed(c) > 0;
            differ += (qRed(c) > 0) != (qGreen(c) > 0);
        }
    return {differ, covered};
}

struct Rebuild
{
    Fill engine;
    QPainterPath path;
    void fresh(std::vector<OxInkPoint> points) { engine.buildPathFromXY(points, path, 6); }
    void copied(std::vector<OxInkPoint> points, OxStrokesFixWidthFill *other,
                std::vector<int> indices)
    {
        engine.buildPathFromXY(points, path, 6, other, indices);
    }
};

std::vector<int> indicesFrom(int first, int count)
{
    std::vector<int> indices;
    for (int i = 0; i < count; ++i)
        indices.push_back(first + i);
    return indices;
}
} // namespace

TEST(OxFillRebuild, FreshBuildAndThreePoints)
{
    const std::vector<OxInkPoint> points{OxInkPoint(0, 0, 0, 0, 0, 0), OxInkPoint(20, 0, 0, 0, 0, 0),
                                         OxInkPoint(20, 20, 0, 0, 0, 0)};
    Rebuild fresh, copied;
    fresh.fresh(points);
    EXPECT_EQ(elements(fresh.path), positions(points));
    EXPECT_EQ(positions(fresh.engine.smoothedPoints), positions(points));
    expectRectNear(fresh.engine.getPathWhole().boundingRect(), QRectF(-3, -3, 26, 26));
    // With three points the five-argument form is the three-argument one.
    copied.copied(points, nullptr, {});
    EXPECT_EQ(elements(copied.path), elements(fresh.path));
    EXPECT_EQ(elements(copied.engine.getPathWhole()), elements(fresh.engine.getPathWhole()));
    EXPECT_EQ(positions(copied.engine.smoothedPoints), positions(points));

    fresh.fresh({});
    EXPECT_TRUE(fresh.path.isEmpty());
    EXPECT_TRUE(fresh.engine.getPathWhole().isEmpty());
}

TEST(OxFillRebuild, CopiedPiecesGiveTheShapeOfAFreshBuild)
{
    const std::vector<OxInkPoint> whole = recordedLine();
    Rebuild source;
    source.fresh(whole);
    const int first = 10, count = 25;
    const std::vector<OxInkPoint> part(whole.begin() + first, whole.begin() + first + count);
    Rebuild fresh, copied;
    fresh.fresh(part);
    copied.copied(part, &source.engine, indicesFrom(first, count - 1));

    EXPECT_EQ(elements(copied.path), positions(part));
    EXPECT_EQ(positions(copied.engine.smoothedPoints), positions(part));
    expectRectNear(copied.engine.getPathWhole().boundingRect(),
                   fresh.engine.getPathWhole().boundingRect(), 0.01);
    const auto [differ, covered] =
        coverageDifference(copied.engine.getPathWhole(), fresh.engine.getPathWhole());
    EXPECT_GT(covered, 500);
    EXPECT_LE(differ, covered / 100);
    EXPECT_EQ(copied.engine.leftSideCounts.size(), count - 1);

    // The middle pieces do come from the other engine: from one whose line lies 0.5 lower,
    // they lie lower too.
    std::vector<OxInkPoint> lower = whole;
    for (OxInkPoint &p : lower)
        p.y += 0.5f;
    Rebuild lowerSource, fromLower;
    lowerSource.fresh(lower);
    fromLower.copied(part, &lowerSource.engine, indicesFrom(first, count - 1));
    EXPECT_NE(elements(fromLower.engine.getPathWhole()), elements(fresh.engine.getPathWhole()));
}

TEST(OxFillRebuild, SegmentsThatCannotBeCopiedAreComputed)
{
    const std::vector<OxInkPoint> whole = recordedLine();
    const std::vector<OxInkPoint> part(whole.begin() + 10, whole.begin() + 30);
    Rebuild fresh, source;
    fresh.fresh(part);
    source.fresh(whole);
    Rebuild noOther, outOfRange, negative, itself, shortList;
    noOther.copied(part, nullptr, indicesFrom(10, 19));
    outOfRange.copied(part, &source.engine, std::vector<int>(19, 100000));
    // The lowest int has no segment before it (its predecessor used to overflow).
    negative.copied(part, &source.engine, std::vector<int>(19, std::numeric_limits<int>::min()));
    itself.copied(part, &itself.engine, indicesFrom(10, 19));
    for (Rebuild *r : {&noOther, &outOfRange, &negative, &itself})
        EXPECT_EQ(elements(r->engine.getPathWhole()), elements(fresh.engine.getPathWhole()));
    shortList.copied(part, &source.engine, indicesFrom(10, 3));
    EXPECT_FALSE(shortList.engine.getPathWhole().isEmpty());

    // Counts that claim more than the other engine's sides hold stop at their end.
    source.engine.leftSideCounts[12] = 1 << 20;
    source.engine.rightSideCounts[12] = 1 << 20;
    Rebuild overlong;
    overlong.copied(part, &source.engine, indicesFrom(10, 19));
    EXPECT_FALSE(overlong.engine.getPathWhole().isEmpty());
}
