#include "SvgShapes.h"

#include <QStringList>
#include <QXmlStreamWriter>

namespace {
QString pair(QPointF p, QLatin1Char separator)
{
    return svgNumber(p.x()) + separator + svgNumber(p.y());
}

QString polylinePoints(const QPolygonF &line)
{
    QStringList points;
    for (const QPointF &p : line)
        points << pair(p, QLatin1Char(','));
    return points.join(QLatin1Char(' '));
}
} // namespace

QString svgNumber(double value)
{
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

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

void writeSvgShapes(QXmlStreamWriter &xml, const StrokeShapes &shapes, float width,
                    const QColor &ink)
{
    const QString colour = ink.name();
    for (const QPainterPath &outline : shapes.outlines) {
        xml.writeEmptyElement(QStringLiteral("path"));
        xml.writeAttribute(QStringLiteral("fill"), colour);
        xml.writeAttribute(QStringLiteral("fill-rule"), QStringLiteral("nonzero"));
        xml.writeAttribute(QStringLiteral("d"), svgPathData(outline));
    }
    if (shapes.centreLine.isEmpty())
        return;
    xml.writeEmptyElement(QStringLiteral("polyline"));
    xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("none"));
    xml.writeAttribute(QStringLiteral("stroke"), colour);
    xml.writeAttribute(QStringLiteral("stroke-width"), svgNumber(width));
    xml.writeAttribute(QStringLiteral("stroke-linecap"), QStringLiteral("round"));
    xml.writeAttribute(QStringLiteral("stroke-linejoin"), QStringLiteral("round"));
    xml.writeAttribute(QStringLiteral("points"), polylinePoints(shapes.centreLine));
}

void startSvgPage(QXmlStreamWriter &xml, QSizeF size)
{
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("svg"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    const QString width = svgNumber(size.width()), height = svgNumber(size.height());
    xml.writeAttribute(QStringLiteral("width"), width);
    xml.writeAttribute(QStringLiteral("height"), height);
    xml.writeAttribute(QStringLiteral("viewBox"), QStringLiteral("0 0 %1 %2").arg(width, height));
    xml.writeEmptyElement(QStringLiteral("rect"));
    xml.writeAttribute(QStringLiteral("width"), QStringLiteral("100%"));
    xml.writeAttribute(QStringLiteral("height"), QStringLiteral("100%"));
    xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("white"));
}
