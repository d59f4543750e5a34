#ifndef QUILLMARK_RENDER_INPUTSTROKES_H
#define QUILLMARK_RENDER_INPUTSTROKES_H

// The strokes a run draws: from the files named on the command line (text stroke files or page
// files), or the bundled demo set.

#include "OxStrokeRecord.h"
#include "StrokeFile.h"

#include <map>
#include <string>
#include <vector>

struct InputStrokes
{
    // Every stroke's samples; a page file's stroke gives the samples of its record.
    std::vector<RecordedStroke> strokes;
    // The records of the page files' strokes that the page cut or moved (pieces), by their
    // index in strokes.
    std::map<size_t, OxStrokeRecord> edited;
    std::string error;
};

// The strokes of every file in order ("-" is standard input). Stops at the first file that
// cannot be read, holds a malformed line (StrokeFile's message in error) or a damaged page (the
// page reader's), holds no stroke, or holds a coordinate or pressure of a magnitude beyond 1e6,
// where the engines no longer promise finite results.
InputStrokes readInputs(const std::vector<std::string> &paths);

// A few strokes of the bundled recordings, laid out in rows (a row per recording) so that no two
// overlap.
InputStrokes demoStrokes();

#endif
