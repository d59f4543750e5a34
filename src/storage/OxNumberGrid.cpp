#include "OxNumberGrid_p.h"

#include <cmath>
#include <cstring>

namespace quillmark::detail {
namespace {
constexpr double kPowersOfTen[kMaxDecimalDigits + 1] = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// 2^-e and 2^e for e = 0 .. 60, exact.
struct PowersOfTwo
{
    double up[kMaxBinaryDigits + 1], down[kMaxBinaryDigits + 1];

    PowersOfTwo()
    {
        for (int e = 0; e <= kMaxBinaryDigits; ++e) {
            up[e] = std::ldexp(1.0, e);
            down[e] = std::ldexp(1.0, -e);
        }
    }
};
const PowersOfTwo kPowersOfTwo;

bool sameBits(float a, float b)
{
    return wordOf(a) == wordOf(b);
}

// The gap between finite v and the next float away from zero, 2^(exponent - 23), built as a
// double from v's exponent bits.
double floatSpacing(float v)
{
    const std::uint32_t biased = (wordOf(v) >> 23) & 0xff;
    const std::uint64_t exponent = std::uint64_t((biased ? biased : 1) - 150 + 1023) << 52;
    double spacing;
    std::memcpy(&spacing, &exponent, sizeof spacing);
    return spacing;
}

// K as the nearest integer to v scaled, when that is exact and in range.
bool scaledInteger(float v, double scale, std::int64_t &k)
{
    const double scaled = double(v) * scale;
    if (!(std::fabs(scaled) <= double(kMaxGridInteger)))
        return false;
    k = std::llrint(scaled);
    return true;
}
} // namespace

bool Grid::valid() const
{
    switch (kind) {
    case GridKind::kDecimal:
        return digits <= kMaxDecimalDigits;
    case GridKind::kBinary:
        return digits <= kMaxBinaryDigits;
    case GridKind::kBits:
        return digits == 0;
    }
    return false;
}

std::int64_t orderedBits(float v)
{
    const std::uint32_t bits = wordOf(v);
    if (bits & 0x80000000u)
        return -1 - std::int64_t(bits & 0x7fffffffu);
    return std::int64_t(bits);
}

float fromOrderedBits(std::int64_t k)
{
    if (k < 0)
        return floatOf(0x80000000u | std::uint32_t(-1 - k));
    return floatOf(std::uint32_t(k));
}

bool gridIntegerInRange(std::int64_t k, Grid grid)
{
    if (grid.kind == GridKind::kBits)
        return k >= -(std::int64_t(1) << 31) && k < (std::int64_t(1) << 31);
    return k >= -kMaxGridInteger && k <= kMaxGridInteger;
}

float gridValue(std::int64_t k, Grid grid)
{
    switch (grid.kind) {
    case GridKind::kDecimal:
        return float(double(k) / kPowersOfTen[grid.digits]);
    case GridKind::kBinary:
        return float(double(k) * kPowersOfTwo.down[grid.digits]);
    case GridKind::kBits:
        return fromOrderedBits(k);
    }
    return 0;
}

double gridScale(Grid grid)
{
    return grid.kind == GridKind::kDecimal ? kPowersOfTen[grid.digits] : kPowersOfTwo.up[grid.digits];
}

bool nearestGridInteger(float v, Grid grid, std::int64_t &k)
{
    return grid.kind != GridKind::kBits && scaledInteger(v, gridScale(grid), k);
}

bool gridInteger(float v, Grid grid, std::int64_t &k)
{
    if (grid.kind == GridKind::kBits) {
        k = orderedBits(v);
        return true;
    }
    return scaledInteger(v, gridScale(grid), k) && sameBits(gridValue(k, grid), v);
}

int decimalDigits(float v, int hint, std::int64_t &k)
{
    // Within the range of K a value on a grid is on every finer one, so the fewest digits are
    // where fitting starts; the search starts at hint (the previous value's digits, usually the
    // same).
    auto inRange = [&](int d) { return std::fabs(double(v) * kPowersOfTen[d]) <= double(kMaxGridInteger); };
    auto fits = [&](int d) {
        std::int64_t integer;
        if (!gridInteger(v, Grid{GridKind::kDecimal, std::uint8_t(d)}, integer))
            return false;
        k = integer;
        return true;
    };
    int d = hint < 0 || hint > kMaxDecimalDigits ? 0 : hint;
    if (fits(d)) {
        // K ending in 0 is the same number with a digit fewer. K not ending in 0, while floats
        // near v are closer together than the grid, is the only integer of the grid for v, so
        // no coarser grid holds v.
        const double spacing = floatSpacing(v);
        while (d > 0) {
            if (k % 10 == 0) {
                k /= 10;
                --d;
            } else if (spacing * kPowersOfTen[d] < 0.5 || !fits(d - 1)) {
                break;
            } else {
                --d;
            }
        }
        return d;
    }
    for (d = inRange(d) ? d + 1 : 0; d <= kMaxDecimalDigits && inRange(d); ++d)
        if (fits(d))
            return d;
    return kNoDigits;
}

int binaryDigits(float v, std::int64_t &k)
{
    const std::uint32_t bits = wordOf(v);
    const int biased = int((bits >> 23) & 0xff);
    if (biased == 0xff || bits == 0x80000000u)   // infinities, NaNs, -0
        return kNoDigits;
    // v = mantissa * 2^(power), the mantissa an integer of at most 24 bits.
    std::uint32_t mantissa = bits & 0x7fffffu;
    int power = -149;
    if (biased != 0) {
        mantissa |= 0x800000u;
        power = biased - 150;
    }
    if (mantissa == 0) {
        k = 0;
        return 0;
    }
    power += __builtin_ctz(mantissa);
    const int digits = power < 0 ? -power : 0;
    if (digits > kMaxBinaryDigits)
        return kNoDigits;
    const double scaled = double(v) * kPowersOfTwo.up[digits];
    if (std::fabs(scaled) > double(kMaxGridInteger))
        return kNoDigits;
    k = std::int64_t(scaled);
    return digits;
}

bool finerInteger(std::int64_t k, int digits, Grid grid, std::int64_t &finer)
{
    finer = k;
    for (int d = digits; d < grid.digits; ++d) {
        finer *= grid.kind == GridKind::kDecimal ? 10 : 2;
        if (finer > kMaxGridInteger || finer < -kMaxGridInteger)
            return false;
    }
    return true;
}

} // namespace quillmark::detail
