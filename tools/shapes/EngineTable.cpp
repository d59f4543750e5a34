#include "EngineTable.h"

#include "OxStrokesFixWidthFill.h"
#include "OxStrokesVaryWidthBackwardTime.h"
#include "OxStrokesVaryWidthTime.h"

namespace {
// The plain engine lays its smoothed centre line into the caller's path as it goes.
StrokeShapes centreLineOf(OxStrokesFixWidth &, const QPainterPath &path)
{
    StrokeShapes shapes;
    for (int i = 0; i < path.elementCount(); ++i)
        shapes.centreLine << QPointF(path.elementAt(i));
    return shapes;
}

void addOutline(StrokeShapes &shapes, const QPainterPath &outline)
{
    if (!outline.isEmpty())
        shapes.outlines.push_back(outline);
}

// The outline engines keep their whole outline themselves; the caller's path is not drawn.
template <class Engine>
StrokeShapes outlineOf(Engine &engine, const QPainterPath &)
{
    StrokeShapes shapes;
    addOutline(shapes, engine.getPathWhole());
    return shapes;
}

// The tapering engines draw the start dot or the running tail apart from the body.
StrokeShapes outlineAndTailsOf(OxStrokesVaryWidthBackwardExtend &engine, const QPainterPath &path)
{
    StrokeShapes shapes = outlineOf(engine, path);
    for (const QPainterPath &tail : engine.getBackwardPaths())
        addOutline(shapes, tail);
    return shapes;
}
} // namespace

const std::vector<EngineAdapter> &engineTable()
{
    static const std::vector<EngineAdapter> table = {
        adapterFor<OxStrokesFixWidth>("fix", "plain fixed width", centreLineOf),
        withBatchMode<OxStrokesFixWidthFill>(adapterFor<OxStrokesFixWidthFill>(
            "fill", "filled fixed width", outlineOf<OxStrokesFixWidthFill>)),
        adapterFor<OxStrokesVaryWidthPressure>("pressure", "width from pressure",
                                               outlineOf<OxStrokesVaryWidthPressure>),
        adapterFor<OxStrokesVaryWidthTime>("speed", "width from speed",
                                           outlineOf<OxStrokesVaryWidthTime>),
        adapterFor<OxStrokesVaryWidthBackwardExtend>("extend", "tail tapering by length",
                                                     outlineAndTailsOf),
        withBatchMode<OxStrokesVaryWidthBackwardTime>(adapterFor<OxStrokesVaryWidthBackwardTime>(
            "brush", "brush, tail tapering by time", outlineAndTailsOf)),
    };
    return table;
}
