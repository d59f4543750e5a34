#ifndef QUILLMARK_RENDER_PAGEEDITS_H
#define QUILLMARK_RENDER_PAGEEDITS_H

// The pieces of a page file: strokes that the page cut (an eraser) or moved after they were
// drawn. An engine draws such a stroke as any other, from its samples; then its ink is cut and
// moved as the page did it, edit by edit, and the drawing holds that ink as an outline to fill.

#include "EngineDrawing.h"
#include "OxStrokeRecord.h"

#include <map>
#include <string>
#include <vector>

// Replaces the shapes of the strokes of drawing named in edited (by index) with their records
// drawn by the drawing's engine at its width and then edited. A piece that this engine's ink
// does not give (another engine's ink may be cut into fewer parts) is left out: its shapes are
// emptied and the returned notes say which. Calls and times stay those of the engine's drawing.
std::vector<std::string> applyPageEdits(EngineDrawing &drawing,
                                        const std::map<size_t, OxStrokeRecord> &edited);

#endif
