#include "PanelLayout.h"

#include <cmath>

QSizeF PanelLayout::pageSize() const
{
    return QSizeF(panels * area.width() * scale, kLabelBand + area.height() * scale);
}

QSize PanelLayout::pixelSize() const
{
    const QSizeF size = pageSize();
    return QSize(int(std::ceil(size.width())), int(std::ceil(size.height())));
}

QPointF PanelLayout::panelOrigin(int panel) const
{
    return QPointF(panel * area.width() * scale, 0);
}

QTransform PanelLayout::drawingToPage(int panel) const
{
    const QPointF origin = panelOrigin(panel) + QPointF(0, kLabelBand);
    return QTransform::fromTranslate(-area.left(), -area.top())
           * QTransform::fromScale(scale, scale)
           * QTransform::fromTranslate(origin.x(), origin.y());
}

PanelLayout layoutPanels(const std::vector<EngineDrawing> &drawings, double scale,
                         bool includeDirty)
{
    QRectF bounds;
    for (const EngineDrawing &drawing : drawings) {
        uniteArea(bounds, drawingBounds(drawing));
        if (includeDirty)
            uniteArea(bounds, reportedBounds(drawing));
    }
    const double margin = PanelLayout::kMargin / scale;
    PanelLayout layout;
    layout.area = QRectF(bounds).adjusted(-margin, -margin, margin, margin);
    layout.scale = scale;
    layout.panels = int(drawings.size());
    return layout;
}

std::string panelLabel(const EngineDrawing &drawing)
{
    return drawing.engine->name + ": " + drawing.engine->title;
}
