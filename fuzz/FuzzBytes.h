#ifndef QUILLMARK_FUZZBYTES_H
#define QUILLMARK_FUZZBYTES_H

// The byte encoding shared by the fuzz targets (which read it) and the seed writer (which writes
// recorded strokes in it). Every read succeeds: past the end of the input, bytes read as 0.
//
// A number starts with a tag byte whose low two bits choose its form:
//   0  a value from specialValues() (tag / 4 picks it): zeros, NaN, infinities, extremes,
//      denormals, the int boundaries, moderate values
//   1  a moderate value: int16 / 8 (steps of 1/8 within +-4096)
//   2  relative: the reader's previous number of that kind plus int8 / 4 (a pen moving on)
//   3  any float: its four bytes as they stand (NaN payloads and all)

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace fuzzbytes {

enum NumberForm : uint8_t { kSpecial = 0, kModerate = 1, kRelative = 2, kRawBits = 3 };

inline const std::vector<float> &specialValues()
{
    static const std::vector<float> values = {
        0.0f, -0.0f, 1.0f, -1.0f, 0.1f, 0.05f, 0.5f, 2.0f, 6.0f, -6.0f,
        std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::quiet_NaN(),
        std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
        FLT_MAX, -FLT_MAX, FLT_MIN, -FLT_MIN, std::numeric_limits<float>::denorm_min(), 1e-40f,
        1e6f, -1e6f, 1e7f, 1e12f, -1e20f, 1e30f, 2147483648.0f, -2147483904.0f, 16777216.0f,
        100.0f, 300.0f, 1e-7f};
    return values;
}

// Whole numbers (time stamps, int parameters) start with a tag byte too: odd tags pick one of
// these, even ones are followed by the number's four bytes.
inline const std::vector<int32_t> &specialWholeNumbers()
{
    static const std::vector<int32_t> values = {
        0, 1, -1, 10, 1000, std::numeric_limits<int32_t>::max(),
        std::numeric_limits<int32_t>::max() - 9, std::numeric_limits<int32_t>::min(),
        std::numeric_limits<int32_t>::min() + 9, 86399999};
    return values;
}

// What a number channel remembers for the relative form.
enum Channel { kX, kY, kWidth, kTime, kPressure, kOther, kChannelCount };

class Reader
{
public:
    Reader(const uint8_t *data, size_t size) : data(data), size(size) {}

    bool atEnd() const { return pos >= size; }
    uint8_t byte() { return pos < size ? data[pos++] : 0; }
    int16_t int16()
    {
        const uint16_t lo = byte(), hi = byte();
        return int16_t(uint16_t(lo | (hi << 8)));
    }
    int32_t int32()
    {
        const uint32_t lo = uint16_t(int16()), hi = uint16_t(int16());
        return int32_t(lo | (hi << 16));
    }
    int64_t int64()
    {
        const uint64_t lo = uint32_t(int32()), hi = uint32_t(int32());
        return int64_t(lo | (hi << 32));
    }

    int32_t wholeNumber()
    {
        const uint8_t tag = byte();
        if (tag & 1)
            return specialWholeNumbers()[size_t(tag >> 1) % specialWholeNumbers().size()];
        return int32();
    }

    float number(Channel channel)
    {
        const uint8_t tag = byte();
        float v = 0;
        switch (NumberForm(tag & 3)) {
        case kSpecial:
            v = specialValues()[size_t(tag >> 2) % specialValues().size()];
            break;
        case kModerate:
            v = float(int16()) / 8.0f;
            break;
        case kRelative:
            v = last[channel] + float(int8_t(byte())) / 4.0f;
            break;
        case kRawBits: {
            uint32_t bits = uint32_t(int32());
            std::memcpy(&v, &bits, sizeof v);
            break;
        }
        }
        last[channel] = std::isfinite(v) ? v : last[channel];
        return v;
    }

private:
    const uint8_t *data;
    size_t size;
    size_t pos = 0;
    float last[kChannelCount] = {};
};

class Writer
{
public:
    void byte(uint8_t b) { bytes.push_back(b); }
    void int16(int16_t v)
    {
        byte(uint8_t(uint16_t(v) & 0xff));
        byte(uint8_t(uint16_t(v) >> 8));
    }
    void int32(int32_t v)
    {
        int16(int16_t(uint32_t(v) & 0xffff));
        int16(int16_t(uint32_t(v) >> 16));
    }
    void int64(int64_t v)
    {
        int32(int32_t(uint64_t(v) & 0xffffffffu));
        int32(int32_t(uint64_t(v) >> 32));
    }
    void wholeNumber(int32_t v)
    {
        byte(0);
        int32(v);
    }
    // The relative form when the step is small and exact in quarters, else the moderate form
    // (values outside it are clamped: seeds only need to be close to the recording).
    void number(Channel channel, float v)
    {
        const float step = (v - last[channel]) * 4.0f;
        if (std::fabs(step) <= 127 && step == std::floor(step)) {
            byte(kRelative);
            byte(uint8_t(int8_t(step)));
            v = last[channel] + float(int8_t(step)) / 4.0f;
        } else {
            byte(kModerate);
            const int16_t eighths =
                int16_t(std::fmax(-32768.0f, std::fmin(32767.0f, std::round(v * 8.0f))));
            int16(eighths);
            v = float(eighths) / 8.0f;
        }
        last[channel] = v;
    }

    // Value index of specialValues() (a NaN, an infinity, an extreme), as the reader takes it.
    void special(Channel channel, size_t index)
    {
        byte(uint8_t(kSpecial | index << 2));
        const float v = specialValues()[index];
        if (std::isfinite(v))
            last[channel] = v;
    }

    std::vector<uint8_t> bytes;

private:
    float last[kChannelCount] = {};
};

// The engine target: a call is an operation byte, a slot byte and the call's arguments. The
// argument of kNewEngine is a byte that picks the engine by its place in OxEngineKind's table
// (modulo its size), which is its id - 1.
enum EngineOp : uint8_t {
    kNewEngine, kStartCreate, kCreating, kEndCreate, kCreatingOnlyBackward,
    kEndCreateOnlyBackward, kCreatingYuanShi, kCreatingFitted, kLoadFromWholePoints,
    kBuildPathFromXY, kBuildPathFromXYCopying, kCopyEngine, kAssignEngine, kCopyFrom,
    kEngineOpCount
};
// A parameter map is a flags byte, then the values it announces.
enum TimeForm : uint8_t { kNoTime, kIntTime, kInt64Time, kDoubleTime };
enum PressureForm : uint8_t { kNoPressure, kFloatPressure, kDoublePressure, kIntPressure };
inline uint8_t paramFlags(TimeForm time, PressureForm pressure)
{
    return uint8_t(time | (pressure << 2));
}

// The gateway target: an operation byte, a gateway byte and the call's arguments.
enum GatewayOp : uint8_t {
    kSetEnvironmentPara, kFreeStroke, kClearup, kStartSketch, kSketching, kSketching2, kEndSketch,
    kEndSketch2, kEndSketch3, kEndSketch4, kCopyGateway, kAssignGateway,
    kCPenCall, kCStrokeCall,   // the C interface (CFaceCalls.h)
    kGatewayOpCount
};

// The page target: an operation byte and the operation's arguments.
enum PageOp : uint8_t {
    kPageAdd, kPageHit, kPageErase, kPageEraseStrokes, kPageLasso, kPageMove, kPageUndo,
    kPageRedo, kPageBeginGroup, kPageEndGroup, kPageRecordRoundTrip,
    kPageOpCount
};

// The C page target: an operation byte, a page byte (see cpage_calls_fuzzer.cpp) and the call's
// arguments.
enum CPageOp : uint8_t {
    kCPageDraw, kCPageAdd, kCPageKeys, kCPageKeysIn, kCPageColour, kCPagePolygons, kCPageHit,
    kCPageHitSwept, kCPageLasso, kCPageErase, kCPageEraseStrokes, kCPageMove, kCPageUndo,
    kCPageRedo, kCPageBeginGroup, kCPageEndGroup, kCPageToBytes, kCPageFromBytes, kCPageFile,
    kCPageRecreate, kCPageTexts,
    kCPageOpCount
};

// kCPenCall: an operation byte (modulo the count), then the call's arguments.
enum CPenOp : uint8_t {
    kPenCreate, kPenSetEnvironment, kPenFreeStroke, kPenClearup, kPenStart, kPenMove, kPenEnd,
    kPenEndTimed, kPenMoveBatch, kPenEndBatch, kPenEndBatchAccumulated, kCPenOpCount
};

// kCStrokeCall: an operation byte, a stroke byte (one of two), then the call's arguments.
enum CStrokeOp : uint8_t {
    kStrokeCreate, kStrokeDestroy, kStrokeStart, kStrokeAdd, kStrokeEnd, kStrokeEndBatch,
    kStrokeAddBatch, kStrokeAddRaw, kStrokeAddFitted, kStrokeReplay, kStrokePolygons,
    kStrokeParts,
    // Added with the predicted ink, on bytes that no input written before them held.
    kStrokePredict, kStrokePredictSamples, kStrokeOtherReads, kEngineTable,
    kCStrokeOpCount
};

// The first twelve operations once took their byte modulo 12; the inputs kept from that time
// held none of the bytes 12 to 15 at this place. So a byte below kCStrokeOpCount is its own
// operation and any larger one still means its remainder modulo 12: every older input keeps
// meaning the same calls.
inline CStrokeOp cStrokeOp(uint8_t b)
{
    return b < kCStrokeOpCount ? CStrokeOp(b) : CStrokeOp(b % kStrokePredict);
}

} // namespace fuzzbytes

#endif
