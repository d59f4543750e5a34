#ifndef QUILLMARK_RENDER_ENGINEDRAWING_H
#define QUILLMARK_RENDER_ENGINEDRAWING_H

// What one engine made of the input: per stroke, the shapes it drew and every call it answered.

#include "EngineAdapter.h"

#include <QRectF>
#include <vector>

// One engine call and what it reported.
struct EngineCall
{
    QRectF dirty;              // the rectangle the call returned
    double micros = 0;         // wall time of the call alone
    // Samples the call handed to the engine: 1 for a phase call, all of them for a replay, the
    // batch size for a batch call; 0 for the closing call of a one-sample stroke, which repeats
    // the sample that opened it.
    int samples = 0;
    bool opensStroke = false;  // startCreate, or the replay of a whole stroke
};

struct StrokeRun
{
    StrokeShapes shapes;
    std::vector<EngineCall> calls;
};

struct EngineDrawing
{
    const EngineAdapter *engine = nullptr;
    float width = 0;           // pen width of every stroke
    std::vector<StrokeRun> strokes;
};

// The bounds of every stroke's shapes (shapesBounds).
QRectF drawingBounds(const EngineDrawing &drawing);
// The union of every rectangle the engine reported.
QRectF reportedBounds(const EngineDrawing &drawing);

#endif
