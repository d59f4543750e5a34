#include "PngWriter.h"

#include <QPainter>

namespace {
const QColor kInk(0x1b, 0x1b, 0x1b);
const QColor kDirty(0xd6, 0x27, 0x28, 0x80);
const QColor kLabel(0x55, 0x55, 0x55);
const QColor kSeparator(0xdd, 0xdd, 0xdd);

void drawDirty(QPainter &painter, const EngineDrawing &drawing)
{
    painter.setPen(QPen(kDirty, 0));  // width 0: a cosmetic hairline
    painter.setBrush(Qt::NoBrush);
    for (const StrokeRun &stroke : drawing.strokes)
        for (const EngineCall &call : stroke.calls)
            if (!call.dirty.isEmpty())
                painter.drawRect(call.dirty);
}

void drawPanel(QPainter &painter, const EngineDrawing &drawing, const PanelLayout &layout,
               int panel, bool showDirty)
{
    const QPointF origin = layout.panelOrigin(panel);
    const QSizeF page = layout.pageSize();
    if (panel > 0) {
        painter.setPen(QPen(kSeparator, 1));
        painter.drawLine(origin, QPointF(origin.x(), page.height()));
    }
    QFont font = painter.font();
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(kLabel);
    painter.drawText(QRectF(origin.x() + 8, origin.y(), layout.area.width() * layout.scale - 8,
                            PanelLayout::kLabelBand),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(panelLabel(drawing)));

    painter.save();
    painter.setTransform(layout.drawingToPage(panel));
    for (const StrokeRun &stroke : drawing.strokes)
        paintShapes(painter, stroke.shapes, drawing.width, kInk);
    if (showDirty)
        drawDirty(painter, drawing);
    painter.restore();
}
} // namespace

QImage renderPicture(const std::vector<EngineDrawing> &drawings, const PanelLayout &layout,
                     bool showDirty)
{
    QImage image(layout.pixelSize(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (size_t i = 0; i < drawings.size(); ++i)
        drawPanel(painter, drawings[i], layout, int(i), showDirty);
    return image;
}
