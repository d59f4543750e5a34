#include "PageInk.h"

#include <QPainter>

QColor colourOf(quint32 rgba)
{
    return QColor(int(rgba >> 24), int((rgba >> 16) & 0xff), int((rgba >> 8) & 0xff),
                  int(rgba & 0xff));
}

quint32 rgbaOf(const QColor &colour)
{
    return (quint32(colour.red()) << 24) | (quint32(colour.green()) << 16)
           | (quint32(colour.blue()) << 8) | quint32(colour.alpha());
}

void paintPageInk(QPainter &painter, const OxStrokePage &page, const QRectF &area)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const OxStrokePage::Key key : page.keysIn(area))
        painter.fillPath(page.inkPath(key), colourOf(page.rgba(key)));
}

QRectF pageBounds(const OxStrokePage &page)
{
    QRectF bounds;
    for (const OxStrokePage::Key key : page.keys())
        bounds |= page.bounds(key);
    return bounds;
}
