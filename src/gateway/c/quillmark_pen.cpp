// The C interface: each function checks its pointers, converts the time stamp, makes one gateway
// call and copies its outputs into the host's quillmark_shape. No exception crosses into C.

#include "quillmark_c.h"

#include "OxQuillmarkGateway.h"

#include <cmath>
#include <limits>

struct quillmark_pen
{
    OxQuillmarkGateway gateway;
};

namespace {
// The sketch calls without their leading arguments: the seven outputs the gateway writes.
struct SketchOutputs
{
    float left, top, width, height;
    int pointCount = kNotWritten;
    int pathCount = 0;
    int *pathSizes = nullptr;

    // The gateway writes its counts whenever it exports; a count still at this value means
    // that it returned early and wrote nothing.
    static constexpr int kNotWritten = -1;
};

long long gatewayTime(quillmark_time_ms ms)
{
    // Anything below 1 ms truncates to 0 or less, which the gateway reads as now; so do NaN and
    // infinities. The top is clamped because converting a double beyond long long is undefined.
    if (!std::isfinite(ms) || ms < 1)
        return 0;
    if (ms >= double(std::numeric_limits<long long>::max()))
        return std::numeric_limits<long long>::max();
    return static_cast<long long>(ms);
}

// Runs one gateway call with fresh outputs and copies them to *out when the call wrote them.
// The rectangle starts from *out's own values, so a call that leaves it alone leaves it alone.
template <class Call>
int sketch(quillmark_pen *pen, quillmark_shape *out, Call call) noexcept
{
    if (!pen || !out)
        return 0;
    try {
        SketchOutputs o;
        o.left = out->left;
        o.top = out->top;
        o.width = out->width;
        o.height = out->height;
        const float *coords = call(pen->gateway, o);
        if (o.pointCount == SketchOutputs::kNotWritten)
            return 0;
        out->left = o.left;
        out->top = o.top;
        out->width = o.width;
        out->height = o.height;
        out->point_count = o.pointCount;
        out->path_count = o.pathCount;
        out->path_sizes = o.pathSizes;
        out->coords = coords;
        return 1;
    } catch (...) {
        return 0;
    }
}
} // namespace

extern "C" {

const char *quillmark_version(void)
{
    return QUILLMARK_VERSION_STRING;
}

void quillmark_version_numbers(int *major, int *minor, int *patch)
{
    if (major)
        *major = QUILLMARK_VERSION_MAJOR;
    if (minor)
        *minor = QUILLMARK_VERSION_MINOR;
    if (patch)
        *patch = QUILLMARK_VERSION_PATCH;
}

quillmark_pen *quillmark_pen_create(void)
{
    try {
        return new quillmark_pen;
    } catch (...) {
        return nullptr;
    }
}

void quillmark_pen_destroy(quillmark_pen *pen)
{
    delete pen;
}

int quillmark_pen_set_environment(quillmark_pen *pen, float factor1, float factor2,
                                  float pen_width, int pen_type)
{
    if (!pen)
        return 0;
    try {
        return pen->gateway.setEnvironmentPara(factor1, factor2, pen_width, pen_type) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

void quillmark_pen_free_stroke(quillmark_pen *pen)
{
    if (pen)
        pen->gateway.freeStroke();
}

void quillmark_pen_clearup(quillmark_pen *pen)
{
    if (pen)
        pen->gateway.clearup();
}

int quillmark_pen_start(quillmark_pen *pen, float x, float y, quillmark_time_ms time,
                        quillmark_shape *out)
{
    return sketch(pen, out, [&](OxQuillmarkGateway &g, SketchOutputs &o) {
        return g.startSketch(x, y, gatewayTime(time), o.left, o.top, o.width, o.height,
                             o.pointCount, o.pathCount, o.pathSizes);
    });
}

int quillmark_pen_move(quillmark_pen *pen, float x, float y, quillmark_shape *out)
{
    return sketch(pen, out, [&](OxQuillmarkGateway &g, SketchOutputs &o) {
        return g.sketching(x, y, o.left, o.top, o.width, o.height, o.pointCount, o.pathCount,
                           o.pathSizes);
    });
}

int quillmark_pen_end(quillmark_pen *pen, float x, float y, quillmark_shape *out)
{
    return sketch(pen, out, [&](OxQuillmarkGateway &g, SketchOutputs &o) {
        return g.endSketch(x, y, o.left, o.top, o.width, o.height, o.pointCount, o.pathCount,
                           o.pathSizes);
    });
}

int quillmark_pen_end_timed(quillmark_pen *pen, float x, float y, quillmark_time_ms time,
                            quillmark_shape *out)
{
    return sketch(pen, out, [&](OxQuillmarkGateway &g, SketchOutputs &o) {
        return g.endSketch2(x, y, gatewayTime(time), o.left, o.top, o.width, o.height,
                            o.pointCount, o.pathCount, o.pathSizes);
    });
}

int quillmark_pen_move_batch(quillmark_pen *pen, int count, const float *xy,
                             quillmark_time_ms time, quillmark_shape *out)
{
    return sketch(pen, out, [&](OxQuillmarkGateway &g, SketchOutputs &o) {
        long long stamp = gatewayTime(time);
        // The gateway only reads the batch; its parameter is not const.
        return g.sketching2(count, const_cast<float *>(xy), &stamp, o.left, o.top, o.width,
                            o.height, o.pointCount, o.pathCount, o.pathSizes);
    });
}

int quillmark_pen_end_batch(quillmark_pen *pen, float x, float y, quillmark_time_ms time,
                            quillmark_shape *out)
{
    return sketch(pen, out, [&](OxQuillmarkGateway &g, SketchOutputs &o) {
        return g.endSketch4(x, y, gatewayTime(time), o.left, o.top, o.width, o.height,
                            o.pointCount, o.pathCount, o.pathSizes);
    });
}

int quillmark_pen_end_batch_accumulated(quillmark_pen *pen, float x, float y,
                                        quillmark_time_ms time, quillmark_shape *out)
{
    return sketch(pen, out, [&](OxQuillmarkGateway &g, SketchOutputs &o) {
        return g.endSketch3(x, y, gatewayTime(time), o.left, o.top, o.width, o.height,
                            o.pointCount, o.pathCount, o.pathSizes);
    });
}

} // extern "C"
