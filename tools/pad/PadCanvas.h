#ifndef QUILLMARK_PAD_PADCANVAS_H
#define QUILLMARK_PAD_PADCANVAS_H

// The drawing surface of quillmark-pad: a page of strokes (OxStrokePage) and the tools that
// work on it. Drawing coordinates are widget coordinates.
//
// The pen: input (mouse, tablet, or a replayed recording) goes to one engine object per stroke;
// after every engine call the canvas paints what the stroke's body added into its ink layer and
// repaints only the rectangle the engine returned, the ink ahead of the pen taken back and drawn
// anew included. A finished stroke goes onto the page as the record of its engine calls.
// The eraser and the lasso edit the page; undo and redo take its steps back and make them again.
// After every change to the page, the canvas repaints only the rectangle the page reported: the
// ink layer's pixels there are painted afresh from the page's ink. A page opened from a file
// takes the place of the page and its history.

#include "EraserDrag.h"
#include "InkLayer.h"
#include "LiveStroke.h"
#include "OxStorageError.h"
#include "OxStrokePage.h"
#include "Selection.h"

#include <QInputEvent>
#include <QWidget>
#include <memory>

class PadCanvas : public QWidget
{
    Q_OBJECT

public:
    enum class Tool { kPen, kEraser, kLasso };

    // The mouse has no pressure; it draws as a pen pressed half way.
    static constexpr float kMousePressure = 0.5f;
    // One display frame ahead: about what input and display take beyond it.
    static constexpr double kDefaultPredictionMs = 16;
    static constexpr double kDefaultEraserRadius = 8;
    // Held at the press, the eraser removes whole strokes instead of the ink under it.
    static constexpr Qt::KeyboardModifier kWholeStrokes = Qt::ShiftModifier;
    // The colour of the ink ahead of the pen while setShowPredicted is on.
    static const QColor kPredictedColour;

    explicit PadCanvas(QWidget *parent = nullptr);
    ~PadCanvas() override;

    // Settings of the next stroke; a stroke in progress keeps the ones it started with.
    void setEngine(const EngineAdapter &engine) { nextEngine = &engine; }
    void setPenWidth(float width) { strokeWidth = width; }
    float penWidth() const { return strokeWidth; }
    void setColour(const QColor &colour) { inkColour = colour; }
    const QColor &colour() const { return inkColour; }
    // The horizon of the ink drawn ahead of the pen, in ms (0: none).
    void setPrediction(double horizonMs) { predictionMs = horizonMs; }
    double prediction() const { return predictionMs; }

    // What a press of the left button (or the pen) does; a drag in progress goes on as it began.
    // Leaving the lasso forgets the selection.
    void setTool(Tool tool);
    Tool tool() const { return pointerTool; }
    void setEraserRadius(double radius) { eraserSize = radius; }
    double eraserRadius() const { return eraserSize; }

    // Paints the ink ahead of the pen in kPredictedColour instead of the stroke's colour.
    void setShowPredicted(bool show);
    // Outlines the rectangles the engine calls of the latest stroke returned. While on, every
    // repaint grows by a pixel on each side, where the outlines are drawn.
    void setShowRepaints(bool show);

    // Pen input from any source. A down while a stroke runs, and a move or an up without one,
    // are ignored.
    void penDown(const PenSample &sample);
    void penMove(const PenSample &sample);
    void penUp(const PenSample &sample);

    // The page's history; ignored during a drag.
    void undo();
    void redo();
    // Removes every stroke, in one step that undo takes back.
    void clear();

    const OxStrokePage &page() const { return strokes; }
    // Replaces the page by the page file at path (OxPageFile::load), without the old page's
    // history; the canvas is painted afresh. Refused during a drag (kind kFile). On any error
    // the page stays as it was.
    OxStorageError openPage(const QString &path);
    const Selection &selection() const { return selected; }
    // A stroke, an eraser or a lasso drag is in progress.
    bool dragging() const;

signals:
    // An engine call returned rect (in widget coordinates) as changed, the predicted ink
    // taken back and drawn included.
    void engineReported(const QRectF &rect);
    // The page or the selection changed in area (a stroke added, an edit, an undo or a redo, a
    // lasso drawn); the canvas repaints it.
    void pageChanged(const QRectF &area);
    // A step of the page's history was made, taken back or made again, or the page replaced.
    void stepsChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void tabletEvent(QTabletEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // A press, move or release of the pointer, handed to the tool.
    void pointerDown(const PenSample &sample, Qt::KeyboardModifiers modifiers);
    void pointerMove(const PenSample &sample);
    void pointerUp(const PenSample &sample);

    void engineCalled(const QRectF &rect);
    // The ink layer and the screen brought up to date in area after the page or the
    // selection changed there.
    void edited(const QRectF &area);
    // The ink layer painted afresh: after a resize or a new page.
    void redrawInk();
    void repaintArea(const QRectF &rect);
    // The sample of an input event: "time" counts from the stroke's first event, as event time
    // stamps (milliseconds since some moment of the system) overflow the engines' int.
    PenSample sampleOf(const QInputEvent &event, QPointF position, float pressure);

    const EngineAdapter *nextEngine;
    float strokeWidth = 6;
    QColor inkColour = Qt::black;
    double predictionMs = kDefaultPredictionMs;
    Tool pointerTool = Tool::kPen;
    double eraserSize = kDefaultEraserRadius;
    bool showPredicted = false;
    bool showRepaints = false;
    std::unique_ptr<LiveStroke> live;
    QRectF liveArea;  // every rectangle the live stroke's engine calls returned
    ulong strokeStartStamp = 0;
    std::vector<QRectF> reported;  // by the latest stroke's engine calls
    OxStrokePage strokes;
    Selection selected{strokes};
    std::unique_ptr<EraserDrag> eraser;
    bool selecting = false;  // a drag of the lasso tool
    InkLayer ink;
};

#endif
