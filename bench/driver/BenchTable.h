#ifndef QUILLMARK_BENCH_BENCHTABLE_H
#define QUILLMARK_BENCH_BENCHTABLE_H

// The one table of the benchmark: a row per subject, every figure against its target.

#include "PeakMemory.h"
#include "SampleStats.h"

#include <optional>
#include <string>
#include <vector>

struct BenchRow
{
    std::string name;
    bool rebuildsTail = false;
    std::optional<Spread> early;
    std::optional<Spread> late;
    std::optional<double> paintMs;
    std::optional<MemoryUse> memory;
    std::optional<Spread> recorded;  // every sample of the real recordings
    int runs = 0;       // complete runs of the long stroke
    int earlyRuns = 0;  // runs over the early window, the complete ones included
    std::vector<std::string> notes;  // printed under the table, tied to the row by a number
};

// Per-sample targets (microseconds), and the bound on how much later samples may cost more.
struct Targets
{
    double median;
    double p99;
};
constexpr Targets kTargets{20, 100};
// The engines that rebuild their tapering tail at every sample.
constexpr Targets kTailTargets{50, 200};
constexpr double kLateToEarlyLimit = 1.5;

Targets targetsFor(const BenchRow &row);

// value printed with that many decimals.
std::string fixed(double value, int decimals);

// The cells of one row, label first; a figure above its target carries " !", a memory figure of
// a run cut short " @<thousands of samples fed>k", a missing figure is "-".
std::vector<std::string> rowCells(const BenchRow &row, const std::string &label);

// Prints the table (a Markdown pipe table), its notes and the targets on standard output.
void printTable(const std::vector<BenchRow> &rows, const std::vector<std::string> &preamble);

#endif
