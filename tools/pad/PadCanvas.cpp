#include "PadCanvas.h"

#include "EngineTable.h"
#include "OxPageFile.h"
#include "PageInk.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTabletEvent>
#include <algorithm>
#include <climits>
#include <cmath>

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

const QColor PadCanvas::kPredictedColour(0xff, 0x7f, 0x0e);

PadCanvas::PadCanvas(QWidget *parent) : QWidget(parent), nextEngine(&engineTable().front())
{
    setAttribute(Qt::WA_OpaquePaintEvent);  // paintEvent covers every pixel it is asked for
    setCursor(Qt::CrossCursor);
    // Keys go to the page, not to a spin box of the tool bar: the tools' letters are shortcuts
    // that a focused spin box would take as text.
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 150);
}

PadCanvas::~PadCanvas() = default;

void PadCanvas::setTool(Tool tool)
{
    pointerTool = tool;
    if (tool != Tool::kLasso && !selecting)
        edited(selected.clear());
}

void PadCanvas::setShowPredicted(bool show)
{
    showPredicted = show;
    update();
}

void PadCanvas::setShowRepaints(bool show)
{
    showRepaints = show;
    update();
}

void PadCanvas::penDown(const PenSample &sample)
{
    if (dragging())
        return;
    if (showRepaints) {
        for (const QRectF &rect : reported)
            repaintArea(rect);
    }
    reported.clear();
    liveArea = QRectF();
    live = std::make_unique<LiveStroke>(*nextEngine, strokeWidth, inkColour, predictionMs);
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
    OxStrokePage::Key key = 0;
    OxStrokePage::Change change;
    const bool kept = strokes.add(live->record(), key, &change) == OxStrokePage::kDone;
    live.reset();
    // The page's ink takes the place of what was painted while the stroke was drawn; a stroke
    // the page refuses (one without ink) is wiped.
    edited(kept ? change.area : liveArea);
    emit stepsChanged();
}

void PadCanvas::undo()
{
    OxStrokePage::Change change;
    if (!dragging() && strokes.undo(&change) == OxStrokePage::kDone) {
        edited(change.area);
        emit stepsChanged();
    }
}

void PadCanvas::redo()
{
    OxStrokePage::Change change;
    if (!dragging() && strokes.redo(&change) == OxStrokePage::kDone) {
        edited(change.area);
        emit stepsChanged();
    }
}

void PadCanvas::clear()
{
    const QRectF all = pageBounds(strokes);
    if (dragging() || all.isEmpty())
        return;
    // A disc over every stroke's ink takes them all, in one step.
    const double radius = std::hypot(all.width(), all.height()) / 2 + 1;
    OxStrokePage::Change change;
    strokes.eraseStrokes({all.center()}, radius, &change);
    edited(change.area);
    emit stepsChanged();
}

OxStorageError PadCanvas::openPage(const QString &path)
{
    if (dragging()) {
        OxStorageError busy;
        busy.kind = OxStorageError::kFile;
        busy.message = QStringLiteral("%1: not opened during a drag").arg(path);
        return busy;
    }
    const OxStorageError error = OxPageFile::load(path, strokes);
    if (!error.ok())
        return error;
    selected.clear();
    redrawInk();
    update();
    emit stepsChanged();
    return error;
}

bool PadCanvas::dragging() const
{
    return live || eraser || selecting;
}

void PadCanvas::pointerDown(const PenSample &sample, Qt::KeyboardModifiers modifiers)
{
    if (dragging())
        return;
    switch (pointerTool) {
    case Tool::kPen:
        penDown(sample);
        break;
    case Tool::kEraser:
        eraser = std::make_unique<EraserDrag>(strokes, sample.position, eraserSize,
                                              modifiers.testFlag(kWholeStrokes));
        edited(eraser->pressed());
        break;
    case Tool::kLasso:
        selecting = true;
        edited(selected.press(sample.position));
        break;
    }
}

void PadCanvas::pointerMove(const PenSample &sample)
{
    if (live)
        penMove(sample);
    else if (eraser)
        edited(eraser->moveTo(sample.position));
    else if (selecting)
        edited(selected.moveTo(sample.position));
}

void PadCanvas::pointerUp(const PenSample &sample)
{
    if (live) {
        penUp(sample);
    } else if (eraser) {
        edited(eraser->moveTo(sample.position));
        eraser.reset();
        emit stepsChanged();
    } else if (selecting) {
        selecting = false;
        edited(selected.release(sample.position));
        emit stepsChanged();
    }
}

void PadCanvas::engineCalled(const QRectF &rect)
{
    if (rect.isEmpty())
        return;
    if (live)
        ink.addBody(live->shape(), live->width(), live->colour(), rect);
    liveArea |= rect;
    reported.push_back(rect);
    repaintArea(rect);
    emit engineReported(rect);
}

void PadCanvas::edited(const QRectF &area)
{
    const QRectF changed = area | selected.pageChanged();
    if (changed.isEmpty())
        return;
    ink.repaint(changed, strokes);
    repaintArea(changed);
    emit pageChanged(changed);
}

void PadCanvas::redrawInk()
{
    ink.reset(size(), strokes);
    if (live)
        ink.addWholeBody(live->shape(), live->width(), live->colour());
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
    if (live) {
        live->predicted().paint(&painter, event->rect(),
                                showPredicted ? kPredictedColour : live->colour());
        paintLoosePolygons(painter, live->shape(), live->colour());
    }
    selected.paint(painter);
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
    if (event->button() != Qt::LeftButton || dragging())
        return;
    strokeStartStamp = event->timestamp();
    pointerDown(sampleOf(*event, positionOf(*event), kMousePressure), event->modifiers());
}

void PadCanvas::mouseMoveEvent(QMouseEvent *event)
{
    pointerMove(sampleOf(*event, positionOf(*event), kMousePressure));
}

void PadCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        pointerUp(sampleOf(*event, positionOf(*event), kMousePressure));
}

// Accepted tablet events are not repeated as mouse events.
void PadCanvas::tabletEvent(QTabletEvent *event)
{
    event->accept();
    const float pressure = float(event->pressure());
    switch (event->type()) {
    case QEvent::TabletPress:
        if (dragging())
            return;
        strokeStartStamp = event->timestamp();
        pointerDown(sampleOf(*event, positionOf(*event), pressure), event->modifiers());
        break;
    case QEvent::TabletMove:
        pointerMove(sampleOf(*event, positionOf(*event), pressure));
        break;
    case QEvent::TabletRelease:
        pointerUp(sampleOf(*event, positionOf(*event), pressure));
        break;
    default:
        break;
    }
}
