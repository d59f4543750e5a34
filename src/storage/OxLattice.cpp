#include "OxLattice_p.h"

#include "OxNumberGrid_p.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace quillmark::detail {
namespace {
// Steps of fewer than two grid units save less than a bit a value.
constexpr double kMinStep = 2;
// Steps are stored with 32 fractional bits in a signed 64-bit integer.
constexpr double kMaxStep = double(std::int64_t(1) << 30);
// The share of the smallest gaps that stands for one step: the rest are several steps wide.
constexpr double kStepQuantile = 0.1;
constexpr int kRefinements = 4;

std::int64_t floorDivide(__int128 numerator, std::int64_t denominator)
{
    __int128 quotient = numerator / denominator;
    if (numerator % denominator != 0 && (numerator < 0))
        --quotient;
    return std::int64_t(quotient);
}

// The straight line K = a + s k through the points by least squares.
bool fitLine(const std::vector<std::int64_t> &levels, const std::vector<std::int64_t> &integers,
             double &s, double &a)
{
    const double n = double(levels.size());
    double meanLevel = 0, meanInteger = 0;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        meanLevel += double(levels[i]);
        meanInteger += double(integers[i]);
    }
    meanLevel /= n;
    meanInteger /= n;
    double sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const double dk = double(levels[i]) - meanLevel;
        sxx += dk * dk;
        sxy += dk * (double(integers[i]) - meanInteger);
    }
    if (!(sxx > 0))
        return false;
    s = sxy / sxx;
    a = meanInteger - s * meanLevel;
    return s >= kMinStep && s < kMaxStep && std::isfinite(a);
}

bool toFixedPoint(double s, double a, Lattice &lattice)
{
    a -= std::floor(a / s) * s;
    lattice.step = std::llround(std::ldexp(s, Lattice::kFractionBits));
    lattice.offset = std::llround(std::ldexp(a, Lattice::kFractionBits));
    if (lattice.offset >= lattice.step || lattice.offset < 0)
        lattice.offset = 0;
    return lattice.valid();
}

// Sorts integers: by radix in up to three passes of 11 bits when they span less than 2^33 (the
// values of a page do), several times faster than comparisons once there are more of them than
// buckets.
void sortIntegers(std::vector<std::int64_t> &integers)
{
    constexpr std::size_t kFewest = 256;
    if (integers.size() < kFewest) {
        std::sort(integers.begin(), integers.end());
        return;
    }
    const auto [low, high] = std::minmax_element(integers.begin(), integers.end());
    const std::int64_t lowest = *low;
    const std::uint64_t span = std::uint64_t(*high - lowest);
    constexpr int kBits = 11, kMaxPasses = 3;
    constexpr std::size_t kBuckets = std::size_t(1) << kBits;
    if (span >> (kBits * kMaxPasses)) {
        std::sort(integers.begin(), integers.end());
        return;
    }
    const int passes = span >> (2 * kBits) ? 3 : span >> kBits ? 2 : 1;
    std::vector<std::int64_t> other(integers.size());
    for (int pass = 0; pass < passes; ++pass) {
        const int shift = pass * kBits;
        std::size_t counts[kBuckets + 1] = {};
        for (std::int64_t k : integers)
            ++counts[((std::uint64_t(k - lowest) >> shift) & (kBuckets - 1)) + 1];
        for (std::size_t b = 1; b <= kBuckets; ++b)
            counts[b] += counts[b - 1];
        for (std::int64_t k : integers)
            other[counts[(std::uint64_t(k - lowest) >> shift) & (kBuckets - 1)]++] = k;
        integers.swap(other);
    }
}

std::size_t misfits(const std::vector<std::int64_t> &integers, const Lattice &lattice)
{
    const LevelFinder level(lattice);
    std::size_t count = 0;
    std::int64_t k;
    for (std::int64_t integer : integers)
        if (!lattice.value(level(integer), kMaxGridInteger, k) || k != integer)
            ++count;
    return count;
}
} // namespace

std::int64_t Lattice::level(std::int64_t k) const
{
    return LevelFinder(*this)(k);
}

LevelFinder::LevelFinder(const Lattice &lattice)
    : lattice(lattice), inverseStep(1 / double(lattice.step)),
      shift(double(lattice.offset - lattice.step / 2))
{
}

std::int64_t LevelFinder::operator()(std::int64_t k) const
{
    // The nearest level is the largest whose start (step * level) is at most target. A double
    // quotient lands within a level or two of it for any K of a grid, and the 128-bit division
    // is only the fallback.
    const std::int64_t step = lattice.step;
    const __int128 target = __int128(k) * Lattice::kOne - lattice.offset + step / 2;
    const double estimate = (double(k) * double(Lattice::kOne) - shift) * inverseStep;
    if (std::fabs(estimate) < double(kMaxGridInteger)) {
        std::int64_t level = std::int64_t(estimate);   // rounded toward zero: a level off at most
        for (int tries = 0; tries < 4; ++tries) {
            const __int128 start = __int128(step) * level;
            if (start > target)
                --level;
            else if (start + step <= target)
                ++level;
            else
                return level;
        }
    }
    return floorDivide(target, step);
}

bool divisorLattice(const std::vector<std::int64_t> &integers, Lattice &lattice)
{
    if (integers.empty())
        return false;
    const std::int64_t lowest = *std::min_element(integers.begin(), integers.end());
    std::uint64_t divisor = 0;
    for (std::int64_t k : integers) {
        divisor = std::gcd(divisor, std::uint64_t(k - lowest));
        if (divisor == 1)
            return false;
    }
    if (divisor < 2 || double(divisor) >= kMaxStep)
        return false;
    const std::int64_t step = std::int64_t(divisor);
    const std::int64_t offset = ((lowest % step) + step) % step;
    lattice.step = step * Lattice::kOne;
    lattice.offset = offset * Lattice::kOne;
    return true;
}

bool fractionalLattice(std::vector<std::int64_t> integers, Lattice &lattice)
{
    sortIntegers(integers);
    integers.erase(std::unique(integers.begin(), integers.end()), integers.end());
    if (integers.size() < std::size_t(kMinLevels))
        return false;

    std::vector<std::int64_t> gaps(integers.size() - 1);
    for (std::size_t i = 0; i + 1 < integers.size(); ++i)
        gaps[i] = integers[i + 1] - integers[i];
    std::vector<std::int64_t> sorted = gaps;
    sortIntegers(sorted);
    double s = double(sorted[std::size_t(double(sorted.size()) * kStepQuantile)]);
    if (s < kMinStep)
        return false;

    // Each gap is a whole number of steps; the step is their total over the number of steps.
    const double span = double(integers.back() - integers.front());
    std::vector<std::int64_t> levels(integers.size());
    for (int round = 0; round < kRefinements; ++round) {
        const double perStep = 1 / s;
        std::int64_t steps = 0;
        for (std::size_t i = 0; i < gaps.size(); ++i) {
            steps += std::max<std::int64_t>(1, std::llrint(double(gaps[i]) * perStep));
            levels[i + 1] = steps;
        }
        s = span / double(steps);
    }

    double a;
    if (!fitLine(levels, integers, s, a))
        return false;
    // Once more with every value at its nearest level of the first fit.
    for (std::size_t i = 0; i < integers.size(); ++i)
        levels[i] = std::llrint((double(integers[i]) - a) / s);
    if (!fitLine(levels, integers, s, a) || !toFixedPoint(s, a, lattice))
        return false;
    return misfits(integers, lattice) * kMaxMisfitShare <= integers.size();
}

} // namespace quillmark::detail
