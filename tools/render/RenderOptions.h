#ifndef QUILLMARK_RENDER_RENDEROPTIONS_H
#define QUILLMARK_RENDER_RENDEROPTIONS_H

// The command line of quillmark-render.

#include "EngineAdapter.h"
#include "StrokeRunner.h"

#include <string>
#include <vector>

struct RenderOptions
{
    std::vector<std::string> inputs;              // empty: the bundled demo strokes
    std::vector<const EngineAdapter *> engines;   // in table order
    FeedSettings feed;
    std::string svgPath;                          // empty: no SVG
    std::string pngPath;                          // empty: no PNG
    double scale = 1;                             // output units per drawing unit
    bool showDirty = false;
    bool stats = false;
    bool help = false;
    bool version = false;
};

struct ParsedOptions
{
    RenderOptions options;
    std::string error;  // empty on success; otherwise one line saying what is wrong
};

// args without the program name. No arguments at all is the demo: every engine, the bundled
// strokes, quillmark-demo.png and quillmark-demo.svg in the current folder and the stats table.
// A run that asks for no picture prints the stats table. Engine names are looked up in table;
// "all" selects every engine of it (in batch mode every engine that has a batch mode).
ParsedOptions parseRenderOptions(const std::vector<std::string> &args,
                                 const std::vector<EngineAdapter> &table);

std::string renderUsage(const std::vector<EngineAdapter> &table);

#endif
