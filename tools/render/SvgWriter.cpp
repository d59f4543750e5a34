#include "SvgWriter.h"

#include "SvgShapes.h"

#include <QXmlStreamWriter>

namespace {
const QColor kInk(0x1b, 0x1b, 0x1b);
const char *const kDirty = "#d62728";
const char *const kLabel = "#555555";

QString transformOf(const QTransform &t)
{
    return QStringLiteral("matrix(%1 %2 %3 %4 %5 %6)")
        .arg(svgNumber(t.m11()), svgNumber(t.m12()), svgNumber(t.m21()), svgNumber(t.m22()),
             svgNumber(t.dx()), svgNumber(t.dy()));
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
            xml.writeAttribute(QStringLiteral("x"), svgNumber(call.dirty.x()));
            xml.writeAttribute(QStringLiteral("y"), svgNumber(call.dirty.y()));
            xml.writeAttribute(QStringLiteral("width"), svgNumber(call.dirty.width()));
            xml.writeAttribute(QStringLiteral("height"), svgNumber(call.dirty.height()));
        }
    }
    xml.writeEndElement();
}

void writePanel(QXmlStreamWriter &xml, const EngineDrawing &drawing, const PanelLayout &layout,
                int panel, bool showDirty)
{
    const QPointF origin = layout.panelOrigin(panel);
    xml.writeStartElement(QStringLiteral("text"));
    xml.writeAttribute(QStringLiteral("x"), svgNumber(origin.x() + 8));
    xml.writeAttribute(QStringLiteral("y"), svgNumber(origin.y() + PanelLayout::kLabelBand - 7));
    xml.writeAttribute(QStringLiteral("font-family"), QStringLiteral("sans-serif"));
    xml.writeAttribute(QStringLiteral("font-size"), QStringLiteral("14"));
    xml.writeAttribute(QStringLiteral("fill"), QLatin1String(kLabel));
    xml.writeCharacters(QString::fromStdString(panelLabel(drawing)));
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("g"));
    xml.writeAttribute(QStringLiteral("transform"), transformOf(layout.drawingToPage(panel)));
    for (const StrokeRun &stroke : drawing.strokes)
        writeSvgShapes(xml, stroke.shapes, drawing.width, kInk);
    if (showDirty)
        writeDirty(xml, drawing, layout.scale);
    xml.writeEndElement();
}
} // namespace

QByteArray svgDocument(const std::vector<EngineDrawing> &drawings, const PanelLayout &layout,
                       bool showDirty)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    startSvgPage(xml, layout.pageSize());
    for (size_t i = 0; i < drawings.size(); ++i)
        writePanel(xml, drawings[i], layout, int(i), showDirty);
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}
