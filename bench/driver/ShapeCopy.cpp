#include "ShapeCopy.h"

namespace {
void followRun(std::vector<float> &copy, const quillmark_run &run)
{
    copy.resize(2 * std::size_t(run.kept));
    copy.insert(copy.end(), run.xy + 2 * run.kept, run.xy + 2 * run.count);
}
} // namespace

bool ShapeCopy::follow(quillmark_stroke *stroke)
{
    quillmark_parts parts;
    if (!quillmark_stroke_parts(stroke, &parts))
        return false;
    followRun(body[0], parts.start_cap);
    followRun(body[1], parts.left);
    followRun(body[2], parts.end_cap);
    followRun(body[3], parts.right);
    polygons.resize(std::size_t(parts.polygon_count));
    for (int i = 0; i < parts.polygon_count; ++i)
        followRun(polygons[std::size_t(i)], parts.polygons[i]);
    return true;
}
