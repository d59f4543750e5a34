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
constexpr int kRefinements = 6;

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

std::size_t misfits(const std::vector<std::int64_t> &integers, const Lattice &lattice)
{
    std::size_t count = 0;
    std::int64_t k;
    for (std::int64_t integer : integers)
        if (!lattice.value(lattice.level(integer), kMaxGridInteger, k) || k != integer)
            ++count;
    return count;
}
} // namespace

std::int64_t Lattice::level(std::int64_t k) const
{
    const __int128 numerator = (__int128(k) << kFractionBits) - offset + step / 2;
    return floorDivide(numerator, step);
}

bool divisorLattice(const std::vector<std::int64_t> &integers, Lattice &lattice)
{
    if (integers.empty())
        return false;
    const std::int64_t lowest = *std::min_element(integers.begin(), integers.end());
    std::uint64_t divisor = 0;
    for (std::int64_t k : integers)
        divisor = std::gcd(divisor, std::uint64_t(k - lowest));
    if (divisor < 2 || double(divisor) >= kMaxStep)
        return false;
    const std::int64_t step = std::int64_t(divisor);
    const std::int64_t offset = ((lowest % step) + step) % step;
    lattice.step = step << Lattice::kFractionBits;
    lattice.offset = offset << Lattice::kFractionBits;
    return true;
}

bool fractionalLattice(std::vector<std::int64_t> integers, Lattice &lattice)
{
    std::sort(integers.begin(), integers.end());
    integers.erase(std::unique(integers.begin(), integers.end()), integers.end());
    if (integers.size() < std::size_t(kMinLevels))
        return false;

    std::vector<double> gaps(integers.size() - 1);
    for (std::size_t i = 0; i + 1 < integers.size(); ++i)
        gaps[i] = double(integers[i + 1] - integers[i]);
    std::vector<double> sorted = gaps;
    const auto quantile = sorted.begin() + std::ptrdiff_t(double(sorted.size()) * kStepQuantile);
    std::nth_element(sorted.begin(), quantile, sorted.end());
    double s = *quantile;
    if (s < kMinStep)
        return false;

    // Each gap is a whole number of steps; the step is their total over the number of steps.
    const double span = double(integers.back() - integers.front());
    std::vector<std::int64_t> levels(integers.size());
    for (int round = 0; round < kRefinements; ++round) {
        double steps = 0;
        for (std::size_t i = 0; i < gaps.size(); ++i) {
            const double n = std::max(1.0, std::nearbyint(gaps[i] / s));
            steps += n;
            levels[i + 1] = levels[i] + std::int64_t(n);
        }
        s = span / steps;
    }

    double a;
    if (!fitLine(levels, integers, s, a) || !toFixedPoint(s, a, lattice))
        return false;
    // Once more with every value at its nearest level of the first fit.
    for (std::size_t i = 0; i < integers.size(); ++i)
        levels[i] = lattice.level(integers[i]);
    if (!fitLine(levels, integers, s, a) || !toFixedPoint(s, a, lattice))
        return false;
    return misfits(integers, lattice) * kMaxMisfitShare <= integers.size();
}

} // namespace quillmark::detail
