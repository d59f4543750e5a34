// Pages written and loaded back: every stroke and piece under its key, with its ink, colour and
// record to the bit, over the recordings and every engine, after cuts and moves; each drawing
// stored once for all its pieces; and files of this version read after the format gains chunks.

#include "OxPageFile.h"
#include "PageBytes.h"
#include "PageCompare.h"
#include "PageFixture.h"


namespace {
const char *const kFour[] = {"pf-recorded.txt", "mypaint-painting30sec.txt", "synth-1k.txt",
                             "pf-edge-cases.txt"};

QByteArray bytesOf(const OxStrokePage &page)
{
    QByteArray bytes;
    const OxStorageError error = OxPageFile::toBytes(page, bytes);
    EXPECT_TRUE(error.ok()) << error.message.toStdString();
    return bytes;
}

void expectLoads(const QByteArray &bytes, OxStrokePage &into)
{
    const OxStorageError error = OxPageFile::fromBytes(bytes, into);
    EXPECT_TRUE(error.ok()) << error.message.toStdString();
}

std::vector<std::string> tags(const QByteArray &bytes)
{
    std::vector<std::string> out;
    for (const RawChunk &chunk : chunksOf(bytes))
        out.push_back(chunk.tag);
    return out;
}

// A page of a recording's strokes with one engine, cut and moved.
struct EditedPage
{
    OxStrokePage page;

    EditedPage(const char *recording, int engine, unsigned seed)
    {
        addRecorded(page, recording, 12, 6, engine);
        cutAndMove(page, seed, 10);
    }
};
} // namespace

TEST(PageFilePage, EveryRecordingAndEngineLoadsToTheBitAfterCutsAndMoves)
{
    OxStrokePage loaded;
    size_t strokes = 0, drawings = 0;
    for (const char *name : kFour) {
        for (const OxEngineKind &kind : OxEngineKind::all()) {
            const EditedPage edited(name, kind.id, unsigned(kind.id));
            const QByteArray bytes = bytesOf(edited.page);
            expectLoads(bytes, loaded);   // over the page loaded before
            EXPECT_EQ(pageDifference(edited.page, loaded), "") << name << ", " << kind.name;
            EXPECT_EQ(bytesOf(loaded), bytes) << name << ", " << kind.name;
            EXPECT_FALSE(loaded.canUndo());
            strokes += size_t(edited.page.count());
            drawings += edited.page.contents().drawings.size();
        }
    }
    EXPECT_GT(strokes, drawings + 20) << "few strokes were cut in pieces";
}

TEST(PageFilePage, EachDrawingIsStoredOnceForAllItsPieces)
{
    OxStrokePage page;
    addRecorded(page, "synth-1k.txt", 1);
    const QByteArray whole = bytesOf(page);
    EXPECT_EQ(tags(whole), (std::vector<std::string>{"STRK", "QEND"}));
    const QRectF box = page.bounds(page.keys()[0]);
    for (int i = 1; i < 8; ++i) {
        const double x = box.left() + box.width() * i / 8;
        ASSERT_EQ(page.erase({QPointF(x, box.top() - 1), QPointF(x, box.bottom() + 1)}, 2),
                  OxStrokePage::kDone);
    }
    ASSERT_GE(page.count(), 6);
    const QByteArray cut = bytesOf(page);
    EXPECT_EQ(tags(cut), (std::vector<std::string>{"STRK", "EDIT", "keys", "QEND"}));
    // The same drawing, to the byte, and a few bytes a piece for the rest.
    EXPECT_EQ(chunksOf(cut)[0].payload, chunksOf(whole)[0].payload);
    EXPECT_LT(cut.size() - whole.size(), 40 * page.count()) << cut.size() - whole.size() << " bytes";
    OxStrokePage loaded;
    expectLoads(cut, loaded);
    EXPECT_EQ(pageDifference(page, loaded), "");
}

