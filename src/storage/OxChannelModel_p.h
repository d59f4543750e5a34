#ifndef OXCHANNELMODEL_P_H
#define OXCHANNELMODEL_P_H

// One channel (x, y, time or pressure) of one stroke as integers that the compressor takes well.
// Each value becomes an integer K on the channel's grid (OxNumberGrid_p.h), K a level k on an
// optional lattice (OxLattice_p.h), and k is stored as its difference from a prediction out of
// the levels before it:
//
//   order 0: 0      order 1: k1      order 2: 2 k1 - k2      order 3: 3 k1 - 3 k2 + k3
//
// (k1 the level before, k2 the one before that; a sample with fewer predecessors uses the
// highest order they allow). Levels and predictions wrap around modulo 2^64. The differences go
// to the channel's residual stream as zigzag LEB128 numbers. A value the model cannot reproduce
// exactly (off the grid or the lattice, -0, a NaN) is an exception: its level is still coded,
// so that the predictions go on, and its 32 bits are stored in the exception stream, where they
// replace what the level gives.

#include "OxByteStream_p.h"
#include "OxLattice_p.h"
#include "OxNumberGrid_p.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace quillmark::detail {

constexpr int kMaxOrder = 3;

// Floats for positions and pressure, an int32 for time.
enum class ChannelType { kFloat, kInteger };

struct ChannelModel
{
    Grid grid;
    bool hasLattice = false;
    Lattice lattice;
    std::uint8_t order = 1;
    std::uint64_t exceptions = 0;   // how many values are stored by their bits
};

// One channel of a stroke's samples: 32-bit words (a float's bits or an int) in an array of
// structs.
struct Column
{
    std::uint8_t *base = nullptr;
    std::size_t stride = 0;
    std::size_t count = 0;

    std::uint32_t word(std::size_t i) const
    {
        std::uint32_t w;
        std::memcpy(&w, base + i * stride, sizeof w);
        return w;
    }
    void setWord(std::size_t i, std::uint32_t w) const { std::memcpy(base + i * stride, &w, sizeof w); }
};

// Chooses and writes the models of one channel for every stroke of a page.
//   1. surveyPage() with the channel of every stroke: the digits of every value, each stroke's
//      cheapest grid, and a lattice for the strokes of each grid, which tells more about a
//      device than one short stroke does.
//   2. Per stroke, by its index in the survey, encode(): writes the stroke's values in the model
//      that codes them in the fewest bits by estimate (the stroke's own grid, a common divisor,
//      the page's lattice, or the bits) and returns that model.
class ChannelEncoder
{
public:
    explicit ChannelEncoder(ChannelType type) : type(type) {}

    void surveyPage(const std::vector<Column> &strokes);
    ChannelModel encode(std::size_t stroke, ByteWriter &residuals, ByteWriter &exceptions);

private:
    // What a value is on a grid: on it, off it but near an integer of it, or neither.
    enum class Fit : std::uint8_t { kExact, kNear, kNone };
    // A model, its estimated bits, and the levels and exceptions it makes of the stroke.
    struct Candidate
    {
        std::uint64_t bits = ~std::uint64_t(0);
        ChannelModel model;
        std::vector<std::int64_t> levels;
        std::vector<std::size_t> exceptionIndices;
    };

    void countDigits(std::size_t first, std::size_t last);
    Grid cheapestGrid(std::size_t count, std::size_t &misfits) const;
    void integersOn(std::size_t stroke, Grid grid);
    void levelsOn(const Lattice *lattice, Candidate &out);
    void consider(std::size_t stroke, Grid grid, const Lattice *lattice);

    ChannelType type;
    std::vector<Column> columns;
    std::vector<std::size_t> firstValue;          // of each stroke in the arrays below
    // Each value's fewest digits of each kind (or kNoDigits), and its decimal grid integer
    // there (the binary one is the value times a power of two).
    std::vector<std::int8_t> decimals, binaries;
    std::vector<std::int64_t> decimalIntegers;
    // Each stroke's cheapest grid and how many of its values it leaves off; the lattices found
    // over the strokes of one grid.
    struct PageLattice
    {
        Grid grid;
        Lattice lattice;
    };
    std::vector<Grid> strokeGrids;
    std::vector<std::size_t> strokeMisfits;
    std::vector<PageLattice> pageLattices;
    bool pageLattice(const Lattice &lattice) const
    {
        for (const PageLattice &page : pageLattices) {
            if (page.lattice == lattice)
                return true;
        }
        return false;
    }

    // Scratch, kept between strokes: the grid integers of integersStroke on integersGrid, the
    // candidate being weighed and the best one so far.
    std::vector<std::uint32_t> decimalCount, binaryCount;
    std::size_t integersStroke = ~std::size_t(0);
    Grid integersGrid;
    std::vector<std::int64_t> integers, exactIntegers;
    std::vector<Fit> fits;
    Candidate trial, best;
};

// A model as the meta of a stroke (or of eraser positions) holds it: u8 grid kind, u8 grid
// digits, u8 order (bits 0-1) and lattice (bit 2), [varint lattice step, varint lattice offset],
// varint exception count. A model read with unknown flags is not valid (validModel()).
void writeModel(ByteWriter &meta, const ChannelModel &model);
ChannelModel readModel(ByteReader &meta);

// Reads count values of one stroke's channel into column. Returns nullptr, or what is wrong; on
// failure the column holds partial values.
const char *readChannel(ByteReader &residuals, ByteReader &exceptions, const ChannelModel &model,
                        ChannelType type, const Column &column);

// Whether a model read from a file can be decoded: a known grid (decimal 0 for time), a valid
// lattice, an order up to kMaxOrder.
bool validModel(const ChannelModel &model, ChannelType type);

} // namespace quillmark::detail

#endif
