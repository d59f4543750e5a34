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

constexpr size_t kEarly = 10;
constexpr size_t kLate = 10000;
constexpr int kTimedSegments = 200;

// The segments of the real tablet recording, its strokes chained and repeated (each pass
// shifted to continue where the last ended) far enough for the late window; widths follow
// pressure.
struct RecordedSegments
{
    std::vector<Segment> all;
    size_t perPass = 0;
};

const RecordedSegments &recordedSegments()
{
    static const RecordedSegments segments = [] {
        const StrokeFileResult file =
            readStrokeFile(QUILLMARK_DATA_DIR "/mypaint-painting30sec.txt");
        if (!file.error.empty() || file.strokes.empty())
            throw std::runtime_error("cannot read the recorded strokes");
        std::vector<Segment> pass;
        for (const RecordedStroke &stroke : file.strokes) {
            for (size_t i = 0; i + 1 < stroke.size(); ++i) {
                const RecordedSample &a = stroke[i], &b = stroke[i + 1];
                pass.push_back({float(a.x), float(a.y), 12 * a.pressure, float(b.x), float(b.y),
                                12 * b.pressure});
            }
        }
        if (pass.size() < kEarly + kTimedSegments)
            throw std::runtime_error("the recording is too short");
        RecordedSegments out;
        out.perPass = pass.size();
        for (float dx = 0; out.all.size() < kLate + 2 * pass.size(); dx += 600) {
            for (Segment s : pass) {
                s.x0 += dx;
                s.x1 += dx;
                out.all.push_back(s);
            }
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
    const std::vector<Segment> &s = recordedSegments().all;
    for (size_t i = from; i < to; ++i)
        g.addSegment(s[i].x0, s[i].y0, s[i].w0, s[i].x1, s[i].y1, s[i].w1);
}

// Each repetition times kTimedSegments segments after at least `range(0)` earlier ones: the same
// ones at every size (those after the first kEarly of a pass over the recording), since what a
// segment costs depends on its shape (a sharp turn walks along the nib).
void BM_AddSegment(benchmark::State &state)
{
    const size_t period = recordedSegments().perPass;
    const size_t asked = size_t(state.range(0));
    const size_t before = kEarly + (asked - kEarly + period - 1) / period * period;
    state.SetLabel("after " + std::to_string(before) + " segments");
    OxPathGenerator g;
    installRoundNib(g);
    addSegments(g, 0, before);
    const std::vector<Segment> &s = recordedSegments().all;
    size_t i = before;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            g.addSegment(s[i].x0, s[i].y0, s[i].w0, s[i].x1, s[i].y1, s[i].w1));
        ++i;
    }
}
BENCHMARK(BM_AddSegment)->Arg(kEarly)->Arg(kLate)->Iterations(kTimedSegments)->Repetitions(20)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_GetOutlinePath(benchmark::State &state)
{
    OxPathGenerator g;
    installRoundNib(g);
    addSegments(g, 0, size_t(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(g.getOutlinePath());
}
BENCHMARK(BM_GetOutlinePath)->Arg(kEarly)->Arg(kLate)->Unit(benchmark::kMicrosecond);
} // namespace
