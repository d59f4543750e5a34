#ifndef OXEXPORTMIRROR_P_H
#define OXEXPORTMIRROR_P_H

// What the gateway's export keeps from one call to the next: the parts of the shape that grow
// with the stroke, already as floats and followed as they grow, so that an export copies them
// instead of converting the whole shape again.

#include "OxStrokeShape.h"

#include <vector>

struct OxExportMirror
{
    std::vector<float> centreLine;   // the filled pen's smoothed points
    OxStrokeShape body;              // the brush's body outline
};

#endif
