// Damaged and hostile pages: every fault in the edits and keys a page adds gives its error and
// leaves the caller's page as it was: the same strokes, keys, next key and history.

#include "OxPageFile.h"
#include "PageBytes.h"
#include "PageCompare.h"
#include "PageFixture.h"

namespace {
// The changes section without changes: the count and two plain models (decimal 0, order 1).
const QByteArray kNoChanges("\x00\x00\x00\x01\x00\x00\x00\x01\x00", 9);

class PageDamage : public testing::Test
{
protected:
    void SetUp() override
    {
        addRecorded(stored, "pf-edge-cases.txt", 4, 6);
        cutAndMove(stored, 4, 6);
        bytes = bytesOf(stored);
        // The page loads fail over: strokes with a history.
        addRecorded(target, "synth-1k.txt", 1);
        target.erase({target.bounds(target.keys()[0]).center()}, 30);
        ASSERT_EQ(reference.restore(target.contents()), OxStrokePage::kDone);
        OxStrokePage fourDrawings;
        addRecorded(fourDrawings, "pf-edge-cases.txt", 4, 6);
        fourStrokes = chunksOf(bytesOf(fourDrawings))[0];
    }

    static QByteArray bytesOf(const OxStrokePage &page)
    {
        QByteArray out;
        EXPECT_TRUE(OxPageFile::toBytes(page, out).ok());
        return out;
    }

    // Loads input over target; expects the error kind and target as it was.
    OxStorageError loadExpecting(const QByteArray &input, OxStorageError::Kind kind)
    {
        const OxStorageError error = OxPageFile::fromBytes(input, target);
        EXPECT_EQ(error.kind, kind) << error.message.toStdString();
        EXPECT_FALSE(error.message.isEmpty());
        EXPECT_GE(error.offset, -1);
        EXPECT_LE(error.offset, input.size());
        EXPECT_EQ(pageDifference(reference, target), "") << error.message.toStdString();
        EXPECT_TRUE(target.canUndo());
        return error;
    }

    // A page of the four drawings of fourStrokes and an edits chunk of these sections.
    QByteArray withEdits(const std::vector<QByteArray> &sections, const QByteArray &keys = QByteArray()) const
    {
        std::vector<RawChunk> chunks{fourStrokes, {"EDIT", storedPayload(sectionsOf(sections))}};
        if (!keys.isEmpty())
            chunks.push_back({"keys", keys});
        chunks.push_back({"QEND", QByteArray()});
        return pageOf(chunks);
    }

    OxStrokePage stored, target, reference;
    QByteArray bytes;
    RawChunk fourStrokes;
};

QByteArray varints(std::initializer_list<std::uint64_t> values)
{
    QByteArray out;
    for (std::uint64_t v : values)
        appendVarint(out, v);
    return out;
}
} // namespace

// Over a page of every chunk (strokes, edits, keys), and so for pages of records too: every
// truncation says where the input ends, and every flipped bit is found; in the strokes chunk's
// payload and checksum only the checksum can tell.
TEST_F(PageDamage, EveryTruncationAndFlippedBitIsFound)
{
    ASSERT_NE(bytes.indexOf("EDIT"), -1);
    ASSERT_NE(bytes.indexOf("keys"), -1);
    for (int size = 0; size < bytes.size(); ++size) {
        const OxStorageError error = loadExpecting(bytes.left(size), OxStorageError::kTruncated);
        EXPECT_LE(error.offset, size);
        if (size > 0) {
            EXPECT_NE(error.message.indexOf(QStringLiteral("ends at byte %1").arg(size)), -1)
                << error.message.toStdString();
        }
    }
    const int strokesEnd = 20 + chunksOf(bytes)[0].payload.size() + 4;
    for (int bit = 0; bit < bytes.size() * 8; ++bit) {
        QByteArray flipped = bytes;
        flipped[bit / 8] = char(flipped[bit / 8] ^ (1 << (bit % 8)));
        const OxStorageError error = OxPageFile::fromBytes(flipped, target);
        EXPECT_FALSE(error.ok()) << "bit " << bit;
        EXPECT_EQ(pageDifference(reference, target), "") << "bit " << bit;
        if (bit / 8 >= 20 && bit / 8 < strokesEnd) {
            EXPECT_EQ(error.kind, OxStorageError::kChecksum) << "bit " << bit << ": " << error.message.toStdString();
        }
    }
}

