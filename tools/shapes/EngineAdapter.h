#ifndef QUILLMARK_SHAPES_ENGINEADAPTER_H
#define QUILLMARK_SHAPES_ENGINEADAPTER_H

// An engine as the tools drive it: a kind of the library's table of engines (EngineTable.h), or a
// stand-in of the tools' tests. Every engine derives from OxStrokesFixWidth, so the phase calls
// and the replay are reached through the root class; the adapter adds how to make an engine
// object, how to read the shapes it drew, and (for the engines that have one) the batch mode.

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

#endif
