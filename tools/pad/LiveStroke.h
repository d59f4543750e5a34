#ifndef QUILLMARK_PAD_LIVESTROKE_H
#define QUILLMARK_PAD_LIVESTROKE_H

// The stroke being drawn: one engine object fed sample by sample, as a host feeds it, with the
// record of every call for the page and, when asked, ink ahead of the pen.

#include "EngineAdapter.h"
#include "OxPredictedInk.h"
#include "OxStrokeRecord.h"
#include "OxStrokeShape.h"

#include <QColor>
#include <memory>

// One sample of the pen, from the mouse, a tablet or a recording.
struct PenSample
{
    QPointF position;   // drawing (canvas) coordinates
    float pressure = 0;
    int timeMs = 0;
};

// Use:
//   1. Construct with the engine, pen width, colour and prediction horizon (0: none).
//   2. start() once, add() for every further sample, finish() once. Each returns what to
//      repaint: the engine's rectangle, with the predicted ink taken back and drawn anew.
//   3. After finish(), record() holds every call as the engine saw it: positions are handed to
//      the engine as floats, so replaying the record on a page gives this stroke to the bit.
// Calls out of order are handed to the engine as they come; it drops what it cannot use.
class LiveStroke
{
public:
    LiveStroke(const EngineAdapter &engine, float width, const QColor &colour,
               double predictionMs = 0);

    QRectF start(const PenSample &sample);
    QRectF add(const PenSample &sample);
    QRectF finish(const PenSample &sample);

    // What the engine has drawn so far, whole (its cost grows with the stroke).
    StrokeShapes shapes() const;
    // The same as runs that tell what changed with the last call.
    const OxStrokeShape &shape() const { return parts; }
    // The ink ahead of the pen drawn after the last call; empty after finish().
    const OxPredictedInk &predicted() const { return ahead; }
    const OxStrokeRecord &record() const { return calls; }
    float width() const { return penWidth; }
    const QColor &colour() const { return ink; }

private:
    const EngineAdapter &adapter;
    const std::unique_ptr<OxStrokesFixWidth> engine;
    const float penWidth;
    const QColor ink;
    const double horizonMs;
    std::vector<OxInkPoint> points;
    QPainterPath path;
    OxStrokeShape parts;
    OxStrokeRecord calls;
    OxPredictedInk ahead;
    std::vector<OxInkPoint> recent;  // the samples the predictor reads, oldest first

    // Records the call and its sample; returns the sample's position as the engine takes it.
    QPointF recorded(OxRecordedStep::Call call, const PenSample &sample);
    // Brings parts up to date after an engine call, draws the prediction after a call that
    // leaves the stroke open, and returns everything that changed.
    QRectF followed(QRectF changed, bool open);
};

#endif
