#include "OxChannelModel_p.h"

#include <cmath>

namespace quillmark::detail {
namespace {
// What the estimate charges for a value stored by its bits: an index gap and four bytes.
constexpr std::uint64_t kExceptionBits = 40;
// What a lattice of the stroke's own adds to its model; the page's lattice repeats from stroke
// to stroke, which the compressor all but removes.
constexpr std::uint64_t kOwnLatticeBits = 80;
constexpr std::uint64_t kPageLatticeBits = 8;
// A channel with more values than this share off its grid is tried by its bits as well.
constexpr std::size_t kBitsTrialShare = 8;
constexpr double kBitsPerDecimalDigit = 3.3219;

constexpr std::size_t kDecimalSlots = kMaxDecimalDigits + 2;   // digits 0..15, then "none"
constexpr std::size_t kBinarySlots = kMaxBinaryDigits + 2;

int bitLength(std::uint64_t u)
{
    return 64 - __builtin_clzll(u | 1);
}

std::uint64_t prediction(const std::int64_t *levels, std::size_t i, int order)
{
    const int usable = i < std::size_t(order) ? int(i) : order;
    const auto at = [&](std::size_t back) { return std::uint64_t(levels[i - back]); };
    switch (usable) {
    case 1:
        return at(1);
    case 2:
        return 2 * at(1) - at(2);
    case 3:
        return 3 * at(1) - 3 * at(2) + at(3);
    default:
        return 0;
    }
}

float floatOf(std::uint32_t word)
{
    float v;
    std::memcpy(&v, &word, sizeof v);
    return v;
}

std::uint32_t wordOf(float v)
{
    std::uint32_t w;
    std::memcpy(&w, &v, sizeof w);
    return w;
}

// The grid integer nearest to a value off the grid, so that the levels go on smoothly past it.
bool nearestInteger(float v, Grid grid, std::int64_t &k)
{
    const double scale = grid.kind == GridKind::kDecimal ? std::pow(10.0, grid.digits)
                                                         : std::ldexp(1.0, grid.digits);
    const double scaled = double(v) * scale;
    if (!(std::fabs(scaled) <= double(kMaxGridInteger)))
        return false;
    k = std::llrint(scaled);
    return true;
}

// The integers a channel's model may produce: an int32 for time and for bits, else the grid's.
struct IntegerRange
{
    std::int64_t low, high;

