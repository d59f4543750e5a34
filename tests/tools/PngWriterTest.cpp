#include "FakeEngines.h"
#include "OutputFile.h"
#include "PngWriter.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {
QPainterPath square(double left, double top, double side)
{
    QPainterPath path;
    path.addRect(left, top, side, side);
    return path;
}

class PngWriter : public ::testing::Test
{
protected:
    EngineDrawing drawingOf(const StrokeShapes &shapes) { return {&adapter, 6, {{shapes, {}}}}; }

    void render(const std::vector<EngineDrawing> &drawings, double scale)
    {
        layout = layoutPanels(drawings, scale, false);
        image = renderPicture(drawings, layout, false);
        ASSERT_EQ(image.size(), layout.pixelSize());
    }

    // True when the pixel at a drawing point of a panel is mostly ink.
    bool inked(int panel, QPointF p) const
    {
        return qGray(image.pixel(layout.drawingToPage(panel).map(p).toPoint())) < 100;
    }

    EngineAdapter adapter = loggingAdapter();
    PanelLayout layout;
    QImage image;
};
} // namespace

TEST_F(PngWriter, FillsOutlinesWithTheNonzeroRule)
{
    // Two overlapping squares of one orientation: the even-odd rule would leave the overlap empty.
    QPainterPath outline = square(10, 10, 20);
    outline.addPath(square(20, 20, 20));
    outline.setFillRule(Qt::OddEvenFill);
    render({drawingOf({QPolygonF(), {outline}})}, 2);
    EXPECT_TRUE(inked(0, QPointF(15, 15)));
    EXPECT_TRUE(inked(0, QPointF(25, 25)));
    EXPECT_TRUE(inked(0, QPointF(35, 35)));
    EXPECT_FALSE(inked(0, QPointF(35, 12)));
}

TEST_F(PngWriter, StrokesTheCentreLineWithARoundPenOfTheWidth)
{
    render({drawingOf({QPolygonF({QPointF(0, 0), QPointF(100, 0), QPointF(100, 50)}), {}})}, 1);
    EXPECT_TRUE(inked(0, QPointF(50, 2)));
    EXPECT_FALSE(inked(0, QPointF(50, 5)));
    EXPECT_TRUE(inked(0, QPointF(102, 25)));
    EXPECT_TRUE(inked(0, QPointF(-2, 0)));  // the cap
    EXPECT_FALSE(inked(0, QPointF(50, 25)));
}

TEST_F(PngWriter, DrawsEachEngineInItsOwnPanel)
{
    render({drawingOf({QPolygonF(), {square(0, 0, 40)}}),
            drawingOf({QPolygonF(), {square(40, 40, 40)}})}, 1);
    EXPECT_EQ(image.width(), int(std::ceil(2 * layout.area.width())));
    EXPECT_TRUE(inked(0, QPointF(20, 20)));
    EXPECT_FALSE(inked(0, QPointF(60, 60)));
    EXPECT_FALSE(inked(1, QPointF(20, 20)));
    EXPECT_TRUE(inked(1, QPointF(60, 60)));
    EXPECT_EQ(QImage::fromData(pngBytes(image), "PNG").size(), image.size());
}
