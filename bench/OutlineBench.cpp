// Cost of growing an outline: adding a segment and assembling the outline, early in a stroke
// (after 10 segments) and late (after 10,000). Adding a segment must cost the same at both sizes.
//
//   build/release/bench/outline_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only

#include "OxPathGenerator.h"
#include "StrokeFile.h"

#include <benchmark/benchmark.h>
#include <stdexcept>

namespace {
struct Segment
{
    float x0, y0, w0, x1, y1, w1;
};

// The segments of the real tablet recording, its strokes chained and repeated (each repetition
// shifted to continue where the last ended) until there are enough; widths follow pressure.
const std::vector<Segment> &recordedSegments()
{
    static const std::vector<Segment> segments = [] {
        const StrokeFileResult file =
            readStrokeFile(QUILLMARK_DATA_DIR "/mypaint-painting30sec.txt");
        if (!file.error.empty() || file.strokes.empty())
            throw std::runtime_error("cannot read the recorded strokes");
        std::vector<Segment> out;
        double dx = 0;
        while (out.size() < 11000) {
            for (const RecordedStroke &stroke : file.strokes) {
                for (size_t i = 0; i + 1 < stroke.size(); ++i) {
                    const RecordedSample &a = stroke[i], &b = stroke[i + 1];
                    out.push_back({float(a.x + dx), float(a.y), 12 * a.pressure,
                                   float(b.x + dx), float(b.y), 12 * b.pressure});
                }
            }
            dx += 600;
        }
        return out;
    }();
    return segments;
}

void installRoundNib(OxPathGenerator &g)
{
    QPainterPath nib;
    nib.addEllipse(QPointF(100, 100), 40, 40);
    g.setSamplePath(nib, 40);
}

void addSegments(OxPathGenerator &g, size_t from, size_t to)
{
    const std::vector<Segment> &s = recordedSegments();
    for (size_t i = from; i < to; ++i)
        g.addSegment(s[i].x0, s[i].y0, s[i].w0, s[i].x1, s[i].y1, s[i].w1);
}

// Each repetition times the 200 segments that follow the first `range(0)` ones.
void BM_AddSegment(benchmark::State &state)
{
    const size_t before = size_t(state.range(0));
    OxPathGenerator g;
    installRoundNib(g);
    addSegments(g, 0, before);
    const std::vector<Segment> &s = recordedSegments();
    size_t i = before;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            g.addSegment(s[i].x0, s[i].y0, s[i].w0, s[i].x1, s[i].y1, s[i].w1));
        ++i;
    }
}
BENCHMARK(BM_AddSegment)->Arg(10)->Arg(10000)->Iterations(200)->Repetitions(20)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_GetOutlinePath(benchmark::State &state)
{
    OxPathGenerator g;
    installRoundNib(g);
    addSegments(g, 0, size_t(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(g.getOutlinePath());
}
BENCHMARK(BM_GetOutlinePath)->Arg(10)->Arg(10000)->Unit(benchmark::kMicrosecond);
} // namespace
