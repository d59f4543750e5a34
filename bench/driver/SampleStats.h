#ifndef QUILLMARK_BENCH_SAMPLESTATS_H
#define QUILLMARK_BENCH_SAMPLESTATS_H

// Order statistics of per-sample times.

#include <cstddef>
#include <optional>
#include <vector>

struct Spread
{
    double median = 0;
    double p99 = 0;
};

// The median (mean of the two middle values for an even count) and the 99th percentile (nearest
// rank: of 100 values the second largest). Nothing for no values.
std::optional<Spread> spreadOf(std::vector<double> values);

// The spread of values[first .. last]; nothing unless all of them are there.
std::optional<Spread> windowSpread(const std::vector<double> &values, size_t first, size_t last);

// The spread of values[first .. last] of every run taken together; nothing unless some run holds
// them all (runs that do not are left out).
std::optional<Spread> pooledWindowSpread(const std::vector<std::vector<double>> &runs,
                                         size_t first, size_t last);

// Keeps, per sample, the smallest time any run took: a run that the scheduler interrupted at a
// sample does not decide that sample's figure as long as another run got through undisturbed.
void keepMinima(std::vector<double> &minima, const std::vector<double> &run);

#endif
