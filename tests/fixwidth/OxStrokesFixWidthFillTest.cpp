#include "FillStroke.h"

#include <QImage>
#include <QPainter>
#include <cmath>
#include <memory>
#include <random>

namespace {
// Samples from to to of a zig-zag from (10, 50); sample 0 starts the stroke.
void drawZigzag(FillStroke &s, int from, int to)
{
    for (int i = from; i < to; ++i)
        i ? s.move(QPointF(10 + 6 * i, 50 + (i % 3) * 4)) : s.start(QPointF(10, 50));
}
} // namespace

TEST(OxStrokesFixWidthFillPhases, DotThenFirstStep)
{
    FillStroke s;
    EXPECT_EQ(s.start(QPointF(10, 10), 250), QRectF(QPointF(3, 3), QPointF(17, 17)));
    QPainterPath dot;
    dot.addEllipse(QPointF(10, 10), 3, 3);
    EXPECT_EQ(elements(s.engine.getPathWhole()), elements(dot));
    EXPECT_EQ(times(s.engine.smoothedPoints), std::vector<double>{250});

    // The step clears the dot: the dot (3, 3)-(17, 17) and the outline (7, 7)-(23, 13), each
    // grown by 4. creating does not read the time.
    expectRectNear(s.move(QPointF(20, 10), 260), QRectF(QPointF(3, 3), QPointF(27, 17)));
    expectRectNear(s.engine.getPathWhole().boundingRect(), QRectF(QPointF(7, 7), QPointF(23, 13)));
    EXPECT_EQ(s.points.back().time, 0);
    // Later steps report only the piece they add.
    EXPECT_GT(s.move(QPointF(30, 10)).left(), 10);
    EXPECT_TRUE(s.move(QPointF(30.05, 10)).isNull());
}

TEST(OxStrokesFixWidthFillPhases, EndSampleIsTestedAgainstEachLineAndATapEndsInADiagonal)
{
    FillStroke s;
    s.start(QPointF(0, 0));
    for (int x = 5; x <= 30; x += 5)
        s.move(QPointF(x, 0));
    // 0.5 from the last raw sample: the path does not take it; 3 from the smoothed line's end
    // (27.5, 0): the smoothed line does.
    s.end(QPointF(30.5, 0), 77);
    EXPECT_EQ(s.path.currentPosition(), QPointF(27.5, 0));
    EXPECT_EQ(s.points.back().x, 30.5f);
    EXPECT_EQ(s.points.back().time, 77);

    FillStroke tap;
    const QPointF p(10, 20);
    tap.start(p, 500);
    const QRectF r = tap.end(p, 900);
    const std::vector<QPointF> diagonal{p, p + QPointF(1, 1)};
    EXPECT_EQ(positions(tap.points), diagonal);
    EXPECT_EQ(times(tap.points), (std::vector<double>{500, 510}));
    EXPECT_EQ(elements(tap.path), diagonal);
    const QRectF outline = tap.engine.getPathWhole().boundingRect();
    expectRectNear(outline, QRectF(QPointF(7, 17), QPointF(14, 24)));
    EXPECT_EQ(r, outline.adjusted(-4, -4, 4, 4));
}

TEST(OxStrokesFixWidthFillPhases, SideCountsKeepTheFirstRecord)
{
    FillStroke s;
    s.engine.computePoints2PathInfo(1, s.engine.pathGenerator);
    EXPECT_EQ(s.engine.leftSideCounts.value(1), -1);   // sides still empty
    drawZigzag(s, 0, 10);
    const QMap<int, int> left = s.engine.leftSideCounts, right = s.engine.rightSideCounts;
    EXPECT_GT(left.value(2), left.value(0));
    EXPECT_EQ(left.value(1), -1);   // recorded before the stroke, never overwritten
    s.engine.computePoints2PathInfo(0, s.engine.pathGenerator);
    s.engine.computePoints2PathInfo(3, nullptr);
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
    auto paintedIn = [&](QRectF rect, QRect allowed) {
        s.engine.paint(nullptr, rect, Qt::black);   // draws nothing
        QPainter painter(&image);
        s.engine.paint(&painter, rect, Qt::black);
        painter.end();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) > 0) {
                    ++count;
                    EXPECT_TRUE(allowed.contains(x, y)) << x << "," << y;
                }
        return count;
    };
    EXPECT_EQ(paintedIn(QRectF(0, 0, 10, 10), QRect()), 0);
    // The outline spans y 45 to 55; antialiasing may touch one more pixel row.
    EXPECT_GE(paintedIn(QRectF(40, 0, 20, 100), QRect(QPoint(40, 44), QPoint(59, 55))), 200);
}

