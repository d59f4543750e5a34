#include "EngineTable.h"

#include "OxEngineKind.h"

namespace {
// What a stroke of kind shows a host: the caller's path, into which the plain engine lays its
// centre line, or the outlines the engine keeps itself.
StrokeShapes shapesOf(const OxEngineKind &kind, OxStrokesFixWidth &engine,
                      const QPainterPath &path)
{
    StrokeShapes shapes;
    if (kind.drawn == OxEngineKind::Drawn::kCentreLine) {
        for (int i = 0; i < path.elementCount(); ++i)
            shapes.centreLine << QPointF(path.elementAt(i));
    }
    for (const QPainterPath &outline : kind.outlines(engine)) {
        if (!outline.isEmpty())
            shapes.outlines.push_back(outline);
    }
    return shapes;
}

EngineAdapter adapterOf(const OxEngineKind &kind)
{
    EngineAdapter adapter;
    adapter.name = kind.name;
    adapter.title = kind.title;
    adapter.make = [&kind] { return kind.make(); };
    adapter.shapes = [&kind](OxStrokesFixWidth &engine, const QPainterPath &path) {
        return shapesOf(kind, engine, path);
    };
    if (kind.canFeed(OxEngineKind::kBatch)) {
        adapter.creatingBatch = [&kind](OxStrokesFixWidth &engine,
                                        std::vector<OxInkPoint> &points, QList<QPointF> &samples,
                                        Params params, float width) {
            return kind.creatingBatch(engine, points, samples, params, width);
        };
        adapter.endBatch = [&kind](OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                                   QPainterPath &path, QPointF point, Params params, float width) {
            return kind.endBatch(engine, points, path, point, params, width);
        };
    }
    return adapter;
}
} // namespace

const std::vector<EngineAdapter> &engineTable()
{
    static const std::vector<EngineAdapter> table = [] {
        std::vector<EngineAdapter> adapters;
        for (const OxEngineKind &kind : OxEngineKind::all())
            adapters.push_back(adapterOf(kind));
        return adapters;
    }();
    return table;
}
