// What a page of 10,000 strokes costs a host, per call, with the R-tree (index) and with a scan
// of every stroke's box (linear) side by side:
//   hit         a disc of radius 4 that touches nothing, and one on a stroke's ink
//   erase       a partial-erase step of radius 8 (one eraser move of 10 units) that cuts a
//               stroke, and one that touches nothing
//   eraseStrokes  a whole-stroke erase step on a stroke (taken back untimed after each)
//   lasso       a closed lasso of 200 points, 300 units across, around a place on the page
//   add         adding a stroke beside replaying its record on an engine (BM_ReplayOnly)
// (the erase cut and the lasso also count the median and 90th percentile of single calls)
// and, as counters of BM_PageMemory, the page's bytes against the bytes of its strokes' shapes.
//
//   build/release/bench/page_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only

#include "OxEngineKind.h"
#include "PageOfStrokes.h"

#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <cmath>

namespace {
using Lookup = OxStrokePage::Lookup;
using Key = OxStrokePage::Key;

constexpr size_t kPlaces = 4096;

Lookup lookupOf(const benchmark::State &state)
{
    return state.range(0) == 0 ? Lookup::kIndex : Lookup::kLinearScan;
}

OxStrokePage &pageOf(benchmark::State &state)
{
    state.SetLabel(state.range(0) == 0 ? "index" : "linear");
    return *PageOfStrokes::get(lookupOf(state)).page;
}

template <class Places>
const std::vector<QPointF> &cached(int which, Places places)
{
    static std::vector<QPointF> lists[8];
    if (lists[which].empty())
        lists[which] = places();
    return lists[which];
}

void BM_HitNothing(benchmark::State &state)
{
    OxStrokePage &page = pageOf(state);
    const auto &places = cached(0, [&] { return placesOffInk(page, 4, kPlaces); });
    std::vector<Key> hit;
    size_t i = 0;
    for (auto _ : state) {
        page.hit(places[i++ % places.size()], 4, hit);
        benchmark::DoNotOptimize(hit.data());
    }
}

void BM_HitStroke(benchmark::State &state)
{
    OxStrokePage &page = pageOf(state);
    const auto &places = cached(1, [&] { return placesOnInk(page, kPlaces); });
    std::vector<Key> hit;
    size_t i = 0, touched = 0;
    for (auto _ : state) {
        page.hit(places[i++ % places.size()], 4, hit);
        touched += !hit.empty();
    }
    state.counters["touched"] = double(touched) / double(state.iterations());
}

void BM_EraseNothing(benchmark::State &state)
{
    OxStrokePage &page = pageOf(state);
    const auto &places = cached(2, [&] { return placesOffInk(page, 20, kPlaces); });
    size_t i = 0;
    for (auto _ : state) {
        const QPointF p = places[i++ % places.size()];
        page.erase({p, p + QPointF(6, 8)}, 8);
    }
}

// The median and the 90th percentile of single calls, in microseconds, as counters: a cut costs
// what the outline of the stroke it cuts holds, and the page mixes short and long strokes.
void countPercentiles(benchmark::State &state, std::vector<double> &us)
{
    if (us.empty())
        return;
    std::sort(us.begin(), us.end());
    state.counters["median_us"] = us[us.size() / 2];
    state.counters["p90_us"] = us[us.size() * 9 / 10];
}

// Each step cuts a stroke at another place: across the ink, 10 units long. The page keeps the
// cuts (they are undone at the end, untimed).
void BM_EraseCut(benchmark::State &state)
{
    OxStrokePage &page = pageOf(state);
    const auto &places = cached(3, [&] { return placesOnInk(page, kPlaces); });
    size_t i = 0, cut = 0, steps = 0;
    OxStrokePage::Change change;
    std::vector<double> us;
    for (auto _ : state) {
        const QPointF p = places[i++ % places.size()];
        const auto start = std::chrono::steady_clock::now();
        page.erase({p - QPointF(3, 4), p + QPointF(3, 4)}, 8, &change);
        us.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now()
                                                               - start).count());
        cut += !change.area.isEmpty();
        steps += !change.area.isEmpty();
        if (i % places.size() == 0) {
            state.PauseTiming();
            for (; steps > 0; --steps)
                page.undo();
            state.ResumeTiming();
        }
    }
    state.counters["cut"] = double(cut) / double(state.iterations());
    countPercentiles(state, us);
    for (; steps > 0; --steps)
        page.undo();
    page.clearHistory();
}

