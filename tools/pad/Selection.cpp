#include "Selection.h"

#include <QPainter>
#include <algorithm>

namespace {
const QColor kLassoColour(0x1f, 0x77, 0xb4);
// The frame stands this far off the selected ink, and its pen (and its antialiasing) reaches
// a pixel beyond.
constexpr double kFrameGap = 4;
constexpr double kPenReach = 2;

QRectF grown(const QRectF &r, double by)
{
    return r.adjusted(-by, -by, by, by);
}
} // namespace

QRectF Selection::frame() const
{
    QRectF bounds;
    for (const OxStrokePage::Key key : selected)
        bounds |= page.bounds(key);
    return bounds.isEmpty() ? QRectF() : grown(bounds, kFrameGap);
}

QRectF Selection::frameArea() const
{
    const QRectF f = frame();
    return f.isEmpty() ? QRectF() : grown(f, kPenReach);
}

QRectF Selection::frameFollowed()
{
    const QRectF before = shownFrame;
    shownFrame = frameArea();
    return before | shownFrame;
}

QRectF Selection::lassoSegment() const
{
    const int n = outline.size();
    if (n == 0)
        return QRectF();
    const QPointF a = outline[std::max(n - 2, 0)], b = outline[n - 1];
    return grown(QRectF(a, b).normalized(), kPenReach);
}

QRectF Selection::press(QPointF at)
{
    if (frame().contains(at)) {
        drag = Drag::kMove;
        origin = at;
        moved = false;
        return QRectF();
    }
    const QRectF area = clear();
    drag = Drag::kLasso;
    outline = QPolygonF() << at;
    return area;
}

QRectF Selection::moveTo(QPointF at)
{
    if (drag == Drag::kLasso) {
        outline << at;
        return lassoSegment();
    }
    if (drag != Drag::kMove)
        return QRectF();
    OxStrokePage::Change change;
    if (moved)
        page.undo(&change);
    QRectF area = change.area;
    page.move(selected, at - origin, &change);
    moved = !change.area.isEmpty();
    return area | change.area | frameFollowed();
}

QRectF Selection::release(QPointF at)
{
    QRectF area = moveTo(at);
    if (drag == Drag::kLasso) {
        area |= outline.boundingRect();
        std::vector<OxStrokePage::Selected> inside;
        page.lasso(std::vector<QPointF>(outline.begin(), outline.end()), inside);
        for (const OxStrokePage::Selected &s : inside)
            if (s.fraction >= kSelectShare)
                selected.push_back(s.key);
        outline.clear();
        area = grown(area, kPenReach) | frameFollowed();
    }
    drag = Drag::kNone;
    return area;
}

QRectF Selection::pageChanged()
{
    selected.erase(std::remove_if(selected.begin(), selected.end(),
                                  [this](OxStrokePage::Key key) { return !page.contains(key); }),
                   selected.end());
    return frameFollowed();
}

QRectF Selection::clear()
{
    selected.clear();
    return frameFollowed();
}

void Selection::paint(QPainter &painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kLassoColour, 1, Qt::DashLine));
    if (outline.size() > 1)
        painter.drawPolyline(outline);
    const QRectF f = frame();
    if (!f.isEmpty())
        painter.drawRect(f);
    painter.restore();
}
