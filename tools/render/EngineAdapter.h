#ifndef QUILLMARK_RENDER_ENGINEADAPTER_H
#define QUILLMARK_RENDER_ENGINEADAPTER_H

// What the renderer needs to know about one stroke engine. Every engine derives from
// OxStrokesFixWidth, so the phase calls and the replay are reached through the root class; the
// adapter adds what differs: how to make an engine object, how to read the shapes it drew, and
// (for the engines that have one) the batch mode.

#include "OxStrokesFixWidth.h"

#include <QList>
#include <QPainterPath>
#include <QPolygonF>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The shapes of one finished stroke, as the renderer draws them.
struct StrokeShapes
{
    // Stroked with a round pen of the stroke width; empty for the outline engines.
    QPolygonF centreLine;
    // Closed outlines filled with the nonzero winding rule.
    std::vector<QPainterPath> outlines;
};

using Params = QMap<QString, QVariant>;

struct EngineAdapter
{
    std::string name;   // the value of --engine
    std::string title;  // panel label
    std::function<std::unique_ptr<OxStrokesFixWidth>()> make;
    // Called once the stroke's last call has returned; points is the caller's point vector.
    std::function<StrokeShapes(OxStrokesFixWidth &engine, const std::vector<OxInkPoint> &points)>
        shapes;
    // The batch mode: a call per batch of samples and an end call. Empty for engines without it.
    std::function<QRectF(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                         QList<QPointF> &samples, Params params, float width)>
        creatingBatch;
    std::function<QRectF(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                         QPainterPath &path, QPointF point, Params params, float width)>
        endBatch;

    bool hasBatchMode() const { return bool(creatingBatch); }
};

// An adapter for Engine whose shapes are read by readShapes(engine, points).
template <class Engine, class ShapeReader>
EngineAdapter adapterFor(std::string name, std::string title, ShapeReader readShapes)
{
    EngineAdapter adapter;
    adapter.name = std::move(name);
    adapter.title = std::move(title);
    adapter.make = [] { return std::unique_ptr<OxStrokesFixWidth>(new Engine); };
    adapter.shapes = [readShapes](OxStrokesFixWidth &engine,
                                  const std::vector<OxInkPoint> &points) {
        return readShapes(static_cast<Engine &>(engine), points);
    };
    return adapter;
}

// Adds the batch mode of an engine that offers creatingOnlyBackward and endCreateOnlyBackward.
template <class Engine>
EngineAdapter withBatchMode(EngineAdapter adapter)
{
    adapter.creatingBatch = [](OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                               QList<QPointF> &samples, Params params, float width) {
        return static_cast<Engine &>(engine).creatingOnlyBackward(points, samples, params, width);
    };
    adapter.endBatch = [](OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                          QPainterPath &path, QPointF point, Params params, float width) {
        return static_cast<Engine &>(engine).endCreateOnlyBackward(points, path, point, params,
                                                                   width);
    };
    return adapter;
}

#endif
