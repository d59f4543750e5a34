#include "FillStroke.h"
#include "TestData.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {
std::vector<OxInkPoint> line(std::initializer_list<QPointF> at)
{
    std::vector<OxInkPoint> points;
    for (QPointF p : at)
        points.emplace_back(float(p.x()), float(p.y()), 0, -0.5f, 0, 0);
    return points;
}

// The smoothed centre line of a recorded stroke, as a live filled stroke leaves it.
std::vector<OxInkPoint> recordedLine(size_t stroke)
{
    const RecordedStroke samples = loadStrokes("pf-recorded.txt").at(stroke);
    FillStroke s;
    s.start(QPointF(samples[0].x, samples[0].y));
    for (size_t i = 1; i + 1 < samples.size(); ++i)
        s.move(QPointF(samples[i].x, samples[i].y));
    s.end(QPointF(samples.back().x, samples.back().y));
    return s.points;
}

// Pixels covered by the path when filled without antialiasing.
QImage raster(const QPainterPath &path, QRectF frame)
{
    QImage image(frame.size().toSize(), QImage::Format_Grayscale8);
    image.fill(0);
    QPainter painter(&image);
    painter.translate(-frame.topLeft());
    painter.fillPath(path, Qt::white);
    return image;
}

// Pixels covered by exactly one of the two paths, and by the first.
std::pair<int, int> coverageDifference(const QPainterPath &a, const QPainterPath &b)
{
    const QRectF frame = (a.boundingRect() | b.boundingRect()).adjusted(-2, -2, 2, 2);
    const QImage ia = raster(a, frame), ib = raster(b, frame);
    int differ = 0, covered = 0;
    for (int y = 0; y < ia.height(); ++y)
        for (int x = 0; x < ia.width(); ++x) {
            covered += ia.pixelColor(x, y).value() > 0;
            differ += ia.pixelColor(x, y) != ib.pixelColor(x, y);
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

TEST(OxFillRebuild, ThreeArgumentFormOutlinesTheGivenLine)
{
    Rebuild r;
    const auto points = line({QPointF(0, 0), QPointF(20, 0), QPointF(20, 20)});
    r.fresh(points);
    EXPECT_EQ(elements(r.path), positions(points));
    EXPECT_EQ(positions(r.engine.smoothedPoints), positions(points));
    EXPECT_NEAR(r.engine.getPathWhole().boundingRect().left(), -3, 1e-4);
    EXPECT_NEAR(r.engine.getPathWhole().boundingRect().bottom(), 23, 1e-4);
    EXPECT_EQ(r.engine.leftSideCounts.keys(), (QList<int>{0, 1}));

    r.fresh({});
    EXPECT_TRUE(r.path.isEmpty());
    EXPECT_TRUE(r.engine.getPathWhole().isEmpty());
    EXPECT_TRUE(r.engine.smoothedPoints.empty());
}

TEST(OxFillRebuild, ThreePointsAreRebuiltByTheThreeArgumentForm)
{
    const auto points = line({QPointF(0, 0), QPointF(20, 0), QPointF(20, 20)});
    Rebuild fresh, copied;
    fresh.fresh(points);
    copied.copied(points, nullptr, {});
    EXPECT_EQ(elements(copied.path), elements(fresh.path));
    EXPECT_EQ(elements(copied.engine.getPathWhole()), elements(fresh.engine.getPathWhole()));
    EXPECT_EQ(positions(copied.engine.smoothedPoints), positions(fresh.engine.smoothedPoints));
}

TEST(OxFillRebuild, CopiedPiecesGiveTheShapeOfAFreshBuild)
{
    const std::vector<OxInkPoint> whole = recordedLine(1);
    ASSERT_GT(whole.size(), 40u);
    Rebuild source;
    source.fresh(whole);

    const int first = 10, count = 25;
    const std::vector<OxInkPoint> part(whole.begin() + first, whole.begin() + first + count);
    Rebuild fresh, copied;
    fresh.fresh(part);
    copied.copied(part, &source.engine, indicesFrom(first, count - 1));

    EXPECT_EQ(elements(copied.path), positions(part));
    EXPECT_EQ(positions(copied.engine.smoothedPoints), positions(part));
    const QRectF a = copied.engine.getPathWhole().boundingRect();
    const QRectF b = fresh.engine.getPathWhole().boundingRect();
    EXPECT_NEAR(a.left(), b.left(), 0.01);
    EXPECT_NEAR(a.top(), b.top(), 0.01);
    EXPECT_NEAR(a.right(), b.right(), 0.01);
    EXPECT_NEAR(a.bottom(), b.bottom(), 0.01);
    const auto [differ, covered] =
        coverageDifference(copied.engine.getPathWhole(), fresh.engine.getPathWhole());
    EXPECT_GT(covered, 100);
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
    const std::vector<OxInkPoint> whole = recordedLine(1);
    const std::vector<OxInkPoint> part(whole.begin() + 10, whole.begin() + 30);
    Rebuild fresh;
    fresh.fresh(part);
    const auto expected = elements(fresh.engine.getPathWhole());

    Rebuild source;
    source.fresh(whole);
    Rebuild noOther, shortList, outOfRange, itself;
    noOther.copied(part, nullptr, indicesFrom(10, 19));
    shortList.copied(part, &source.engine, indicesFrom(10, 3));
    outOfRange.copied(part, &source.engine, std::vector<int>(19, 100000));
    itself.copied(part, &itself.engine, indicesFrom(10, 19));
    EXPECT_EQ(elements(noOther.engine.getPathWhole()), expected);
    EXPECT_EQ(elements(outOfRange.engine.getPathWhole()), expected);
    EXPECT_EQ(elements(itself.engine.getPathWhole()), expected);
    EXPECT_FALSE(shortList.engine.getPathWhole().isEmpty());

    // Counts that claim more than other's sides hold are cut at their end.
    source.engine.leftSideCounts[12] = 1 << 20;
    source.engine.rightSideCounts[12] = 1 << 20;
    Rebuild overlong;
    overlong.copied(part, &source.engine, indicesFrom(10, 19));
    EXPECT_FALSE(overlong.engine.getPathWhole().isEmpty());
}

TEST(OxFillRebuild, ReplayAgreesWithALiveStroke)
{
    for (const RecordedStroke &stroke : loadStrokes("pf-recorded.txt")) {
        // Stored points are single precision; the live stroke gets the same positions.
        auto at = [&](size_t i) { return QPointF(float(stroke[i].x), float(stroke[i].y)); };
        FillStroke live;
        QRectF liveRect = live.start(at(0));
        for (size_t i = 1; i + 1 < stroke.size(); ++i)
            liveRect |= live.move(at(i));
        liveRect |= live.end(at(stroke.size() - 1));

        Fill replay;
        std::vector<OxInkPoint> points;
        for (size_t i = 0; i < stroke.size(); ++i)
            points.emplace_back(float(at(i).x()), float(at(i).y()), 0, 0.5f, 0, 0);
        QPainterPath path;
        EXPECT_EQ(replay.loadFromWholePoints(points, path, 6), liveRect);
        EXPECT_EQ(positions(points), positions(live.points));
        EXPECT_EQ(elements(replay.getPathWhole()), elements(live.engine.getPathWhole()));
        EXPECT_EQ(elements(path), positions(points));   // the centre line, not the live path
        EXPECT_EQ(replay.leftSideCounts, live.engine.leftSideCounts);
    }
}
