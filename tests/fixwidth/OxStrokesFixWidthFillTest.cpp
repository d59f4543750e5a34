#include "FillStroke.h"

#include <algorithm>

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

// The round nib is a circle of radius 40 as Qt flattens it, scaled to half the pen width: the
// end cap of a straight stroke has the points of that circle that lie beyond its centre.
TEST(OxStrokesFixWidthFillNib, TheRoundNibIsTheCircleOfRadiusFortyFlattened)
{
    QPainterPath circle;
    circle.addEllipse(QPointF(0, 0), 40, 40);
    std::vector<QPointF> nib = elements(circle.simplified());
    nib.pop_back();   // the closing point repeats the first
    const auto beyond = [](const std::vector<QPointF> &points, double x) {
        return std::count_if(points.begin(), points.end(),
                             [x](QPointF p) { return p.x() > x + 1e-3; });
    };
    FillStroke s;
    s.width = 20;
    s.start(QPointF(0, 0));
    for (int x = 10; x <= 100; x += 10)
        s.move(QPointF(x, 0));
    const std::vector<QPointF> outline = elements(s.engine.getPathWhole());
    EXPECT_EQ(beyond(outline, s.points.back().x), beyond(nib, 0))
        << "the end cap's points must be those of the flattened circle of radius 40";
}

// A stroke that was never opened on this engine has no smoothed line to end, whatever points the
// host hands in.
TEST(OxStrokesFixWidthFillBadInput, AnUnopenedEngineEndsNothing)
{
    FillStroke unopened;
    unopened.points = {OxInkPoint(0, 0, 0, 0.5f, 0, 0), OxInkPoint(10, 0, 10, 0.5f, 0, 0)};
    EXPECT_TRUE(unopened.end(QPointF(90, 90)).isNull());
    EXPECT_TRUE(unopened.endBatch(QPointF(90, 90), 10).isNull());
    EXPECT_EQ(unopened.points.size(), 2u);
}
