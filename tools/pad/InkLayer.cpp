#include "InkLayer.h"

#include "OxStrokeShape.h"
#include "PageInk.h"

#include <QPainter>
#include <algorithm>

namespace {
using Run = OxStrokeShape::Run;

// A new stretch starts this many points before the end of what was painted, so that the line
// across the stroke where it starts lies inside ink already painted and leaves no seam.
constexpr int kOverlap = 3;

void appendPoints(QPolygonF &polygon, const Run &run, int from)
{
    for (int i = from; i < run.count(); ++i)
        polygon << QPointF(run.xy[2 * size_t(i)], run.xy[2 * size_t(i) + 1]);
}

QPolygonF polygonOf(const Run &run)
{
    QPolygonF polygon;
    appendPoints(polygon, run, 0);
    return polygon;
}

void fillPolygon(QPainter &painter, const QPolygonF &polygon, const QColor &ink)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addPolygon(polygon);
    path.closeSubpath();
    painter.fillPath(path, ink);
}
} // namespace

void InkLayer::reset(QSize size, const OxStrokePage &page)
{
    layer = QImage(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::white);
    QPainter painter(&layer);
    paintPageInk(painter, page, QRectF(QPointF(0, 0), size));
}

void InkLayer::repaint(const QRectF &area, const OxStrokePage &page)
{
    if (layer.isNull() || area.isEmpty())
        return;
    const QRect pixels = area.toAlignedRect();
    QPainter painter(&layer);
    painter.setClipRect(pixels);
    painter.fillRect(pixels, Qt::white);
    paintPageInk(painter, page, pixels);
}

void InkLayer::addBody(const OxStrokeShape &shape, float width, const QColor &ink,
                       const QRectF &area)
{
    paintBody(shape, width, ink, false, area.toAlignedRect());
}

void InkLayer::addWholeBody(const OxStrokeShape &shape, float width, const QColor &ink)
{
    paintBody(shape, width, ink, true, layer.rect());
}

void InkLayer::paintBody(const OxStrokeShape &shape, float width, const QColor &ink, bool whole,
                         const QRect &clip)
{
    const Run &left = shape.left(), &right = shape.right(), &endCap = shape.endCap();
    const bool grew = left.kept < left.count() || right.kept < right.count()
                      || endCap.kept < endCap.count();
    if (layer.isNull() || clip.isEmpty() || left.count() == 0 || !(grew || whole))
        return;
    const int leftFrom = whole ? 0 : std::max(left.kept - kOverlap, 0);
    QPainter painter(&layer);
    painter.setClipRect(clip);
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (!shape.closed()) {
        QPolygonF line;
        appendPoints(line, left, leftFrom);
        painter.setPen(QPen(ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(line);
        return;
    }
    const int rightFrom = whole ? 0 : std::max(right.kept - kOverlap, 0);
    QPolygonF piece;
    if (leftFrom == 0 && rightFrom == 0)
        appendPoints(piece, shape.startCap(), 0);
    appendPoints(piece, left, leftFrom);
    appendPoints(piece, endCap, 0);
    // The right side walked back from the pen to where the stretch starts.
    const int n = right.count();
    for (int i = n - 1; i >= rightFrom; --i)
        piece << QPointF(right.xy[2 * size_t(i)], right.xy[2 * size_t(i) + 1]);
    fillPolygon(painter, piece, ink);
}

void paintLoosePolygons(QPainter &painter, const OxStrokeShape &shape, const QColor &ink)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int i = 0; i < shape.polygonCount(); ++i)
        fillPolygon(painter, polygonOf(shape.polygons()[size_t(i)]), ink);
}
