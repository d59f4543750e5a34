#include "FillStroke.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <random>
#include <memory>

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();

void expectRectNear(QRectF actual, QRectF expected, double tolerance = 1e-4)
{
    EXPECT_NEAR(actual.left(), expected.left(), tolerance);
    EXPECT_NEAR(actual.top(), expected.top(), tolerance);
    EXPECT_NEAR(actual.right(), expected.right(), tolerance);
    EXPECT_NEAR(actual.bottom(), expected.bottom(), tolerance);
}

void drawZigzag(FillStroke &s, int from, int to)
{
    for (int i = from; i < to; ++i)
        s.move(QPointF(10 + 6 * i, 50 + (i % 3) * 4));
}
} // namespace

TEST(OxStrokesFixWidthFillPhases, StartsAsADotGrownByFour)
{
    FillStroke s;
    EXPECT_EQ(s.start(QPointF(10, 10), 250), QRectF(QPointF(3, 3), QPointF(17, 17)));
    QPainterPath dot;
    dot.addEllipse(QPointF(10, 10), 3, 3);
    EXPECT_EQ(elements(s.engine.getPathWhole()), elements(dot));
    EXPECT_EQ(times(s.points), std::vector<double>{250});
    EXPECT_EQ(times(s.engine.smoothedPoints), std::vector<double>{250});
    EXPECT_EQ(s.points[0].pressure, -0.5f);
}

TEST(OxStrokesFixWidthFillPhases, FirstStepClearsTheDot)
{
    FillStroke s;
    s.start(QPointF(10, 10));
    // The dot (3, 3)-(17, 17) and the outline (7, 7)-(23, 13), each grown by 4.
    expectRectNear(s.move(QPointF(20, 10)), QRectF(QPointF(3, 3), QPointF(27, 17)));
    expectRectNear(s.engine.getPathWhole().boundingRect(), QRectF(QPointF(7, 7), QPointF(23, 13)));
    EXPECT_EQ(s.engine.smoothedPoints.back().time, 0);   // creating does not read the time

    // Later steps report only the piece they add.
    const QRectF next = s.move(QPointF(30, 10));
    EXPECT_GT(next.left(), 10);
    expectRectNear(s.engine.getPathWhole().boundingRect(), QRectF(QPointF(7, 7), QPointF(33, 13)));
    EXPECT_TRUE(s.move(QPointF(30.05, 10)).isNull());
}

TEST(OxStrokesFixWidthFillPhases, OneSampleStrokeEndsInADiagonal)
{
    FillStroke s;
    const QPointF p(10, 20);
    s.start(p, 500);
    const QRectF r = s.end(p, 900);
    const std::vector<QPointF> diagonal{p, p + QPointF(1, 1)};
    EXPECT_EQ(positions(s.points), diagonal);
    EXPECT_EQ(positions(s.engine.smoothedPoints), diagonal);
    EXPECT_EQ(times(s.points), (std::vector<double>{500, 510}));
    EXPECT_EQ(elements(s.path), diagonal);
    // The nib of radius 3 swept over the diagonal, grown by 4.
    const QRectF outline = s.engine.getPathWhole().boundingRect();
    expectRectNear(outline, QRectF(QPointF(7, 17), QPointF(14, 24)));
    EXPECT_EQ(r, QRectF(outline.topLeft() - QPointF(4, 4), outline.bottomRight() + QPointF(4, 4)));
}

TEST(OxStrokesFixWidthFillPhases, EndSampleIsTestedAgainstEachLine)
{
    FillStroke s;
    s.start(QPointF(0, 0));
    for (int x = 5; x <= 30; x += 5)
        s.move(QPointF(x, 0));
    // 0.5 from the last raw sample, 3 ahead of the smoothed line's end (27.5, 0).
    s.end(QPointF(30.5, 0), 77);
    EXPECT_EQ(s.points.back().x, 30.5f);
    EXPECT_EQ(s.points.back().time, 77);
    EXPECT_EQ(s.engine.lastDrawnIndex, int(s.engine.smoothedPoints.size()) - 1);
    EXPECT_EQ(s.path.currentPosition(), QPointF(27.5, 0));   // the raw line did not take it
}

TEST(OxStrokesFixWidthFillPhases, SideCountsKeepTheFirstRecord)
{
    Fill engine;
    engine.computePoints2PathInfo(1, engine.pathGenerator);
    EXPECT_EQ(engine.leftSideCounts.value(1), -1);
    EXPECT_EQ(engine.rightSideCounts.value(1), -1);

    FillStroke s;
    s.start(QPointF(10, 50));
    drawZigzag(s, 1, 10);
    const QMap<int, int> left = s.engine.leftSideCounts, right = s.engine.rightSideCounts;
    ASSERT_GE(left.size(), 3);
    EXPECT_EQ(left.firstKey(), 0);
    EXPECT_GT(left.value(1), left.value(0));   // a segment adds elements to the side
    s.engine.computePoints2PathInfo(0, s.engine.pathGenerator);
    s.engine.computePoints2PathInfo(1, nullptr);
    EXPECT_EQ(s.engine.leftSideCounts, left);
    EXPECT_EQ(s.engine.rightSideCounts, right);
}

TEST(OxStrokesFixWidthFillPaint, FillsOnlyInsideTheRectangleAndTheOutline)
{
    FillStroke s;
    s.width = 10;
    s.start(QPointF(20, 50));
    s.move(QPointF(80, 50));
    QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    auto painted = [&image](QRect allowed) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) > 0) {
                    ++count;
                    EXPECT_TRUE(allowed.contains(x, y)) << x << "," << y;
                }
        return count;
    };
    {
        QPainter painter(&image);
        s.engine.paint(&painter, QRectF(0, 0, 10, 10), Qt::black);
    }
    EXPECT_EQ(painted(QRect()), 0);
    {
        QPainter painter(&image);
        s.engine.paint(&painter, QRectF(40, 0, 20, 100), Qt::black);
    }
    // The outline spans y 45 to 55; antialiasing may touch one more pixel row.
    EXPECT_GE(painted(QRect(QPoint(40, 44), QPoint(59, 55))), 20 * 10);
    s.engine.paint(nullptr, QRectF(0, 0, 100, 100), Qt::black);
}

