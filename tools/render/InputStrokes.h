#ifndef QUILLMARK_RENDER_INPUTSTROKES_H
#define QUILLMARK_RENDER_INPUTSTROKES_H

// The strokes a run draws: from the files named on the command line, or the bundled demo set.

#include "StrokeFile.h"

#include <string>
#include <vector>

// The strokes of every file in order ("-" is standard input). Stops at the first file that
// cannot be read, holds a malformed line (StrokeFile's message in error), holds no stroke, or
// holds a coordinate or pressure of a magnitude beyond 1e6, where the engines no longer promise
// finite results.
StrokeFileResult readInputs(const std::vector<std::string> &paths);

// A few strokes of the bundled recordings, laid out in rows (a row per recording) so that no two
// overlap.
StrokeFileResult demoStrokes();

#endif
