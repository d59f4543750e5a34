#include "EngineTable.h"

namespace {
// At the end of a stroke the plain engine hands its smoothed centre line back in points.
StrokeShapes centreLineOf(OxStrokesFixWidth &, const std::vector<OxInkPoint> &points)
{
    StrokeShapes shapes;
    for (const OxInkPoint &p : points)
        shapes.centreLine << QPointF(p.x, p.y);
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
