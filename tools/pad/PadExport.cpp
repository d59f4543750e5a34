#include "PadExport.h"

#include "OutputFile.h"
#include "SvgShapes.h"

#include <QPainter>
#include <QXmlStreamWriter>

QByteArray padSvg(const StrokeStore &store, QSize size)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    startSvgPage(xml, size);
    for (const FinishedStroke &stroke : store.strokes())
        writeSvgShapes(xml, stroke.shapes, stroke.width, stroke.colour);
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

QImage padImage(const StrokeStore &store, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    store.paint(painter, image.rect());
    return image;
}

std::string savePad(const StrokeStore &store, QSize size, const QString &path)
{
    QByteArray bytes;
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        bytes = padSvg(store, size);
    } else {
        bytes = pngBytes(padImage(store, size));
        if (bytes.isEmpty())
            return path.toStdString() + ": cannot encode the picture";
    }
    return writeFileAtomically(path.toStdString(), bytes);
}
