#ifndef QUILLMARK_SHAPES_ENGINEADAPTER_H
#define QUILLMARK_SHAPES_ENGINEADAPTER_H

// What the tools need to know about one stroke engine. Every engine derives from
// OxStrokesFixWidth, so the phase calls and the replay are reached through the root class; the
// adapter adds what differs: how to make an engine object, how to read the shapes it drew, and
// (for the engines that have one) the batch mode.

#include "OxStrokesFixWidth.h"
#include "StrokeShapes.h"

#include <QList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using Params = QMap<QString, QVariant>;

struct EngineAdapter
{
    std::string name;   // short name: quillmark-render's --engine, quillmark-pad's chooser
    std::string title;  // what it draws, for labels
    std::function<std::unique_ptr<OxStrokesFixWidth>()> make;
    // The shapes drawn so far, read after any call of the stroke; path is the caller's path.
    std::function<StrokeShapes(OxStrokesFixWidth &engine, const QPainterPath &path)> shapes;
    // The batch mode: a call per batch of samples and an end call. Empty for engines without it.
    std::function<QRectF(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                         QList<QPointF> &samples, Params params, float width)>
        creatingBatch;
    std::function<QRectF(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                         QPainterPath &path, QPointF point, Params params, float width)>
        endBatch;

    bool hasBatchMode() const { return bool(creatingBatch); }
};

// An adapter for Engine whose shapes are read by readShapes(engine, path).
template <class Engine, class ShapeReader>
EngineAdapter adapterFor(std::string name, std::string title, ShapeReader readShapes)
{
    EngineAdapter adapter;
    adapter.name = std::move(name);
    adapter.title = std::move(title);
    adapter.make = [] { return std::unique_ptr<OxStrokesFixWidth>(new Engine); };
    adapter.shapes = [readShapes](OxStrokesFixWidth &engine, const QPainterPath &path) {
        return readShapes(static_cast<Engine &>(engine), path);
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
