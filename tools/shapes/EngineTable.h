#ifndef QUILLMARK_SHAPES_ENGINETABLE_H
#define QUILLMARK_SHAPES_ENGINETABLE_H

#include "EngineAdapter.h"

#include <vector>

// The engines the tools drive, in the order of quillmark-render's panels and quillmark-pad's
// chooser. An engine joins the tools with one entry in this table (EngineTable.cpp):
// adapterFor<Engine>(name, title, how to read its shapes), wrapped in withBatchMode<Engine>(...)
// when it has a batch mode.
const std::vector<EngineAdapter> &engineTable();

#endif