TEST(OxStrokesFixWidthFillCopies, CopiesOwnTheirBuildersAndContinueTheStroke)
{
    FillStroke reference;
    drawZigzag(reference, 0, 12);

    auto original = std::make_unique<FillStroke>();
    drawZigzag(*original, 0, 6);
    FillStroke copy(*original), assigned;
    assigned.start(QPointF(0, 0));
    assigned.move(QPointF(40, 40));
    OxPathGenerator *assignedGenerator = assigned.engine.pathGenerator;
    assigned = *original;
    const FillStroke &same = assigned;
    assigned = same;
    EXPECT_NE(copy.engine.pathGenerator, original->engine.pathGenerator);
    EXPECT_NE(copy.engine.pathConnector, original->engine.pathConnector);
    EXPECT_EQ(assigned.engine.pathGenerator, assignedGenerator);

    drawZigzag(*original, 6, 9);   // the original draws on alone; the others must not see it
    original.reset();
    for (FillStroke *s : {&copy, &assigned}) {
        drawZigzag(*s, 6, 12);
        EXPECT_EQ(elements(s->engine.getPathWhole()), elements(reference.engine.getPathWhole()));
        EXPECT_EQ(s->engine.leftSideCounts, reference.engine.leftSideCounts);
    }
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

    drawZigzag(s, 0, 4);
    const auto points = positions(s.points);
    const auto outline = elements(s.engine.getPathWhole());
    EXPECT_TRUE(s.move(QPointF(std::numeric_limits<double>::infinity(), 0)).isNull());
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
    EXPECT_TRUE(unopened.endBatch(QPointF(90, 90), 10).isNull());
    EXPECT_EQ(positions(unopened.points), points);
}

TEST(OxStrokesFixWidthFillBadInput, CallsInAnyOrderStayInBounds)
{
    // Random interleavings of every call, with rebuilds that shrink the smoothed line below the
    // last drawn index, odd copy indices and assignments between engines; the sanitizer build
    // checks every read. Results must stay finite.
    std::mt19937 random(7);
    auto sample = [&random] {
        return random() % 15 == 0 ? QPointF(kNaN, 1)
                                  : QPointF(random() % 2000 / 10.0, random() % 2000 / 10.0);
    };
    FillStroke a, b;
    for (int step = 0; step < 1000; ++step) {
        FillStroke &s = random() % 2 ? a : b;
        FillStroke &other = &s == &a ? b : a;
        std::vector<OxInkPoint> part(s.points.begin(),
                                     s.points.begin() + long(random() % (s.points.size() + 1)));
        std::vector<int> indices(random() % (part.size() + 2));
        for (int &k : indices)
            k = int(random() % 40) - 5;
        QRectF r;
        switch (random() % 9) {
        case 0: r = s.start(sample(), step * 7); break;
        case 1: case 2: r = s.move(sample()); break;
        case 3: r = s.end(sample(), step * 7); break;
        case 4: r = s.batch({sample(), sample(), sample()}, step * 7); break;
        case 5: r = s.endBatch(sample(), step * 7); break;
        case 6: s.engine.buildPathFromXY(part, s.path, s.width, &other.engine, indices); break;
        case 7: s.engine.buildPathFromXY(part, s.path, s.width); break;
        default: s.engine = other.engine; break;
        }
        const QRectF outline = s.engine.getPathWhole().boundingRect();
        ASSERT_TRUE(std::isfinite(r.left()) && std::isfinite(r.bottom())) << step;
        ASSERT_TRUE(std::isfinite(outline.left()) && std::isfinite(outline.bottom())) << step;
    }
}
