#include "FakeEngines.h"
#include "OutputFile.h"
#include "PngWriter.h"

#include <gtest/gtest.h>

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
    void render(const std::vector<StrokeShapes> &panels)
    {
        std::vector<EngineDrawing> drawings;
        for (const StrokeShapes &shapes : panels)
            drawings.push_back({&adapter, 6, {{shapes, {}}}});
        layout = layoutPanels(drawings, 2, false);
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

TEST_F(PngWriter, FillsOutlinesNonzeroAndStrokesCentreLinesWithARoundPenOfTheWidth)
{
    // Two overlapping squares of one orientation: the even-odd rule would leave the overlap empty.
    QPainterPath outline = square(10, 10, 20);
    outline.addPath(square(20, 20, 20));
    outline.setFillRule(Qt::OddEvenFill);
    render({{QPolygonF({QPointF(0, 0), QPointF(100, 0), QPointF(100, 50)}), {outline}}});
    for (QPointF p : {QPointF(15, 15), QPointF(25, 25), QPointF(35, 35), QPointF(50, 2),
                      QPointF(102, 25), QPointF(-2, 0)})  // the last: the cap
        EXPECT_TRUE(inked(0, p)) << p.x() << "," << p.y();
    for (QPointF p : {QPointF(35, 12), QPointF(50, 5), QPointF(50, 25)})
        EXPECT_FALSE(inked(0, p)) << p.x() << "," << p.y();
}
