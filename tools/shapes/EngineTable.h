#ifndef QUILLMARK_SHAPES_ENGINETABLE_H
#define QUILLMARK_SHAPES_ENGINETABLE_H

#include "EngineAdapter.h"

#include <vector>

// The engines the tools drive: the library's table of engines (OxEngineKind), in its order, which
// is the order of quillmark-render's panels and quillmark-pad's chooser.
const std::vector<EngineAdapter> &engineTable();

#endif
