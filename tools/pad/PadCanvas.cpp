#include "PadCanvas.h"

#include "EngineTable.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTabletEvent>
#include <algorithm>
#include <climits>

namespace {
const QColor kRepaintOutline(0xd6, 0x27, 0x28, 0xb0);

// Where a pointer event happened, in canvas coordinates (Qt 6 names the call alike for both).
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
QPointF positionOf(const QSinglePointEvent &event)
{
    return event.position();
}
#else
QPointF positionOf(const QMouseEvent &event)
{
    return event.localPos();
}

QPointF positionOf(const QTabletEvent &event)
{
    return event.posF();
}
#endif
} // namespace

PadCanvas::PadCanvas(QWidget *parent) : QWidget(parent), nextEngine(&engineTable().front())
{
    setAttribute(Qt::WA_OpaquePaintEvent);  // paintEvent covers every pixel it is asked for
    setCursor(Qt::CrossCursor);
    setMinimumSize(200, 150);
}

PadCanvas::~PadCanvas() = default;

void PadCanvas::setShowRepaints(bool show)
{
    showRepaints = show;
    update();
}

void PadCanvas::penDown(const PenSample &sample)
{
    if (live)
        return;
    if (showRepaints) {
        for (const QRectF &rect : reported)
            repaintArea(rect);
    }
    reported.clear();
    live = std::make_unique<LiveStroke>(*nextEngine, strokeWidth, inkColour);
    engineCalled(live->start(sample));
}

void PadCanvas::penMove(const PenSample &sample)
{
    if (live)
        engineCalled(live->add(sample));
}

void PadCanvas::penUp(const PenSample &sample)
{
    if (!live)
        return;
    engineCalled(live->finish(sample));
    store.add(live->shapes(), live->width(), live->colour());
    live.reset();
    ink.repaint(store.strokes().back().bounds, store);
    emit strokeCountChanged(int(store.strokes().size()));
}

void PadCanvas::undo()
{
    if (store.isEmpty())
        return;
    const QRectF area = store.removeLast();
    redrawInk();
    repaintArea(area);
    emit strokeCountChanged(int(store.strokes().size()));
}

void PadCanvas::clear()
{
    const QRectF area = store.clear();
    redrawInk();
    repaintArea(area);
    emit strokeCountChanged(0);
}

void PadCanvas::redrawInk()
{
    ink.reset(size(), store);
    if (live)
        ink.addBody(live->shape(), live->width(), live->colour(), true);
}

void PadCanvas::engineCalled(const QRectF &rect)
{
    if (live)
        ink.addBody(live->shape(), live->width(), live->colour());
    if (rect.isEmpty())
        return;
    reported.push_back(rect);
    repaintArea(rect);
    emit engineReported(rect);
}

void PadCanvas::repaintArea(const QRectF &rect)
{
    if (rect.isEmpty())
        return;
    const int grow = showRepaints ? 1 : 0;
    update(rect.toAlignedRect().adjusted(-grow, -grow, grow, grow));
}

void PadCanvas::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), ink.image(), event->rect());
    if (live)
        paintLoosePolygons(painter, live->shape(), live->colour());
    if (showRepaints) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(kRepaintOutline, 0));
        painter.setBrush(Qt::NoBrush);
        for (const QRectF &rect : reported)
            painter.drawRect(rect);
    }
}

void PadCanvas::resizeEvent(QResizeEvent *)
{
    redrawInk();
}

PenSample PadCanvas::sampleOf(const QInputEvent &event, QPointF position, float pressure)
{
    const ulong elapsed = event.timestamp() - strokeStartStamp;
    return {position, pressure, int(std::min<ulong>(elapsed, INT_MAX))};
}

void PadCanvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || live)
        return;
    strokeStartStamp = event->timestamp();
    penDown(sampleOf(*event, positionOf(*event), kMousePressure));
}

void PadCanvas::mouseMoveEvent(QMouseEvent *event)
{
    penMove(sampleOf(*event, positionOf(*event), kMousePressure));
}

void PadCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        penUp(sampleOf(*event, positionOf(*event), kMousePressure));
}

// Accepted tablet events are not repeated as mouse events.
void PadCanvas::tabletEvent(QTabletEvent *event)
{
    event->accept();
    const float pressure = float(event->pressure());
    switch (event->type()) {
    case QEvent::TabletPress:
        if (live)
            return;
        strokeStartStamp = event->timestamp();
        penDown(sampleOf(*event, positionOf(*event), pressure));
        break;
    case QEvent::TabletMove:
        penMove(sampleOf(*event, positionOf(*event), pressure));
        break;
    case QEvent::TabletRelease:
        penUp(sampleOf(*event, positionOf(*event), pressure));
        break;
    default:
        break;
    }
}
