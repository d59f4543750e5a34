#ifndef OXNUMBERGRID_P_H
#define OXNUMBERGRID_P_H

// The precision a channel's numbers really have. Positions and pressures arrive as floats, but
// most were decimals (a device or a file with two or three digits after the point) or binary
// fixed point before they became floats; on such a grid each value is an integer K, and small
// integers are what the rest of the stored format is good at. A value the grid does not hold
// exactly is stored apart, by its bits (an exception).
//
//   decimal d:  value = float(double(K) / 10^d)           0 <= d <= 15
//   binary e:   value = float(double(K) * 2^-e)           0 <= e <= 60
//   bits:       value = the float whose bits are ordered(K), any 32-bit pattern
//
// In all three |K| <= 2^53, so double(K) is exact. The time channel is an int already: K is the
// time, on the grid decimal 0.

#include <cstdint>
#include <cstring>

namespace quillmark::detail {

enum class GridKind : std::uint8_t { kDecimal = 0, kBinary = 1, kBits = 2 };

struct Grid
{
    GridKind kind = GridKind::kDecimal;
    std::uint8_t digits = 0;   // d or e

    bool operator==(Grid other) const { return kind == other.kind && digits == other.digits; }
    bool operator!=(Grid other) const { return !(*this == other); }
    bool operator<(Grid other) const
    {
        return kind != other.kind ? kind < other.kind : digits < other.digits;
    }
    bool valid() const;
};

constexpr int kMaxDecimalDigits = 15;        // 10^15 < 2^53: exact in a double
constexpr int kMaxBinaryDigits = 60;
constexpr std::int64_t kMaxGridInteger = std::int64_t(1) << 53;
constexpr int kNoDigits = -1;                // a value no grid of the kind holds

// The fewest digits of each kind at which v lies on the grid, or kNoDigits, and K there. -0,
// infinities and NaNs lie on neither grid. hint: where the decimal search starts (any value is
// correct).
int decimalDigits(float v, int hint, std::int64_t &k);
int binaryDigits(float v, std::int64_t &k);

// K of a value on grid from its K on the coarser grid of fewer digits (of the same kind): the
// same number, so exact. False when it would leave the range of K.
bool finerInteger(std::int64_t k, int digits, Grid grid, std::int64_t &finer);

// K for a value on grid: true when grid holds v exactly (always for bits).
bool gridInteger(float v, Grid grid, std::int64_t &k);
// The K nearest to v on a decimal or binary grid, when it lies in range.
bool nearestGridInteger(float v, Grid grid, std::int64_t &k);
// The value of K on grid, for |K| <= kMaxGridInteger (bits: K within the int32 range).
float gridValue(std::int64_t k, Grid grid);
// Whether K can stand on grid at all.
bool gridIntegerInRange(std::int64_t k, Grid grid);

// A float's 32 bits, and the float of 32 bits: how the format keeps a number to the bit.
inline std::uint32_t wordOf(float v)
{
    std::uint32_t w;
    std::memcpy(&w, &v, sizeof w);
    return w;
}
inline float floatOf(std::uint32_t w)
{
    float v;
    std::memcpy(&v, &w, sizeof v);
    return v;
}

// The float bits as an integer that grows with the value: 0 .. 2^31-1 for +0 .. +NaN, then
// -1 .. -2^31 for -0 .. -NaN.
std::int64_t orderedBits(float v);
float fromOrderedBits(std::int64_t k);

} // namespace quillmark::detail

#endif