TEST(OxStrokesFixWidthFillCopies, ACopyOwnsItsBuildersAndContinuesTheStroke)
{
    auto original = std::make_unique<FillStroke>();
    original->start(QPointF(10, 50));
    drawZigzag(*original, 1, 6);
    FillStroke copy(*original);
    EXPECT_NE(copy.engine.pathGenerator, original->engine.pathGenerator);
    EXPECT_NE(copy.engine.pathConnector, original->engine.pathConnector);

    FillStroke reference;
    reference.start(QPointF(10, 50));
    drawZigzag(reference, 1, 12);
    drawZigzag(*original, 6, 9);   // the original draws on alone; the copy must not see it
    original.reset();
    drawZigzag(copy, 6, 12);
    EXPECT_EQ(elements(copy.engine.getPathWhole()), elements(reference.engine.getPathWhole()));
}

TEST(OxStrokesFixWidthFillCopies, AssignmentCopiesTheOutlineIntoOwnBuilders)
{
    FillStroke a, b, reference;
    a.start(QPointF(10, 50));
    drawZigzag(a, 1, 5);
    b.start(QPointF(0, 0));
    b.move(QPointF(40, 40));
    OxPathGenerator *ownGenerator = b.engine.pathGenerator;

    b = a;
    const FillStroke &same = b;
    b = same;
    EXPECT_EQ(b.engine.pathGenerator, ownGenerator);
    drawZigzag(a, 5, 7);
    drawZigzag(b, 5, 10);
    reference.start(QPointF(10, 50));
    drawZigzag(reference, 1, 10);
    EXPECT_EQ(elements(b.engine.getPathWhole()), elements(reference.engine.getPathWhole()));
    EXPECT_EQ(b.engine.leftSideCounts, reference.engine.leftSideCounts);
}

TEST(OxStrokesFixWidthFillBadInput, UnusableSamplesChangeNothing)
{
    FillStroke s;
    EXPECT_TRUE(s.start(QPointF(kNaN, 1)).isNull());
    EXPECT_TRUE(s.move(QPointF(5, 5)).isNull());   // nothing to continue
    EXPECT_TRUE(s.end(QPointF(5, 5)).isNull());
    EXPECT_TRUE(s.points.empty());
    EXPECT_TRUE(s.engine.smoothedPoints.empty());
    EXPECT_TRUE(s.engine.getPathWhole().isEmpty());

    s.start(QPointF(10, 50));
    drawZigzag(s, 1, 4);
    const auto points = positions(s.points);
    const auto outline = elements(s.engine.getPathWhole());
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(s.move(QPointF(inf, 0)).isNull());
    EXPECT_TRUE(s.end(QPointF(0, kNaN)).isNull());
    s.width = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(s.move(QPointF(60, 60)).isNull());
    EXPECT_TRUE(s.start(QPointF(60, 60)).isNull());
    EXPECT_EQ(positions(s.points), points);
    EXPECT_EQ(elements(s.engine.getPathWhole()), outline);

    // A stroke that was never opened on this engine has no smoothed line to end.
    FillStroke unopened;
    unopened.points = s.points;
    EXPECT_TRUE(unopened.end(QPointF(90, 90)).isNull());
    EXPECT_EQ(positions(unopened.points), points);
}

TEST(OxStrokesFixWidthFillBadInput, CallsInAnyOrderStayInBounds)
{
    // Random interleavings of every call, with rebuilds that shrink the smoothed line below the
    // last drawn index, odd copy indices and copies between engines; the sanitizer build checks
    // every read. Results must stay finite.
    std::mt19937 random(7);
    auto coordinate = [&random] { return double(random() % 2000) / 10.0; };
    auto sample = [&] {
        return random() % 15 == 0 ? QPointF(kNaN, 1) : QPointF(coordinate(), coordinate());
    };
    FillStroke a, b;
    for (int step = 0; step < 3000; ++step) {
        FillStroke &s = random() % 2 ? a : b;
        FillStroke &other = &s == &a ? b : a;
        const int ms = int(step * 7);
        QRectF r;
        switch (random() % 9) {
        case 0: r = s.start(sample(), ms); break;
        case 1: case 2: r = s.move(sample()); break;
        case 3: r = s.end(sample(), ms); break;
        case 4: r = s.batch({sample(), sample(), sample()}, ms); break;
        case 5: r = s.endBatch(sample(), ms); break;
        case 6: {
            std::vector<OxInkPoint> part(s.points.begin(),
                                         s.points.begin() + long(random() % (s.points.size() + 1)));
            std::vector<int> indices;
            for (size_t i = random() % 8; i < part.size(); ++i)
                indices.push_back(int(random() % 40) - 5);
            if (random() % 2)
                s.engine.buildPathFromXY(part, s.path, s.width, &other.engine, indices);
            else
                s.engine.buildPathFromXY(part, s.path, s.width);
            break;
        }
        case 7: s.engine = other.engine; break;
        default: s.points.clear(); break;
        }
        const QRectF outline = s.engine.getPathWhole().boundingRect();
        ASSERT_TRUE(std::isfinite(r.left()) && std::isfinite(r.bottom())) << step;
        ASSERT_TRUE(std::isfinite(outline.left()) && std::isfinite(outline.bottom())) << step;
    }
}
