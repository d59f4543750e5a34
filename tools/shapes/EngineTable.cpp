#include "EngineTable.h"

namespace {
// The plain engine lays its smoothed centre line into the caller's path as it goes.
StrokeShapes centreLineOf(OxStrokesFixWidth &, const QPainterPath &path)
{
    StrokeShapes shapes;
    for (int i = 0; i < path.elementCount(); ++i)
        shapes.centreLine << QPointF(path.elementAt(i));
    return shapes;
}
} // namespace

const std::vector<EngineAdapter> &engineTable()
{
    static const std::vector<EngineAdapter> table = {
        adapterFor<OxStrokesFixWidth>("fix", "plain fixed width", centreLineOf),
    };
    return table;
}
