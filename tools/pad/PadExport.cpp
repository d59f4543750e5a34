#include "PadExport.h"

#include "OutputFile.h"
#include "PageInk.h"
#include "SvgShapes.h"

#include <QPainter>
#include <QXmlStreamWriter>

QByteArray padSvg(const OxStrokePage &page, QSize size)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    startSvgPage(xml, size);
    for (const OxStrokePage::Key key : page.keys()) {
        StrokeShapes ink;
        ink.outlines.push_back(page.inkPath(key));
        writeSvgShapes(xml, ink, 0, colourOf(page.rgba(key)));
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

QImage padImage(const OxStrokePage &page, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPageInk(painter, page, image.rect());
    return image;
}

std::string exportPad(const OxStrokePage &page, QSize size, const QString &path)
{
    QByteArray bytes;
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        bytes = padSvg(page, size);
    } else {
        bytes = pngBytes(padImage(page, size));
        if (bytes.isEmpty())
            return path.toStdString() + ": cannot encode the picture";
    }
    return writeFileAtomically(path.toStdString(), bytes);
}