void BM_EraseStrokes(benchmark::State &state)
{
    OxStrokePage &page = pageOf(state);
    const auto &places = cached(1, [&] { return placesOnInk(page, kPlaces); });
    size_t i = 0, removed = 0;
    OxStrokePage::Change change;
    for (auto _ : state) {
        const QPointF p = places[i++ % places.size()];
        page.eraseStrokes({p - QPointF(3, 4), p + QPointF(3, 4)}, 8, &change);
        state.PauseTiming();
        removed += change.removed.size();
        if (!change.removed.empty())
            page.undo();
        state.ResumeTiming();
    }
    state.counters["removed"] = double(removed) / double(state.iterations());
    page.clearHistory();
}

void BM_Lasso200(benchmark::State &state)
{
    OxStrokePage &page = pageOf(state);
    const auto &centres = cached(4, [&] { return placesOnInk(page, 64); });
    std::vector<OxStrokePage::Selected> selected;
    size_t i = 0, chosen = 0;
    std::vector<double> us;
    for (auto _ : state) {
        state.PauseTiming();
        const QPointF c = centres[i++ % centres.size()];
        std::vector<QPointF> lasso;
        for (int k = 0; k < 200; ++k) {
            const double a = 2 * M_PI * k / 200, r = 150 + 30 * std::sin(5 * a);
            lasso.emplace_back(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        }
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        page.lasso(lasso, selected);
        us.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now()
                                                               - start).count());
        chosen += selected.size();
    }
    state.counters["selected"] = double(chosen) / double(state.iterations());
    countPercentiles(state, us);
}

// Adding a stroke to the page of 10,000 (taken back untimed), against replaying its record on a
// fresh engine alone.
void BM_Add(benchmark::State &state)
{
    OxStrokePage &page = pageOf(state);
    const std::vector<OxStrokeRecord> &records = PageOfStrokes::get(lookupOf(state)).records;
    size_t i = 0;
    Key key = 0;
    for (auto _ : state) {
        page.add(records[(i++ * 7) % records.size()], key);
        state.PauseTiming();
        page.undo();
        state.ResumeTiming();
    }
    page.clearHistory();
}

void replay(const OxStrokeRecord &record)
{
    const OxEngineKind &kind = *OxEngineKind::byId(record.engine);
    std::unique_ptr<OxStrokesFixWidth> engine = kind.make();
    std::vector<OxInkPoint> points;
    QPainterPath path;
    for (size_t s = 0; s < record.samples.size(); ++s) {
        const OxRecordedSample &sample = record.samples[s];
        const OxEngineKind::Params params{{QStringLiteral("time"), int(sample.time)},
                                          {QStringLiteral("pressure"), sample.pressure}};
        const QPointF p(sample.x, sample.y);
        if (s == 0)
            engine->startCreate(points, path, p, params, record.width);
        else if (s + 1 == record.samples.size())
            engine->endCreate(points, path, p, params, record.width);
        else
            engine->creating(points, path, p, params, record.width);
    }
    benchmark::DoNotOptimize(points.data());
}

void BM_ReplayOnly(benchmark::State &state)
{
    const std::vector<OxStrokeRecord> &records = PageOfStrokes::get(Lookup::kIndex).records;
    size_t i = 0;
    for (auto _ : state)
        replay(records[(i++ * 7) % records.size()]);
}

void BM_PageMemory(benchmark::State &state)
{
    const PageOfStrokes &built = PageOfStrokes::get(Lookup::kIndex);
    for (auto _ : state)
        benchmark::DoNotOptimize(built.page->bytes());
    state.counters["page_MB"] = double(built.page->bytes()) / 1e6;
    state.counters["shapes_MB"] = double(built.shapeBytes) / 1e6;
    state.counters["ratio"] = double(built.page->bytes()) / double(built.shapeBytes);
}
} // namespace

BENCHMARK(BM_HitNothing)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HitStroke)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EraseNothing)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EraseCut)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EraseStrokes)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Lasso200)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Add)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReplayOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageMemory)->Iterations(1);
