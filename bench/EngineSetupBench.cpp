// Cost of making an engine, most of which is installing its nib (the sector table of every
// outline builder it makes): a host makes one engine per stroke, at pen-down, and so does the
// gateway in setEnvironmentPara.
//
//   build/release/bench/engine_setup_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only

#include "OxEngineKind.h"
#include "OxQuillmarkGateway.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {
// One per engine of the table, named after its class.
const bool kMakeEngineRegistered = [] {
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        benchmark::RegisterBenchmark(
            (std::string("BM_MakeEngine<") + kind.className + ">").c_str(),
            [&kind](benchmark::State &state) {
                for (auto _ : state)
                    benchmark::DoNotOptimize(kind.make());
            })
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

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
