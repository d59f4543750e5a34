#ifndef QUILLMARK_BENCH_SHAPECOPY_H
#define QUILLMARK_BENCH_SHAPECOPY_H

// What a C host that keeps its own copy of a stroke's shape does after every call: it reads the
// parts and brings its copy up to date with what changed.

#include "quillmark_c.h"

#include <cstddef>
#include <vector>

class ShapeCopy
{
public:
    // Reads the stroke's parts and follows them; false when the read was refused.
    bool follow(quillmark_stroke *stroke);

private:
    std::vector<float> body[4];
    std::vector<std::vector<float>> polygons;
};

#endif
