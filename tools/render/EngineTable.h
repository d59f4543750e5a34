#ifndef QUILLMARK_RENDER_ENGINETABLE_H
#define QUILLMARK_RENDER_ENGINETABLE_H

#include "EngineAdapter.h"

#include <vector>

// The engines quillmark-render drives, in the order of their panels. An engine joins the
// renderer with one entry in this table (EngineTable.cpp): adapterFor<Engine>(name, title, how to
// read its shapes), wrapped in withBatchMode<Engine>(...) when it has a batch mode.
const std::vector<EngineAdapter> &engineTable();

#endif
