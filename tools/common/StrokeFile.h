#ifndef QUILLMARK_STROKEFILE_H
#define QUILLMARK_STROKEFILE_H

// Reader for recorded strokes in plain text: one sample "x y t_ms pressure" a line, '#' starts a
// comment line, a blank line ends a stroke. Used by the tools, the tests and the benchmarks.

#include <istream>
#include <string>
#include <vector>

struct RecordedSample
{
    double x = 0;
    double y = 0;
    long long timeMs = 0;
    float pressure = 0;
};

using RecordedStroke = std::vector<RecordedSample>;

struct StrokeFileResult
{
    std::vector<RecordedStroke> strokes;
    // Empty on success; otherwise "name:line: what is wrong" for the first bad line.
    std::string error;
};

// Reads every stroke of the stream; name is used in the error message only.
StrokeFileResult readStrokes(std::istream &in, const std::string &name);
// Reads a file; "-" reads standard input.
StrokeFileResult readStrokeFile(const std::string &path);

#endif
