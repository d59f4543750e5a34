#ifndef QUILLMARK_PAD_PADCANVAS_H
#define QUILLMARK_PAD_PADCANVAS_H

// The drawing surface of quillmark-pad. Pen input (mouse, tablet, or a replayed recording) goes
// to one engine object per stroke; after every engine call the canvas paints what the stroke's
// body added into its ink layer and repaints only the rectangle the engine returned: the layer's
// pixels with the stroke's tails and dots on top. Drawing coordinates are widget coordinates.

#include "InkLayer.h"
#include "LiveStroke.h"
#include "StrokeStore.h"

#include <QInputEvent>
#include <QWidget>
#include <memory>

class PadCanvas : public QWidget
{
    Q_OBJECT

public:
    // The mouse has no pressure; it draws as a pen pressed half way.
    static constexpr float kMousePressure = 0.5f;

    explicit PadCanvas(QWidget *parent = nullptr);
    ~PadCanvas() override;

    // Settings of the next stroke; a stroke in progress keeps the ones it started with.
    void setEngine(const EngineAdapter &engine) { nextEngine = &engine; }
    void setPenWidth(float width) { strokeWidth = width; }
    float penWidth() const { return strokeWidth; }
    void setColour(const QColor &colour) { inkColour = colour; }
    const QColor &colour() const { return inkColour; }

    // Outlines the rectangles the engine calls of the latest stroke returned. While on, every
    // repaint grows by a pixel on each side, where the outlines are drawn.
    void setShowRepaints(bool show);

    // Pen input from any source. A down while a stroke runs, and a move or an up without one,
    // are ignored.
    void penDown(const PenSample &sample);
    void penMove(const PenSample &sample);
    void penUp(const PenSample &sample);

    void undo();
    void clear();
    const StrokeStore &strokes() const { return store; }

signals:
    // An engine call returned rect (in widget coordinates) as changed.
    void engineReported(const QRectF &rect);
    void strokeCountChanged(int count);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void tabletEvent(QTabletEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void engineCalled(const QRectF &rect);
    // The ink layer painted afresh: after a resize, an undo or a clear.
    void redrawInk();
    void repaintArea(const QRectF &rect);
    // The sample of an input event: "time" counts from the stroke's first event, as event time
    // stamps (milliseconds since some moment of the system) overflow the engines' int.
    PenSample sampleOf(const QInputEvent &event, QPointF position, float pressure);

    const EngineAdapter *nextEngine;
    float strokeWidth = 6;
    QColor inkColour = Qt::black;
    bool showRepaints = false;
    std::unique_ptr<LiveStroke> live;
    ulong strokeStartStamp = 0;
    std::vector<QRectF> reported;  // by the latest stroke's engine calls
    StrokeStore store;
    InkLayer ink;
};

#endif
