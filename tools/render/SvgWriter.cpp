#include "SvgWriter.h"

#include <QXmlStreamWriter>

namespace {
const char *const kInk = "#1b1b1b";
const char *const kDirty = "#d62728";
const char *const kLabel = "#555555";

QString number(double value)
{
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString pair(QPointF p, QLatin1Char separator)
{
    return number(p.x()) + separator + number(p.y());
}

QString polylinePoints(const QPolygonF &line)
{
    QStringList points;
    for (const QPointF &p : line)
        points << pair(p, QLatin1Char(','));
    return points.join(QLatin1Char(' '));
}

QString transformOf(const QTransform &t)
{
    return QStringLiteral("matrix(%1 %2 %3 %4 %5 %6)")
        .arg(number(t.m11()), number(t.m12()), number(t.m21()), number(t.m22()), number(t.dx()),
             number(t.dy()));
}

void writeStroke(QXmlStreamWriter &xml, const StrokeShapes &shapes, float width)
{
    for (const QPainterPath &outline : shapes.outlines) {
        xml.writeEmptyElement(QStringLiteral("path"));
        xml.writeAttribute(QStringLiteral("fill-rule"), QStringLiteral("nonzero"));
        xml.writeAttribute(QStringLiteral("d"), svgPathData(outline));
    }
    if (shapes.centreLine.isEmpty())
        return;
    xml.writeEmptyElement(QStringLiteral("polyline"));
    xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("none"));
    xml.writeAttribute(QStringLiteral("stroke"), QLatin1String(kInk));
    xml.writeAttribute(QStringLiteral("stroke-width"), number(width));
    xml.writeAttribute(QStringLiteral("stroke-linecap"), QStringLiteral("round"));
    xml.writeAttribute(QStringLiteral("stroke-linejoin"), QStringLiteral("round"));
    xml.writeAttribute(QStringLiteral("points"), polylinePoints(shapes.centreLine));
}

// Hairlines of one page unit whatever the scale.
void writeDirty(QXmlStreamWriter &xml, const EngineDrawing &drawing, double scale)
{
    xml.writeStartElement(QStringLiteral("g"));
    xml.writeAttribute(QStringLiteral("class"), QStringLiteral("dirty"));
    xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("none"));
    xml.writeAttribute(QStringLiteral("stroke"), QLatin1String(kDirty));
    xml.writeAttribute(QStringLiteral("stroke-opacity"), QStringLiteral("0.5"));
    xml.writeAttribute(QStringLiteral("stroke-width"), QString::number(1 / scale, 'g', 4));
    for (const StrokeRun &stroke : drawing.strokes) {
        for (const EngineCall &call : stroke.calls) {
            if (call.dirty.isEmpty())
                continue;
            xml.writeEmptyElement(QStringLiteral("rect"));
            xml.writeAttribute(QStringLiteral("x"), number(call.dirty.x()));
            xml.writeAttribute(QStringLiteral("y"), number(call.dirty.y()));
            xml.writeAttribute(QStringLiteral("width"), number(call.dirty.width()));
            xml.writeAttribute(QStringLiteral("height"), number(call.dirty.height()));
        }
    }
    xml.writeEndElement();
}

void writePanel(QXmlStreamWriter &xml, const EngineDrawing &drawing, const PanelLayout &layout,
                int panel, bool showDirty)
{
    const QPointF origin = layout.panelOrigin(panel);
    xml.writeStartElement(QStringLiteral("text"));
    xml.writeAttribute(QStringLiteral("x"), number(origin.x() + 8));
    xml.writeAttribute(QStringLiteral("y"), number(origin.y() + PanelLayout::kLabelBand - 7));
    xml.writeAttribute(QStringLiteral("font-family"), QStringLiteral("sans-serif"));
    xml.writeAttribute(QStringLiteral("font-size"), QStringLiteral("14"));
    xml.writeAttribute(QStringLiteral("fill"), QLatin1String(kLabel));
    xml.writeCharacters(QString::fromStdString(panelLabel(drawing)));
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("g"));
    xml.writeAttribute(QStringLiteral("transform"), transformOf(layout.drawingToPage(panel)));
    xml.writeAttribute(QStringLiteral("fill"), QLatin1String(kInk));
    for (const StrokeRun &stroke : drawing.strokes)
        writeStroke(xml, stroke.shapes, drawing.width);
    if (showDirty)
        writeDirty(xml, drawing, layout.scale);
    xml.writeEndElement();
}
} // namespace

QString svgPathData(const QPainterPath &path)
{
    QStringList parts;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            parts << QStringLiteral("M") << pair(e, QLatin1Char(' '));
            break;
        case QPainterPath::LineToElement:
            parts << QStringLiteral("L") << pair(e, QLatin1Char(' '));
            break;
        case QPainterPath::CurveToElement:
            parts << QStringLiteral("C") << pair(e, QLatin1Char(' '));
            break;
        case QPainterPath::CurveToDataElement:
            parts << pair(e, QLatin1Char(' '));
            break;
        }
    }
    return parts.join(QLatin1Char(' '));
}

QByteArray svgDocument(const std::vector<EngineDrawing> &drawings, const PanelLayout &layout,
                       bool showDirty)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("svg"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    const QSizeF page = layout.pageSize();
    const QString width = number(page.width()), height = number(page.height());
    xml.writeAttribute(QStringLiteral("width"), width);
    xml.writeAttribute(QStringLiteral("height"), height);
    xml.writeAttribute(QStringLiteral("viewBox"), QStringLiteral("0 0 %1 %2").arg(width, height));
    xml.writeEmptyElement(QStringLiteral("rect"));
    xml.writeAttribute(QStringLiteral("width"), QStringLiteral("100%"));
    xml.writeAttribute(QStringLiteral("height"), QStringLiteral("100%"));
    xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("white"));
    for (size_t i = 0; i < drawings.size(); ++i)
        writePanel(xml, drawings[i], layout, int(i), showDirty);
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}
