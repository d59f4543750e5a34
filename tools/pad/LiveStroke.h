#ifndef QUILLMARK_PAD_LIVESTROKE_H
#define QUILLMARK_PAD_LIVESTROKE_H

// The stroke being drawn: one engine object fed sample by sample, as a host feeds it.

#include "EngineAdapter.h"

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
    // engine reports as changed. start once, add for every further sample, finish once.
    QRectF start(const PenSample &sample);
    QRectF add(const PenSample &sample);
    QRectF finish(const PenSample &sample);

    // What the engine has drawn so far.
    StrokeShapes shapes() const;
    float width() const { return penWidth; }
    const QColor &colour() const { return ink; }

private:
    const EngineAdapter &adapter;
    const std::unique_ptr<OxStrokesFixWidth> engine;
    const float penWidth;
    const QColor ink;
    std::vector<OxInkPoint> points;
    QPainterPath path;
};

#endif