TEST_F(PageDamage, AbsurdCountsInTheEditsAreRefusedWithoutAllocating)
{
    const QByteArray empty, fourPlain = varints({4, 1, 0, 1, 0, 1, 0, 1, 0});
    // As it should be: four strokes, each its own drawing.
    OxStrokePage plain;
    ASSERT_TRUE(OxPageFile::fromBytes(withEdits({kNoChanges, empty, empty, empty, fourPlain}), plain).ok());
    EXPECT_EQ(plain.count(), 4);

    loadExpecting(withEdits({kNoChanges, empty, empty, empty, varints({4000000000u, 1, 0})}),
                  OxStorageError::kTooLarge);
    loadExpecting(withEdits({varints({3000000000u}) + kNoChanges.mid(1), empty, empty, empty, fourPlain}),
                  OxStorageError::kTooLarge);
    // An erase of three billion positions.
    QByteArray hugeErase = varints({1, 0, 3000000000u});
    appendU32(hugeErase, 0x40000000u);
    loadExpecting(withEdits({hugeErase + kNoChanges.mid(1), "\x00", "\x00", empty, fourPlain}),
                  OxStorageError::kTooLarge);
    loadExpecting(withEdits({kNoChanges, empty, empty, empty, varints({4, 1, 3000000000u})}),
                  OxStorageError::kTooLarge);
    // One erase of 1000 positions named by 1000 edits: four million floats from a few kilobytes.
    QByteArray longErase = varints({1, 0, 1000});
    appendU32(longErase, 0x40000000u);
    QByteArray manyEdits = varints({4, 1, 1000});
    for (int i = 0; i < 1000; ++i)
        manyEdits += varints({0, 0});
    manyEdits += varints({1, 0, 1, 0, 1, 0});
    const QByteArray zeros(1000, '\0');
    const OxStorageError error = loadExpecting(
        withEdits({longErase + kNoChanges.mid(1), zeros, zeros, empty, manyEdits}), OxStorageError::kTooLarge);
    EXPECT_NE(error.message.indexOf(QStringLiteral("eraser positions")), -1) << error.message.toStdString();
}

TEST_F(PageDamage, EditsAndKeysThatContradictThePageAreRefused)
{
    const QByteArray empty;
    const auto strokes = [&](const QByteArray &list) {
        return withEdits({kNoChanges, empty, empty, empty, list});
    };
    using E = OxStorageError;
    loadExpecting(strokes(varints({4, 0, 0, 1, 0, 1, 0, 1, 0})), E::kMalformed);      // no drawing first
    loadExpecting(strokes(varints({4, 1, 0, 2, 0, 1, 0, 1, 0})), E::kMalformed);      // a flag of 2
    loadExpecting(strokes(varints({5, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0})), E::kMalformed);  // a fifth drawing
    loadExpecting(strokes(varints({3, 1, 0, 1, 0, 1, 0})), E::kMalformed);            // one unused
    loadExpecting(strokes(varints({4, 1, 1, 0, 0, 1, 0, 1, 0, 1, 0})), E::kMalformed);  // change 0 of none
    loadExpecting(strokes(varints({4, 1, 0, 1, 0, 1, 0, 1, 0, 7})), E::kMalformed);   // a byte left over
    // Two strokes of one drawing that are not different pieces of it: the page refuses them.
    const OxStorageError refused = loadExpecting(strokes(varints({5, 1, 0, 0, 0, 1, 0, 1, 0, 1, 0})), E::kRefused);
    EXPECT_TRUE(refused.message.startsWith(QStringLiteral("chunk EDIT at byte"))) << refused.message.toStdString();
    EXPECT_NE(refused.message.indexOf(QStringLiteral("stroke 1 (key 2)")), -1) << refused.message.toStdString();

    const auto keyed = [&](const QByteArray &keys) {
        return withEdits({kNoChanges, empty, empty, empty, varints({4, 1, 0, 1, 0, 1, 0, 1, 0})}, keys);
    };
    OxStrokePage page;
    ASSERT_TRUE(OxPageFile::fromBytes(keyed(varints({90, 4, 20, 20, 20, 2})), page).ok());
    EXPECT_EQ(page.keys(), (std::vector<Key>{10, 20, 30, 31}));
    loadExpecting(keyed(varints({90, 3, 20, 20, 20})), E::kMalformed);       // three keys for four
    loadExpecting(keyed(varints({90, 4, 20, 20, 20, 2, 0})), E::kMalformed); // a byte left over
    // Keys the reader decodes but the page refuses (a key twice, one not below the next key, a
    // piece the cut does not leave) are the page's contents test; these the decoding makes.
    loadExpecting(keyed(varints({90, 4, 1, 20, 20, 2})), E::kRefused);       // a key of -1
    loadExpecting(keyed(varints({std::uint64_t(1) << 63, 4, 20, 20, 20, 2})), E::kRefused);
}
