// Cost of the time of day that the gateway stamps a sample with when the host gives no time:
// through QTime (the local time zone at every call) and through the gateway's own clock (the
// zone's offset asked once a minute).
//
//   build/release/bench/gateway_clock_bench

#include "OxTimeOfDay_p.h"

#include <QTime>
#include <benchmark/benchmark.h>

namespace {
void BM_TimeOfDayThroughQTime(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(QTime(0, 0).msecsTo(QTime::currentTime()));
}
BENCHMARK(BM_TimeOfDayThroughQTime);

void BM_TimeOfDayGatewayClock(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(quillmark::detail::localTimeOfDay());
}
BENCHMARK(BM_TimeOfDayGatewayClock);
} // namespace
