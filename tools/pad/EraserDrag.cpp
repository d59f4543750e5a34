#include "EraserDrag.h"

EraserDrag::EraserDrag(OxStrokePage &page, QPointF at, double radius, bool wholeStrokes)
    : page(page), radius(radius), whole(wholeStrokes), last(at)
{
    page.beginGroup();
    first = sweep({at});
}

EraserDrag::~EraserDrag()
{
    page.endGroup();
}

QRectF EraserDrag::moveTo(QPointF at)
{
    const QRectF changed = sweep({last, at});
    last = at;
    return changed;
}

QRectF EraserDrag::sweep(const std::vector<QPointF> &path)
{
    OxStrokePage::Change change;
    if (whole)
        page.eraseStrokes(path, radius, &change);
    else
        page.erase(path, radius, &change);
    return change.area;
}