TEST(PageFilePage, KeysComeBackAndAreNeverHandedOutAgain)
{
    OxStrokePage page;
    const std::vector<Key> keys = addRecorded(page, "pf-recorded.txt", 6);
    // Keys 1 to 6 with 7 next need no keys chunk: the page of a converted text file.
    EXPECT_EQ(tags(bytesOf(page)), (std::vector<std::string>{"STRK", "QEND"}));
    ASSERT_EQ(page.eraseStrokes({page.bounds(keys[5]).center()}, 200), OxStrokePage::kDone);
    ASSERT_TRUE(!page.contains(keys[5]));
    // Key 7 is still the next: the keys chunk says so.
    OxStrokePage loaded;
    expectLoads(bytesOf(page), loaded);
    EXPECT_EQ(pageDifference(page, loaded), "");
}

// What a later version adds as a chunk this version does not know and may skip, this version
// reads; one it must understand, it refuses. An older reader of records reads a page whose
// keys are all it adds, and refuses one with edits.
TEST(PageFilePage, AFileGainingAnUnknownSkippableChunkStillLoads)
{
    const EditedPage edited("pf-recorded.txt", 6, 3);
    std::vector<RawChunk> chunks = chunksOf(bytesOf(edited.page));
    ASSERT_EQ(chunks.size(), 4u);
    chunks.insert(chunks.begin() + 1, RawChunk{"layr", QByteArray("layers of a later version")});
    chunks.insert(chunks.end() - 1, RawChunk{"thmb", QByteArray(2000, '\x42')});
    OxStrokePage loaded;
    expectLoads(pageOf(chunks), loaded);
    EXPECT_EQ(pageDifference(edited.page, loaded), "");

    chunks.insert(chunks.begin() + 2, RawChunk{"LAYR", QByteArray("needed")});
    const OxStorageError error = OxPageFile::fromBytes(pageOf(chunks), loaded);
    EXPECT_EQ(error.kind, OxStorageError::kUnknownChunk);
    EXPECT_NE(error.message.indexOf(QStringLiteral("chunk LAYR at byte")), -1) << error.message.toStdString();
    EXPECT_EQ(pageDifference(edited.page, loaded), "");

    std::vector<OxStrokeRecord> records;
    EXPECT_EQ(OxPageFile::fromBytes(bytesOf(edited.page), records).kind, OxStorageError::kEdited);
    EXPECT_TRUE(records.empty());
    OxStrokePage uncut;
    addRecorded(uncut, "pf-recorded.txt", 6);
    uncut.eraseStrokes({uncut.bounds(uncut.keys()[0]).center()}, 1);
    EXPECT_EQ(tags(bytesOf(uncut)), (std::vector<std::string>{"STRK", "keys", "QEND"}));
    ASSERT_TRUE(OxPageFile::fromBytes(bytesOf(uncut), records).ok());
    EXPECT_EQ(records.size(), 5u);
}

TEST(PageFilePage, RecordsWithEditsAreStoredWithTheirPageOnly)
{
    const EditedPage edited("pf-recorded.txt", 2, 5);
    std::vector<OxStrokeRecord> records;
    for (Key key : edited.page.keys()) {
        records.emplace_back();
        edited.page.record(key, records.back());
    }
    QByteArray bytes("untouched");
    const OxStorageError error = OxPageFile::toBytes(records, bytes);
    EXPECT_EQ(error.kind, OxStorageError::kEdited);
    EXPECT_EQ(bytes, QByteArray("untouched"));
}

TEST(PageFilePage, TheFourRecordingsAsOnePageTakeAtMostThreeAndAHalfBytesASample)
{
    OxStrokePage page;
    size_t samples = 0;
    for (const char *name : kFour) {
        for (const RecordedStroke &stroke : loadStrokes(name)) {
            Key key = 0;
            ASSERT_EQ(page.add(recordOf(stroke, 6, 6), key), OxStrokePage::kDone);
            samples += stroke.size();
        }
    }
    EXPECT_EQ(samples, 5385u);
    const QByteArray bytes = bytesOf(page);
    EXPECT_LE(double(bytes.size()) / double(samples), 3.5) << bytes.size() << " bytes";
}
