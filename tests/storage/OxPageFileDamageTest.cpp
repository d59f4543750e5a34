// Damaged and hostile input: every fault gives its error, says where, and leaves the caller's
// records as they were. (Every truncation and flipped bit: the page damage test, over a page of
// every chunk.)

#include "OxPageFile.h"
#include "PageBytes.h"
#include "RecordCompare.h"
#include "StrokeRecords.h"
#include "TestData.h"

namespace {
class PageFileDamage : public testing::Test
{
protected:
    void SetUp() override
    {
        stored = recordsOf(loadStrokes("pf-edge-cases.txt"), 6, 4);
        ASSERT_TRUE(OxPageFile::toBytes(stored, page).ok());
        previous = recordsOf(loadStrokes("synth-1k.txt"), 2, 3);
    }

    // Reads bytes into records that held previous; expects the error kind and previous intact.
    OxStorageError readExpecting(const QByteArray &bytes, OxStorageError::Kind kind)
    {
        std::vector<OxStrokeRecord> records = previous;
        const OxStorageError error = OxPageFile::fromBytes(bytes, records);
        EXPECT_EQ(error.kind, kind) << error.message.toStdString();
        EXPECT_FALSE(error.message.isEmpty());
        EXPECT_EQ(recordDifference(previous, records), "") << error.message.toStdString();
        return error;
    }

    QByteArray withStrokes(const QByteArray &payload) const
    {
        return pageOf({{"STRK", payload}, {"QEND", QByteArray()}});
    }

    std::vector<OxStrokeRecord> stored, previous;
    QByteArray page;
};

// A stroke's meta: engine 1, width, colour, its counts, and four plain models (decimal 0,
// order 1, no lattice, no exceptions).
QByteArray strokeMeta(std::uint64_t samples, std::uint64_t steps)
{
    QByteArray meta;
    appendVarint(meta, 1);
    appendU32(meta, 0x40800000u);
    appendU32(meta, 0xff);
    appendVarint(meta, samples);
    appendVarint(meta, steps);
    for (int c = 0; c < 4; ++c)
        meta.append(QByteArray("\x00\x00\x01\x00", 4));
    return meta;
}

QByteArray countThenMeta(std::uint64_t strokes, const QByteArray &meta)
{
    QByteArray out;
    appendVarint(out, strokes);
    return out + meta;
}
} // namespace

TEST_F(PageFileDamage, AChecksumErrorNamesTheChunkAndItsByte)
{
    QByteArray damaged = page;
    damaged[30] = char(damaged[30] ^ 0x10);
    const OxStorageError error = readExpecting(damaged, OxStorageError::kChecksum);
    EXPECT_EQ(error.offset, 12);
    EXPECT_TRUE(error.message.startsWith(QStringLiteral("chunk STRK at byte 12: checksum")))
        << error.message.toStdString();
}

TEST_F(PageFileDamage, OtherInputIsNoPage)
{
    readExpecting(QByteArray("x y t_ms pressure\n1 2 0 0.5\n"), OxStorageError::kNotAPage);
    QByteArray damaged = page;
    damaged[3] = 'X';
    EXPECT_EQ(readExpecting(damaged, OxStorageError::kNotAPage).offset, 0);
}

TEST_F(PageFileDamage, AnotherVersionIsRefused)
{
    const std::vector<RawChunk> chunks = chunksOf(page);
    const OxStorageError error = readExpecting(pageOf(chunks, 2), OxStorageError::kVersion);
    EXPECT_EQ(error.offset, 8);
    EXPECT_TRUE(error.message.startsWith(QStringLiteral("version 2 at byte 8"))) << error.message.toStdString();
    readExpecting(pageOf(chunks, 0), OxStorageError::kVersion);
}

TEST_F(PageFileDamage, TheChunksMustBeThoseOfAPage)
{
    const std::vector<RawChunk> chunks = chunksOf(page);
    readExpecting(pageOf({chunks.back()}), OxStorageError::kMalformed);                      // no strokes
    readExpecting(pageOf({chunks[0], chunks[0], chunks.back()}), OxStorageError::kMalformed);  // two
    readExpecting(page + QByteArray("\0", 1), OxStorageError::kMalformed);                     // after the end
    readExpecting(pageOf({chunks[0], RawChunk{"QEND", QByteArray("x")}}), OxStorageError::kMalformed);
    readExpecting(pageOf({chunks[0], RawChunk{"Q3ND", QByteArray()}}), OxStorageError::kMalformed);
}

