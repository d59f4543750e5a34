#ifndef QUILLMARK_BENCH_EXPORTTIMING_H
#define QUILLMARK_BENCH_EXPORTTIMING_H

// The gateway's export against a memcpy of the bytes it hands out. A gateway call cannot be
// timed without its engine call, so each export is timed in a call whose engine has nothing to
// do (a sample dropped as a repeat, or the filled pen's endSketch3, which only exports), on a
// long stroke and on a stroke of three samples: the difference is the export.

#include "SampleStats.h"
#include "StrokeFile.h"

#include <string>
#include <vector>

struct ExportFigure
{
    std::string call;
    int points = 0;
    size_t bytes = 0;
    Spread longStroke;    // the call after the whole stroke
    Spread shortStroke;   // the same call after three samples
    Spread copy;          // memcpy of bytes
};

// The figures after feeding the whole stroke (positions rounded, as the gateway rounds them).
std::vector<ExportFigure> timeGatewayExports(const RecordedStroke &stroke);
void printExportTable(const std::vector<ExportFigure> &figures, size_t samples);

#endif
