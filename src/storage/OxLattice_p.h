#ifndef OXLATTICE_P_H
#define OXLATTICE_P_H

// Equally spaced levels among a channel's grid integers. A tablet reports whole device units
// that the host scales to drawing units, and a pen whole pressure levels divided by the highest:
// written with three or six decimals they are grid integers K = round(a + s k), k a whole number
// of device steps, and coding k instead of K saves the bits of the step s. Also an exact common
// divisor: times stamped every 8 ms, positions on whole pixels of a two-decimal grid.
//
// The step and the offset are fixed point with 32 fractional bits, so that every reader computes
// the same K:
//
//     K = floor((offset + step * k + 2^31) / 2^32)     in 128-bit integer arithmetic
//
// with 2^32 <= step < 2^63, k any 64-bit integer, (levels at least one grid unit apart) and 0 <= offset < step.

#include <cstdint>
#include <vector>

namespace quillmark::detail {

struct Lattice
{
    static constexpr int kFractionBits = 32;
    static constexpr std::int64_t kOne = std::int64_t(1) << kFractionBits;

    std::int64_t step = kOne;
    std::int64_t offset = 0;

    bool valid() const { return step >= kOne && offset >= 0 && offset < step; }
    bool operator==(const Lattice &o) const { return step == o.step && offset == o.offset; }

    // K of level k, when |K| <= limit (any k: the product cannot overflow 128 bits).
    bool value(std::int64_t k, std::int64_t limit, std::int64_t &out) const
    {
        const __int128 scaled = __int128(offset) + __int128(step) * k + (__int128(1) << 31);
        const __int128 floored = scaled >> kFractionBits;   // arithmetic: rounds down
        if (floored < -__int128(limit) || floored > __int128(limit))
            return false;
        out = std::int64_t(floored);
        return true;
    }
    // The level nearest to K; value(level(K)) == K when K is on the lattice.
    std::int64_t level(std::int64_t k) const;
};

// level() for many integers of one lattice, with the division turned into a multiplication.
class LevelFinder
{
public:
    explicit LevelFinder(const Lattice &lattice);
    std::int64_t operator()(std::int64_t k) const;

private:
    Lattice lattice;
    double inverseStep, shift;
};

// The exact common divisor of the integers' differences, as a lattice, when it is 2 or more.
bool divisorLattice(const std::vector<std::int64_t> &integers, Lattice &lattice);

constexpr int kMinLevels = 8;          // fewer distinct values say too little about a step
constexpr int kMaxMisfitShare = 16;    // at most one distinct value in 16 off the lattice

// A step with a fraction (125.39 grid units a device unit), estimated from the gaps between the
// distinct sorted integers, when at least kMinLevels of them lie within a rounding of it and at
// most one in kMaxMisfitShare does not. Takes the integers by value: sorts them.
bool fractionalLattice(std::vector<std::int64_t> integers, Lattice &lattice);

} // namespace quillmark::detail

#endif
