#include "OxChannelModel_p.h"

#include <algorithm>
#include <cmath>

namespace quillmark::detail {
namespace {
constexpr std::uint8_t kOrderBits = 0x03;
constexpr std::uint8_t kLatticeBit = 0x04;

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

// The prediction of a level from the ones before it (k1 the last), modulo 2^64, by an order
// that the levels before allow.
std::uint64_t predictLevel(int order, std::uint64_t k1, std::uint64_t k2, std::uint64_t k3)
{
    switch (order) {
    case 1:
        return k1;
    case 2:
        return 2 * k1 - k2;
    case 3:
        return 3 * k1 - 3 * k2 + k3;
    default:
        return 0;
    }
}

// The order sample i can use: no more levels than there are before it.
int usableOrder(int order, std::size_t i)
{
    return i < std::size_t(order) ? int(i) : order;
}

std::uint64_t prediction(const std::int64_t *levels, std::size_t i, int order)
{
    const auto at = [&](std::size_t back) { return i >= back ? std::uint64_t(levels[i - back]) : 0; };
    return predictLevel(usableOrder(order, i), at(1), at(2), at(3));
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

void ChannelEncoder::countDigits(std::size_t first, std::size_t last)
{
    decimalCount.assign(kDecimalSlots, 0);
    binaryCount.assign(kBinarySlots, 0);
    for (std::size_t i = first; i < last; ++i) {
        ++decimalCount[decimals[i] == kNoDigits ? kDecimalSlots - 1 : std::size_t(decimals[i])];
        ++binaryCount[binaries[i] == kNoDigits ? kBinarySlots - 1 : std::size_t(binaries[i])];
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
    columns = strokes;
    firstValue.assign(1, 0);
    for (const Column &stroke : strokes)
        firstValue.push_back(firstValue.back() + stroke.count);
    const std::size_t total = firstValue.back();
    integersStroke = ~std::size_t(0);
    strokeGrids.assign(strokes.size(), Grid{});
    strokeMisfits.assign(strokes.size(), 0);
    pageLattices.clear();
    // Times: a common divisor per stroke is enough (the compressor takes the repeating steps of
    // a fractional period, such as 4, 4, 4, 5 ms at 240 Hz, nearly for free).
    if (type == ChannelType::kInteger)
        return;
    decimals.resize(total);
    binaries.resize(total);
    decimalIntegers.resize(total);
    std::size_t at = 0;
    std::int64_t unused;
    for (std::size_t s = 0; s < strokes.size(); ++s) {
        int hint = 0;
        for (std::size_t i = 0; i < strokes[s].count; ++i, ++at) {
            const float v = floatOf(strokes[s].word(i));
            decimals[at] = std::int8_t(decimalDigits(v, hint, decimalIntegers[at]));
            binaries[at] = std::int8_t(binaryDigits(v, unused));
            if (decimals[at] != kNoDigits)
                hint = decimals[at];
        }
        countDigits(firstValue[s], firstValue[s + 1]);
        strokeGrids[s] = cheapestGrid(strokes[s].count, strokeMisfits[s]);
    }
    // A lattice for the strokes of each grid: a device's units show over many strokes, and
    // strokes of another device on the page, whose numbers have other digits, do not hide them.
    std::vector<Grid> grids = strokeGrids;
    std::sort(grids.begin(), grids.end());
    grids.erase(std::unique(grids.begin(), grids.end()), grids.end());
    for (const Grid grid : grids) {
        std::vector<std::int64_t> all;
        for (std::size_t s = 0; s < strokes.size(); ++s) {
            if (strokeGrids[s] != grid)
                continue;
            integersOn(s, grid);
            all.insert(all.end(), exactIntegers.begin(), exactIntegers.end());
        }
        PageLattice page{grid, Lattice()};
        if (fractionalLattice(std::move(all), page.lattice))
            pageLattices.push_back(page);
    }
}

void ChannelEncoder::integersOn(std::size_t stroke, Grid grid)
{
    if (stroke == integersStroke && grid == integersGrid)
        return;
    integersStroke = stroke;
    integersGrid = grid;
    const Column &column = columns[stroke];
    const std::size_t first = firstValue[stroke];
    integers.resize(column.count);
    fits.resize(column.count);
    exactIntegers.clear();
    for (std::size_t i = 0; i < column.count; ++i) {
        const std::uint32_t w = column.word(i);
        Fit fit = Fit::kExact;
        if (type == ChannelType::kInteger) {
            integers[i] = std::int32_t(w);
        } else if (grid.kind == GridKind::kBits) {
            integers[i] = orderedBits(floatOf(w));
        } else {
            // On a grid exactly when on its kind's grid of the value's fewest digits or fewer.
            const bool decimal = grid.kind == GridKind::kDecimal;
            const int digits = (decimal ? decimals : binaries)[first + i];
            const bool on = digits != kNoDigits && digits <= grid.digits &&
                            (decimal ? finerInteger(decimalIntegers[first + i], digits, grid, integers[i])
                                     : nearestGridInteger(floatOf(w), grid, integers[i]));
            if (!on)
                fit = nearestGridInteger(floatOf(w), grid, integers[i]) ? Fit::kNear : Fit::kNone;
        }
        if (fit == Fit::kExact)
            exactIntegers.push_back(integers[i]);
        fits[i] = fit;
    }
}

void ChannelEncoder::levelsOn(const Lattice *lattice, Candidate &out)
{
    const IntegerRange range = integerRange(type, integersGrid);
    out.exceptionIndices.clear();
    out.levels.resize(integers.size());
    const LevelFinder level(lattice ? *lattice : Lattice());
    std::int64_t previous = 0;
    for (std::size_t i = 0; i < integers.size(); ++i) {
        std::int64_t k = lattice && fits[i] != Fit::kNone ? level(integers[i]) : integers[i];
        std::int64_t back;
        // A level that does not give the value back makes it an exception; one that gives
        // nothing a reader accepts (from a NaN, an infinity, the edge of the range) is replaced by
        // the level before it.
        if (fits[i] == Fit::kNone || !levelInteger(k, lattice, range, back)) {
            k = previous;
            out.exceptionIndices.push_back(i);
        } else if (fits[i] != Fit::kExact || back != integers[i]) {
            out.exceptionIndices.push_back(i);
        }
        out.levels[i] = k;
        previous = k;
    }
}

void ChannelEncoder::consider(std::size_t stroke, Grid grid, const Lattice *lattice)
{
    integersOn(stroke, grid);
    levelsOn(lattice, trial);
    std::uint64_t bits[kMaxOrder + 1] = {};
    const std::int64_t *k = trial.levels.data();
    const auto charge = [&](int order, std::uint64_t residual) {
        bits[order] += bitLength(zigzag(std::int64_t(residual)));
    };
    const std::size_t count = trial.levels.size();
    const std::size_t head = std::min<std::size_t>(kMaxOrder, count);
    for (std::size_t i = 0; i < head; ++i)
        for (int order = 0; order <= kMaxOrder; ++order)
            charge(order, std::uint64_t(k[i]) - prediction(k, i, order));
    // Past the first levels every order applies as it is.
    for (std::size_t i = head; i < count; ++i) {
        const std::uint64_t a = std::uint64_t(k[i - 1]), b = std::uint64_t(k[i - 2]),
                            c = std::uint64_t(k[i - 3]);
        for (int order = 0; order <= kMaxOrder; ++order)
            charge(order, std::uint64_t(k[i]) - predictLevel(order, a, b, c));
    }
    std::uint64_t extra = trial.exceptionIndices.size() * kExceptionBits;
    if (lattice)
        extra += pageLattice(*lattice) ? kPageLatticeBits : kOwnLatticeBits;
    const int order = int(std::min_element(bits, bits + kMaxOrder + 1) - bits);
    if (bits[order] + extra >= best.bits)
        return;
    trial.bits = bits[order] + extra;
    trial.model.grid = grid;
    trial.model.hasLattice = lattice != nullptr;
    trial.model.lattice = lattice ? *lattice : Lattice();
    trial.model.order = std::uint8_t(order);
    trial.model.exceptions = trial.exceptionIndices.size();
    std::swap(trial, best);
}

ChannelModel ChannelEncoder::encode(std::size_t stroke, ByteWriter &residuals, ByteWriter &exceptions)
{
    best.bits = ~std::uint64_t(0);
    const Grid grid = strokeGrids[stroke];
    const std::size_t misfits = strokeMisfits[stroke];
    consider(stroke, grid, nullptr);
    Lattice divisor;
    if (divisorLattice(exactIntegers, divisor))
        consider(stroke, grid, &divisor);
    // The lattices of the strokes of this grid and of finer ones (a short stroke may show
    // fewer digits than its device has).
    for (const PageLattice &page : pageLattices) {
        if (page.grid.kind == grid.kind && page.grid.digits >= grid.digits)
            consider(stroke, page.grid, &page.lattice);
    }
    if (type == ChannelType::kFloat && misfits * kBitsTrialShare > columns[stroke].count)
        consider(stroke, Grid{GridKind::kBits, 0}, nullptr);

    const std::int64_t *k = best.levels.data();
    for (std::size_t i = 0; i < best.levels.size(); ++i)
        residuals.varint(zigzag(std::int64_t(std::uint64_t(k[i]) - prediction(k, i, best.model.order))));
    std::size_t next = 0;
    for (std::size_t index : best.exceptionIndices) {
        exceptions.varint(index - next);
        exceptions.u32(columns[stroke].word(index));
        next = index + 1;
    }
    return best.model;
}

void writeModel(ByteWriter &meta, const ChannelModel &model)
{
    meta.u8(std::uint8_t(model.grid.kind));
    meta.u8(model.grid.digits);
    meta.u8(std::uint8_t(model.order | (model.hasLattice ? kLatticeBit : 0)));
    if (model.hasLattice) {
        meta.varint(std::uint64_t(model.lattice.step));
        meta.varint(std::uint64_t(model.lattice.offset));
    }
    meta.varint(model.exceptions);
}

ChannelModel readModel(ByteReader &meta)
{
    ChannelModel model;
    model.grid.kind = GridKind(meta.u8());
    model.grid.digits = meta.u8();
    const std::uint8_t flags = meta.u8();
    model.order = flags & kOrderBits;
    model.hasLattice = (flags & kLatticeBit) != 0;
    if (flags & ~(kOrderBits | kLatticeBit))
        model.order = kMaxOrder + 1;   // unknown flags: not a valid model
    if (model.hasLattice) {
        const std::uint64_t step = meta.varint();
        const std::uint64_t offset = meta.varint();
        model.lattice.step = step > std::uint64_t(INT64_MAX) ? 0 : std::int64_t(step);
        model.lattice.offset = offset > std::uint64_t(INT64_MAX) ? -1 : std::int64_t(offset);
    }
    model.exceptions = meta.varint();
    return model;
}

const char *readChannel(ByteReader &residuals, ByteReader &exceptions, const ChannelModel &model,
                        ChannelType type, const Column &column)
{
    const IntegerRange range = integerRange(type, model.grid);
    const Lattice *lattice = model.hasLattice ? &model.lattice : nullptr;
    std::uint64_t k[kMaxOrder + 1] = {};   // k[1] the level before, k[2] the one before that, ...
    for (std::size_t i = 0; i < column.count; ++i) {
        const std::uint64_t predicted = predictLevel(usableOrder(model.order, i), k[1], k[2], k[3]);
        const std::int64_t level = std::int64_t(predicted + std::uint64_t(unzigzag(residuals.varint())));
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
        k[1] = std::uint64_t(level);
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