    bool holds(std::int64_t k) const { return k >= low && k <= high; }
};

IntegerRange integerRange(ChannelType type, Grid grid)
{
    if (type == ChannelType::kInteger || grid.kind == GridKind::kBits)
        return {-(std::int64_t(1) << 31), (std::int64_t(1) << 31) - 1};
    return {-kMaxGridInteger, kMaxGridInteger};
}

// The integer of level k, when it lies in range.
bool levelInteger(std::int64_t k, const Lattice *lattice, IntegerRange range, std::int64_t &integer)
{
    integer = k;
    if (lattice && !lattice->value(k, kMaxGridInteger, integer))
        return false;
    return range.holds(integer);
}
} // namespace

bool validModel(const ChannelModel &model, ChannelType type)
{
    if (!model.grid.valid() || model.order > kMaxOrder)
        return false;
    if (type == ChannelType::kInteger && model.grid != Grid{})
        return false;
    return !model.hasLattice || model.lattice.valid();
}

void ChannelEncoder::gridHistograms(const Column &stroke)
{
    int hint = 0;
    for (std::size_t i = 0; i < stroke.count; ++i) {
        const float v = floatOf(stroke.word(i));
        const int d = decimalDigits(v, hint);
        const int e = binaryDigits(v);
        ++decimalCount[d == kNoDigits ? kDecimalSlots - 1 : std::size_t(d)];
        ++binaryCount[e == kNoDigits ? kBinarySlots - 1 : std::size_t(e)];
        if (d != kNoDigits)
            hint = d;
    }
}

// The grid of either kind whose finer digits and exceptions together cost the least.
Grid ChannelEncoder::cheapestGrid(std::size_t count, std::size_t &misfits) const
{
    Grid best;
    double bestBits = INFINITY;
    const auto tryKind = [&](GridKind kind, const std::vector<std::uint32_t> &counts,
                             double bitsPerDigit) {
        std::size_t fitting = 0;
        for (std::size_t d = 0; d + 1 < counts.size(); ++d) {
            fitting += counts[d];
            const double bits = double(count - fitting) * kExceptionBits +
                                double(count) * double(d) * bitsPerDigit;
            if (bits < bestBits) {
                bestBits = bits;
                best = Grid{kind, std::uint8_t(d)};
                misfits = count - fitting;
            }
        }
    };
    tryKind(GridKind::kDecimal, decimalCount, kBitsPerDecimalDigit);
    tryKind(GridKind::kBinary, binaryCount, 1);
    return best;
}

void ChannelEncoder::surveyPage(const std::vector<Column> &strokes)
{
    pageHasLattice = false;
    pageGrid = Grid{};
    std::size_t total = 0, misfits = 0;
    for (const Column &stroke : strokes)
        total += stroke.count;
    if (type == ChannelType::kFloat) {
        decimalCount.assign(kDecimalSlots, 0);
        binaryCount.assign(kBinarySlots, 0);
        for (const Column &stroke : strokes)
            gridHistograms(stroke);
        pageGrid = cheapestGrid(total, misfits);
    }
    std::vector<std::int64_t> all;
    all.reserve(total);
    for (const Column &stroke : strokes) {
        levels(stroke, pageGrid, nullptr);
        all.insert(all.end(), integers.begin(), integers.end());
    }
    pageHasLattice = fractionalLattice(std::move(all), pageLattice);
}

std::uint64_t ChannelEncoder::levels(const Column &stroke, Grid grid, const Lattice *lattice)
{
    const IntegerRange range = integerRange(type, grid);
    integers.clear();
    exceptionIndices.clear();
    levelScratch.resize(stroke.count);
    std::int64_t previous = 0;
    for (std::size_t i = 0; i < stroke.count; ++i) {
        const std::uint32_t w = stroke.word(i);
        std::int64_t integer = 0;
        bool exact = true, near = true;
        if (type == ChannelType::kInteger)
            integer = std::int32_t(w);
        else if (!gridInteger(floatOf(w), grid, integer))
            exact = false, near = nearestInteger(floatOf(w), grid, integer);
        if (exact)
            integers.push_back(integer);
        std::int64_t k = near && lattice ? lattice->level(integer) : integer, back;
        // A level that does not give the value back makes it an exception; one that gives
        // nothing a reader accepts (from a NaN, an infinity, the edge of the range) is replaced by
        // the level before it.
        if (!near || !levelInteger(k, lattice, range, back)) {
            k = previous;
            exact = false;
        } else if (back != integer) {
            exact = false;
        }
        if (!exact)
            exceptionIndices.push_back(i);
        levelScratch[i] = k;
        previous = k;
    }
    return exceptionIndices.size();
}

void ChannelEncoder::consider(const Column &stroke, Grid grid, const Lattice *lattice,
                              Estimate &best)
{
    const std::uint64_t exceptions = levels(stroke, grid, lattice);
    std::uint64_t bits[kMaxOrder + 1] = {};
    const std::int64_t *k = levelScratch.data();
    for (std::size_t i = 0; i < stroke.count; ++i)
        for (int order = 0; order <= kMaxOrder; ++order)
            bits[order] += bitLength(zigzag(std::int64_t(std::uint64_t(k[i]) - prediction(k, i, order))));
    std::uint64_t extra = exceptions * kExceptionBits;
    if (lattice)
        extra += *lattice == pageLattice && pageHasLattice ? kPageLatticeBits : kOwnLatticeBits;
    for (int order = 0; order <= kMaxOrder; ++order) {
        if (bits[order] + extra >= best.bits)
            continue;
        best.bits = bits[order] + extra;
        best.model.grid = grid;
        best.model.hasLattice = lattice != nullptr;
        best.model.lattice = lattice ? *lattice : Lattice();
        best.model.order = std::uint8_t(order);
        best.model.exceptions = exceptions;
    }
}

ChannelModel ChannelEncoder::choose(const Column &stroke)
{
    Estimate best;
    Grid grid;
    std::size_t misfits = 0;
    if (type == ChannelType::kFloat) {
        decimalCount.assign(kDecimalSlots, 0);
        binaryCount.assign(kBinarySlots, 0);
        gridHistograms(stroke);
        grid = cheapestGrid(stroke.count, misfits);
    }
    consider(stroke, grid, nullptr, best);
    Lattice divisor;
    if (divisorLattice(integers, divisor))
        consider(stroke, grid, &divisor, best);
    if (pageHasLattice)
        consider(stroke, pageGrid, &pageLattice, best);
    if (type == ChannelType::kFloat && misfits * kBitsTrialShare > stroke.count)
        consider(stroke, Grid{GridKind::kBits, 0}, nullptr, best);
    return best.model;
}

void ChannelEncoder::write(const Column &stroke, const ChannelModel &model, ByteWriter &residuals,
                           ByteWriter &exceptions)
{
    levels(stroke, model.grid, model.hasLattice ? &model.lattice : nullptr);
    const std::int64_t *k = levelScratch.data();
    for (std::size_t i = 0; i < stroke.count; ++i)
        residuals.varint(zigzag(std::int64_t(std::uint64_t(k[i]) - prediction(k, i, model.order))));
    std::size_t next = 0;
    for (std::size_t index : exceptionIndices) {
        exceptions.varint(index - next);
        exceptions.u32(stroke.word(index));
        next = index + 1;
    }
}

const char *readChannel(ByteReader &residuals, ByteReader &exceptions, const ChannelModel &model,
                        ChannelType type, const Column &column)
{
    const IntegerRange range = integerRange(type, model.grid);
    const Lattice *lattice = model.hasLattice ? &model.lattice : nullptr;
    std::int64_t k[kMaxOrder + 1] = {};   // k[1] the level before, k[2] the one before that, ...
    for (std::size_t i = 0; i < column.count; ++i) {
        const std::uint64_t residual = residuals.varint();
        const int order = i < model.order ? int(i) : model.order;
        std::uint64_t predicted = 0;
        switch (order) {
        case 1: predicted = std::uint64_t(k[1]); break;
        case 2: predicted = 2 * std::uint64_t(k[1]) - std::uint64_t(k[2]); break;
        case 3: predicted = 3 * std::uint64_t(k[1]) - 3 * std::uint64_t(k[2]) + std::uint64_t(k[3]); break;
        default: break;
        }
        const std::int64_t level = std::int64_t(predicted + std::uint64_t(unzigzag(residual)));
        std::int64_t integer;
        if (!levelInteger(level, lattice, range, integer))
            return residuals.ok() ? "a value lies outside the range of its grid"
                                  : "the stream ends inside a number";
        if (type == ChannelType::kInteger)
            column.setWord(i, std::uint32_t(std::int32_t(integer)));
        else
            column.setWord(i, wordOf(gridValue(integer, model.grid)));
        k[3] = k[2];
        k[2] = k[1];
        k[1] = level;
    }
    if (!residuals.ok())
        return "the stream ends inside a number";
    std::size_t next = 0;
    for (std::uint64_t e = 0; e < model.exceptions; ++e) {
        const std::uint64_t gap = exceptions.varint();
        const std::uint32_t word = exceptions.u32();
        if (!exceptions.ok())
            return "the exception stream ends early";
        if (gap >= column.count - next)
            return "an exception lies past the stroke's last sample";
        column.setWord(next + gap, word);
        next += gap + 1;
    }
    return nullptr;
}

} // namespace quillmark::detail
