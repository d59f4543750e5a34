#include "ExportTiming.h"

#include "BenchTable.h"
#include "OxQuillmarkGateway.h"
#include "Subjects.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>

namespace {
constexpr int kRepetitions = 301;
constexpr double kCopyLimit = 2;

struct Outputs
{
    float left = 0, top = 0, width = 0, height = 0;
    int pointCount = 0, pathCount = 0;
    int *pathSizes = nullptr;
    const float *coords = nullptr;
};

using Call = std::function<const float *(OxQuillmarkGateway &, Outputs &)>;

double microsOf(const std::function<void()> &f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(end - start).count();
}

// A gateway of penType fed the first n samples of stroke, left open.
void feed(OxQuillmarkGateway &g, int penType, const RecordedStroke &stroke, size_t n)
{
    Outputs o;
    g.setEnvironmentPara(1, 1, penWidth(), penType);
    g.startSketch(float(stroke[0].x), float(stroke[0].y), 1, o.left, o.top, o.width, o.height,
                  o.pointCount, o.pathCount, o.pathSizes);
    for (size_t i = 1; i < n; ++i)
        g.sketching(float(stroke[i].x), float(stroke[i].y), o.left, o.top, o.width, o.height,
                    o.pointCount, o.pathCount, o.pathSizes);
}

Spread timeCall(OxQuillmarkGateway &g, const Call &call, Outputs &o)
{
    std::vector<double> micros;
    for (int i = 0; i < kRepetitions; ++i)
        micros.push_back(microsOf([&] { o.coords = call(g, o); }));
    return *spreadOf(micros);
}

ExportFigure measure(const std::string &name, int penType, const RecordedStroke &stroke,
                     const Call &call)
{
    ExportFigure f;
    f.call = name;
    OxQuillmarkGateway small, large;
    feed(small, penType, stroke, 3);
    feed(large, penType, stroke, stroke.size());
    Outputs o;
    f.shortStroke = timeCall(small, call, o);
    f.longStroke = timeCall(large, call, o);
    f.points = o.pointCount;
    f.bytes = sizeof(float) * 2 * size_t(o.pointCount) + sizeof(int) * size_t(o.pathCount);
    std::vector<char> from(f.bytes, 1), to(f.bytes, 0);
    std::vector<double> micros;
    for (int i = 0; i < kRepetitions; ++i)
        micros.push_back(microsOf([&] { std::memcpy(to.data(), from.data(), f.bytes); }));
    f.copy = *spreadOf(micros);
    return f;
}
} // namespace

std::vector<ExportFigure> timeGatewayExports(const RecordedStroke &stroke)
{
    // The last sample again: rounded to the same unit, the engine drops it at once.
    const float x = float(stroke.back().x), y = float(stroke.back().y);
    const Call repeat = [x, y](OxQuillmarkGateway &g, Outputs &o) {
        return g.sketching(x, y, o.left, o.top, o.width, o.height, o.pointCount, o.pathCount,
                           o.pathSizes);
    };
    const Call exportAgain = [x, y](OxQuillmarkGateway &g, Outputs &o) {
        return g.endSketch3(x, y, 1, o.left, o.top, o.width, o.height, o.pointCount,
                            o.pathCount, o.pathSizes);
    };
    return {measure("pen 1 sketching (repeat)", 1, stroke, repeat),
            measure("pen 1 endSketch3 (export only)", 1, stroke, exportAgain),
            measure("pen 2 sketching (repeat)", 2, stroke, repeat)};
}

void printExportTable(const std::vector<ExportFigure> &figures, size_t samples)
{
    std::printf("\nThe gateway's export against a memcpy of the bytes it hands out, after %zu "
                "samples of synth-10k.txt (unpaced; medians of %d calls): export = the call "
                "on the long stroke - the same call on a stroke of 3 samples.\n\n",
                samples, kRepetitions);
    std::printf("| call | points | bytes | call µs | call, 3 samples µs | export µs | memcpy µs "
                "| export/memcpy |\n|:--|--:|--:|--:|--:|--:|--:|--:|\n");
    for (const ExportFigure &f : figures) {
        const double exportMicros = f.longStroke.median - f.shortStroke.median;
        const double ratio = exportMicros / f.copy.median;
        std::printf("| %s | %d | %zu | %s | %s | %s | %s | %s%s |\n", f.call.c_str(), f.points,
                    f.bytes, fixed(f.longStroke.median, 1).c_str(),
                    fixed(f.shortStroke.median, 1).c_str(), fixed(exportMicros, 1).c_str(),
                    fixed(f.copy.median, 2).c_str(), fixed(ratio, 2).c_str(),
                    ratio > kCopyLimit ? " !" : "");
    }
    std::printf("\nTarget: export/memcpy <= %g.\n", kCopyLimit);
}
