#ifndef QUILLMARK_PAD_LIVESTROKE_H
#define QUILLMARK_PAD_LIVESTROKE_H

// The stroke being drawn: one engine object fed sample by sample, as a host feeds it.

#include "EngineAdapter.h"
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

class LiveStroke
{
public:
    LiveStroke(const EngineAdapter &engine, float width, const QColor &colour);

    // The phase calls with the sample's "time" and "pressure"; each returns the rectangle the
    // engine reports as changed and brings shape() up to date. start once, add for every
    // further sample, finish once.
    QRectF start(const PenSample &sample);
    QRectF add(const PenSample &sample);
    QRectF finish(const PenSample &sample);

    // What the engine has drawn so far, whole (its cost grows with the stroke).
    StrokeShapes shapes() const;
    // The same as runs that tell what changed with the last call.
    const OxStrokeShape &shape() const { return parts; }
    float width() const { return penWidth; }
    const QColor &colour() const { return ink; }

private:
    const EngineAdapter &adapter;
    const std::unique_ptr<OxStrokesFixWidth> engine;
    const float penWidth;
    const QColor ink;
    std::vector<OxInkPoint> points;
    QPainterPath path;
    OxStrokeShape parts;

    // Brings parts up to date after an engine call and passes its rectangle on.
    QRectF followed(QRectF changed);
};

#endif
