#include "PageEdits.h"

#include "OxEngineKind.h"
#include "OxStrokePage.h"

std::vector<std::string> applyPageEdits(EngineDrawing &drawing,
                                        const std::map<size_t, OxStrokeRecord> &edited)
{
    std::vector<std::string> notes;
    const OxEngineKind *kind = OxEngineKind::byName(drawing.engine->name.c_str());
    for (const auto &[index, record] : edited) {
        if (index >= drawing.strokes.size())
            continue;
        OxStrokeRecord redrawn = record;
        redrawn.engine = kind ? kind->id : 0;
        redrawn.width = drawing.width;
        OxStrokePage page;
        OxStrokePage::Key key = 0;
        StrokeShapes &shapes = drawing.strokes[index].shapes;
        shapes = StrokeShapes();
        if (page.add(redrawn, key) == OxStrokePage::kDone)
            shapes.outlines.push_back(page.inkPath(key));
        else
            notes.push_back("stroke " + std::to_string(index + 1) + ": the " + drawing.engine->name
                            + " engine's ink does not give the piece the page cut; left out");
    }
    return notes;
}
