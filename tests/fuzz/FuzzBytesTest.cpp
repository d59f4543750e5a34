// The byte encoding of the fuzz targets: the seed writer and the targets' reader must agree, or
// the seeds stop being the recorded strokes they were made from.

#include "FuzzBytes.h"

#include <gtest/gtest.h>

using namespace fuzzbytes;

namespace {
Reader readerOf(const Writer &w)
{
    return Reader(w.bytes.data(), w.bytes.size());
}
} // namespace

TEST(FuzzBytes, WholeNumbersRoundTripWithTheirSigns)
{
    Writer w;
    w.int16(-2);
    w.int32(-123456789);
    w.int64(-9000000000123LL);
    w.int32(2147483647);
    Reader r = readerOf(w);
    EXPECT_EQ(r.int16(), -2);
    EXPECT_EQ(r.int32(), -123456789);
    EXPECT_EQ(r.int64(), -9000000000123LL);
    EXPECT_EQ(r.int32(), 2147483647);
    EXPECT_TRUE(r.atEnd());
}

TEST(FuzzBytes, WholeNumbersComeWrittenOrFromTheBoundaries)
{
    Writer w;
    w.wholeNumber(-86400000);
    w.byte(uint8_t(5 << 1 | 1));   // special whole number 5: the top of the int range
    Reader r = readerOf(w);
    EXPECT_EQ(r.wholeNumber(), -86400000);
    EXPECT_EQ(r.wholeNumber(), std::numeric_limits<int32_t>::max());
    EXPECT_TRUE(r.atEnd());
}

TEST(FuzzBytes, PenPositionsComeBackAsWrittenOrToTheNearestEighth)
{
    Writer w;
    // 10.25 from 0 is a relative step of 41 quarters, 10.5 then a step of one quarter; 300 is
    // too far for a step and goes in eighths, and so does 0.3, to the nearest eighth.
    const float written[] = {10.25f, 10.5f, 300.0f, 0.3f, -4095.875f};
    for (float v : written)
        w.number(kX, v);
    EXPECT_EQ(w.bytes.size(), 2u + 2u + 3u + 3u + 3u);
    Reader r = readerOf(w);
    EXPECT_EQ(r.number(kX), 10.25f);
    EXPECT_EQ(r.number(kX), 10.5f);
    EXPECT_EQ(r.number(kX), 300.0f);
    EXPECT_EQ(r.number(kX), 0.25f);
    EXPECT_EQ(r.number(kX), -4095.875f);
}

TEST(FuzzBytes, ChannelsRememberTheirOwnLastValue)
{
    Writer w;
    w.number(kX, 100);
    w.number(kY, -50);
    w.number(kX, 101);   // a step from 100, not from -50
    w.number(kY, -49.75f);
    Reader r = readerOf(w);
    EXPECT_EQ(r.number(kX), 100.0f);
    EXPECT_EQ(r.number(kY), -50.0f);
    EXPECT_EQ(r.number(kX), 101.0f);
    EXPECT_EQ(r.number(kY), -49.75f);
}

TEST(FuzzBytes, OutOfRangeValuesAreClampedToTheModerateForm)
{
    Writer w;
    w.number(kWidth, 1e6f);
    w.number(kWidth, -1e6f);
    Reader r = readerOf(w);
    EXPECT_EQ(r.number(kWidth), 32767.0f / 8);
    EXPECT_EQ(r.number(kWidth), -4096.0f);
}

TEST(FuzzBytes, TagsReachTheSpecialValuesAndRawBits)
{
    const uint8_t nanTag = uint8_t(10 << 2 | kSpecial);
    const uint8_t infTag = uint8_t(12 << 2 | kSpecial);
    const uint8_t bytes[] = {nanTag, infTag, kRawBits, 0x00, 0x00, 0x80, 0xbf,
                             // a relative step after a non-finite value starts from the last
                             // finite one (here none: 0)
                             kRelative, 0xfc};
    Reader r(bytes, sizeof bytes);
    EXPECT_TRUE(std::isnan(r.number(kX)));
    EXPECT_EQ(r.number(kY), std::numeric_limits<float>::infinity());
    EXPECT_EQ(r.number(kX), -1.0f);
    EXPECT_EQ(r.number(kY), -1.0f);
}

TEST(FuzzBytes, ReadingPastTheEndGivesZeros)
{
    const uint8_t bytes[] = {0x01};
    Reader r(bytes, sizeof bytes);
    EXPECT_EQ(r.int32(), 1);
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(r.byte(), 0);
    EXPECT_EQ(r.int64(), 0);
    EXPECT_EQ(r.number(kX), 0.0f);   // tag 0: the first special value
}

TEST(FuzzBytes, ParameterFlagsKeepTimeAndPressureApart)
{
    const uint8_t flags = paramFlags(kInt64Time, kIntPressure);
    EXPECT_EQ(TimeForm(flags & 3), kInt64Time);
    EXPECT_EQ(PressureForm((flags >> 2) & 3), kIntPressure);
}
