#include "FakeEngines.h"
#include "SvgShapes.h"
#include "SvgWriter.h"

#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {
struct SvgElement
{
    QXmlStreamAttributes attributes;
    QString text;

    QString operator[](const char *name) const
    {
        return attributes.value(QLatin1String(name)).toString();
    }
};

// The elements called name, in document order; fails the test when the XML is not well formed.
std::vector<SvgElement> elementsOf(const QByteArray &svg, const char *name)
{
    std::vector<SvgElement> elements;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String(name)) {
            const QXmlStreamAttributes attributes = xml.attributes();
            elements.push_back(
                {attributes, xml.readElementText(QXmlStreamReader::IncludeChildElements)});
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return elements;
}

class SvgWriter : public ::testing::Test
{
protected:
    SvgWriter()
    {
        triangle.lineTo(40.125, 20.5);
        triangle.lineTo(25.0001, 45.9999);
        triangle.closeSubpath();
        QPainterPath dot;
        dot.addEllipse(QPointF(60, 30), 3.3, 3.3);
        StrokeRun outlined{{QPolygonF(), {triangle, dot}},
                           {{QRectF(10, 20, 31, 26), 1, 1, true}, {QRectF(), 1, 1, false}}};
        StrokeRun centred{{QPolygonF({QPointF(5, 5), QPointF(7.5, 9.875), QPointF(12, 3)}), {}},
                          {{QRectF(2, 2, 6, 6), 1, 1, true}, {QRectF(4, 2, 10, 10), 1, 1, false}}};
        drawing = {&adapter, 4.5, {outlined, centred}};
    }

    QByteArray svg(const std::vector<EngineDrawing> &drawings, double scale, bool showDirty)
    {
        return svgDocument(drawings, layoutPanels(drawings, scale, showDirty), showDirty);
    }

    EngineAdapter adapter = loggingAdapter();
    QPainterPath triangle{QPointF(10.25, 20.5)};
    EngineDrawing drawing;
};
} // namespace

TEST_F(SvgWriter, WritesAFilledPathPerOutlineAndAStrokedPolylinePerCentreLine)
{
    const QByteArray document = svg({drawing}, 1, false);
    const std::vector<SvgElement> paths = elementsOf(document, "path");
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0]["d"], QStringLiteral("M 10.25 20.5 L 40.125 20.5 L 25 46 L 10.25 20.5"));
    EXPECT_EQ(paths[1]["d"].count(QLatin1Char('C')), 4);
    EXPECT_EQ(paths[0]["fill-rule"] + paths[1]["fill-rule"], QStringLiteral("nonzerononzero"));
    const std::vector<SvgElement> lines = elementsOf(document, "polyline");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["fill"], QStringLiteral("none"));
    EXPECT_EQ(lines[0]["stroke-width"], QStringLiteral("4.5"));
    EXPECT_EQ(lines[0]["stroke-linecap"], QStringLiteral("round"));
    EXPECT_EQ(lines[0]["points"], QStringLiteral("5,5 7.5,9.875 12,3"));

    QPainterPath path(QPointF(1.25, -0.0001));
    path.lineTo(3, 4.00049);
    path.cubicTo(QPointF(1, 2), QPointF(3, 4), QPointF(-5.5, 6));
    EXPECT_EQ(svgPathData(path), QStringLiteral("M 1.25 0 L 3 4 C 1 2 3 4 -5.5 6"));
}

TEST_F(SvgWriter, LabelsAPanelPerEngineAndShowsTheReportedRectanglesOnlyWhenAsked)
{
    EngineAdapter other = loggingAdapter("other");
    const QByteArray document = svg({drawing, {&other, drawing.width, drawing.strokes}}, 2, false);
    const std::vector<SvgElement> labels = elementsOf(document, "text");
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[1].text, QStringLiteral("other: logs its calls"));
    EXPECT_EQ(elementsOf(document, "path").size(), 4u);
    const double panelWidth = layoutPanels({drawing}, 2, false).area.width() * 2;
    EXPECT_NEAR(elementsOf(document, "svg")[0]["width"].toDouble(), 2 * panelWidth, 0.001);

    EXPECT_EQ(elementsOf(document, "rect").size(), 1u);  // the background
    const std::vector<SvgElement> rects = elementsOf(svg({drawing}, 1, true), "rect");
    ASSERT_EQ(rects.size(), 4u);  // and the three rectangles that are not empty
    EXPECT_EQ(rects[3]["x"] + QLatin1Char(' ') + rects[3]["width"], QStringLiteral("4 10"));
}
