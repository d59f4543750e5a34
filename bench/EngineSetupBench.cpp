// Cost of making an engine, most of which is installing its nib (the sector table of every
// outline builder it makes): a host makes one engine per stroke, at pen-down, and so does the
// gateway in setEnvironmentPara.
//
//   build/release/bench/engine_setup_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only

#include "OxQuillmarkGateway.h"
#include "OxStrokesFixWidth.h"
#include "OxStrokesFixWidthFill.h"
#include "OxStrokesVaryWidthBackwardExtend.h"
#include "OxStrokesVaryWidthBackwardTime.h"
#include "OxStrokesVaryWidthPressure.h"
#include "OxStrokesVaryWidthTime.h"

#include <benchmark/benchmark.h>

namespace {
template <class Engine>
void BM_MakeEngine(benchmark::State &state)
{
    for (auto _ : state) {
        Engine engine;
        benchmark::DoNotOptimize(&engine);
    }
}
BENCHMARK_TEMPLATE(BM_MakeEngine, OxStrokesFixWidth)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_MakeEngine, OxStrokesFixWidthFill)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_MakeEngine, OxStrokesVaryWidthPressure)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_MakeEngine, OxStrokesVaryWidthTime)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_MakeEngine, OxStrokesVaryWidthBackwardTime)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_MakeEngine, OxStrokesVaryWidthBackwardExtend)
    ->Unit(benchmark::kMicrosecond);

// setEnvironmentPara makes the pen type's engine (1: filled fixed width, 2: thinning brush).
void BM_GatewaySetEnvironment(benchmark::State &state)
{
    const int penType = int(state.range(0));
    OxQuillmarkGateway gateway;
    for (auto _ : state) {
        gateway.freeStroke();
        benchmark::DoNotOptimize(gateway.setEnvironmentPara(1, 1, 4, penType));
    }
}
BENCHMARK(BM_GatewaySetEnvironment)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
} // namespace