TEST_F(PageFileDamage, SizesPastTheEndAreFoundBeforeAnythingIsRead)
{
    QByteArray huge = page;
    huge[16] = huge[17] = huge[18] = huge[19] = char(0xff);   // the strokes chunk's size
    const OxStorageError error = readExpecting(huge, OxStorageError::kTruncated);
    EXPECT_NE(error.message.indexOf(QStringLiteral("declares 4294967295 bytes")), -1)
        << error.message.toStdString();

    // A section that runs past the unpacked bytes.
    QByteArray body;
    appendVarint(body, 1000);
    body.append("short");
    readExpecting(withStrokes(storedPayload(body)), OxStorageError::kMalformed);
    // Stored bytes that are fewer than declared.
    readExpecting(withStrokes(storedPayload(QByteArray(7, '\0')).left(5)), OxStorageError::kMalformed);
}

TEST_F(PageFileDamage, AbsurdCountsAreRefusedWithoutAllocating)
{
    const QByteArray empty, zero(1, '\0');
    // Four billion strokes in a few bytes.
    const QByteArray manyStrokes = sectionsOf({countThenMeta(4000000000u, strokeMeta(1, 1)), "\x81", zero, zero, zero, zero, empty});
    readExpecting(withStrokes(storedPayload(manyStrokes)), OxStorageError::kTooLarge);
    // A stroke of three billion samples, and one of three billion steps.
    const QByteArray manySamples = sectionsOf({countThenMeta(1, strokeMeta(3000000000u, 1)), "\x81", zero, zero, zero, zero, empty});
    const OxStorageError error = readExpecting(withStrokes(storedPayload(manySamples)), OxStorageError::kTooLarge);
    EXPECT_NE(error.message.indexOf(QStringLiteral("stroke 0")), -1) << error.message.toStdString();
    const QByteArray manySteps = sectionsOf({countThenMeta(1, strokeMeta(1, 3000000000u)), "\x81", zero, zero, zero, zero, empty});
    readExpecting(withStrokes(storedPayload(manySteps)), OxStorageError::kTooLarge);
    // A compressed payload that claims to unpack to a terabyte.
    QByteArray bomb(1, '\x01');
    appendVarint(bomb, std::uint64_t(1) << 40);
    bomb.append(QByteArray(64, '\0'));
    readExpecting(withStrokes(bomb), OxStorageError::kMalformed);
}

TEST_F(PageFileDamage, AForgedBodyIsCheckedValueByValue)
{
    const QByteArray empty, zero(1, '\0');
    const QByteArray oneSample = countThenMeta(1, strokeMeta(1, 1));
    auto read = [&](const std::vector<QByteArray> &sections) {
        return readExpecting(withStrokes(storedPayload(sectionsOf(sections))), OxStorageError::kMalformed);
    };
    // A well-formed forgery reads: one sample at the origin.
    std::vector<OxStrokeRecord> records;
    ASSERT_TRUE(OxPageFile::fromBytes(withStrokes(storedPayload(sectionsOf(
        {oneSample, "\x81", zero, zero, zero, zero, empty}))), records).ok());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].samples.size(), 1u);

    read({oneSample, "\x79", zero, zero, zero, zero, empty});              // unknown step bits
    read({oneSample, "\x01\x02", zero, zero, zero, zero, empty});          // steps take 2 samples
    read({oneSample, "\x81", "\x80", zero, zero, zero, empty});              // x ends in a number
    read({oneSample, "\x81", zero, zero, zero, QByteArray(2, 0), empty});   // a byte left over
    read({oneSample, "\x81", zero, zero, QByteArray("\xff\xff\xff\xff\x7f", 5), zero, empty});  // time past int
    read({oneSample, "\x81", QByteArray("\xff\xff\xff\xff\xff\xff\xff\xff\x7f", 9), zero, zero, zero, empty});  // x past 2^53
    QByteArray badEngine = countThenMeta(1, strokeMeta(1, 1));
    badEngine[1] = 9;
    EXPECT_NE(read({badEngine, "\x81", zero, zero, zero, zero, empty}).message.indexOf(QStringLiteral("engine 9")), -1);
    QByteArray badGrid = oneSample;
    badGrid[1 + 11] = 3;   // x: grid kind 3, which does not exist
    read({badGrid, "\x81", zero, zero, zero, zero, empty});
    QByteArray exception = oneSample;
    exception[1 + 11 + 3] = 1;   // x: one exception, which is missing
    read({exception, "\x81", zero, zero, zero, zero, empty});
    read({exception, "\x81", zero, zero, zero, zero, QByteArray("\x01\x00\x00\x80\x7f", 5)});  // past the last sample
}
