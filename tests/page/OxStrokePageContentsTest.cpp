// A page's contents put back with restore(): every stroke and piece under its key, in its place,
// with its ink to the bit, and keys never handed out twice; contents a page cannot take are
// refused and leave the page as it was.

#include "PageCompare.h"
#include "PageFixture.h"

#include <functional>

namespace {
struct ContentsPage : ::testing::Test
{
    OxStrokePage page;

    void SetUp() override
    {
        addRecorded(page, "pf-recorded.txt", 6);
        addRecorded(page, "mypaint-painting30sec.txt", 12, 5);
        cutAndMove(page, 11, 24);
    }

};

// The first stroke of contents drawn from drawing.
size_t firstOf(const OxStrokePage::Contents &contents, size_t drawing)
{
    size_t i = 0;
    while (contents.strokes[i].drawing != drawing)
        ++i;
    return i;
}
} // namespace

TEST_F(ContentsPage, RestoredStrokesAndPiecesKeepKeysPlacesAndInk)
{
    const OxStrokePage::Contents contents = page.contents();
    ASSERT_EQ(contents.strokes.size(), size_t(page.count()));
    // Pieces share their stroke's drawing: fewer drawings than strokes.
    EXPECT_LT(contents.drawings.size(), contents.strokes.size());
    EXPECT_EQ(contents.drawings.size(), 18u) << "every added stroke is still on the page";

    // What the page held before goes.
    OxStrokePage restored(OxStrokePage::Lookup::kLinearScan);
    addRecorded(restored, "synth-1k.txt", 1);
    ASSERT_EQ(restored.restore(contents), OxStrokePage::kDone);
    // Keys, next key, ink, colours and records.
    EXPECT_EQ(pageDifference(page, restored), "");
    // No history comes along.
    EXPECT_FALSE(restored.canUndo());
    // The restored page edits on as the page does, under the same keys, none used before.
    cutAndMove(page, 12, 6);
    cutAndMove(restored, 12, 6);
    EXPECT_EQ(pageDifference(page, restored), "");
}

TEST_F(ContentsPage, ContentsThePageCannotTakeAreRefusedAndChangeNothing)
{
    const OxStrokePage::Contents good = page.contents();
    OxStrokePage target;
    addRecorded(target, "synth-1k.txt", 1);
    target.erase({target.bounds(target.keys()[0]).center()}, 10);
    const std::map<Key, Ink> before = snapshot(target);
    const OxStrokePage::Contents targetBefore = target.contents();

    // A later piece of a drawing, and the edit where it parts from the piece before.
    size_t laterPiece = 1;
    while (good.strokes[laterPiece].drawing != good.strokes[laterPiece - 1].drawing)
        ++laterPiece;
    size_t parting = 0;
    while (good.strokes[laterPiece].edits[parting].piece
           == good.strokes[laterPiece - 1].edits[parting].piece)
        ++parting;
    const size_t last = good.strokes.size() - 1;
    const size_t secondDrawing = firstOf(good, 1);

    struct Case
    {
        const char *what;
        std::function<void(OxStrokePage::Contents &)> spoil;
        OxStrokePage::Status status;
        size_t refused;
    };
    using P = OxStrokePage;
    const std::vector<Case> cases = {
        {"key 0", [](P::Contents &c) { c.strokes[3].key = 0; }, P::kBadKey, 3},
        {"a key twice", [](P::Contents &c) { c.strokes[5].key = c.strokes[2].key; }, P::kBadKey, 5},
        {"a key not below the next",
         [](P::Contents &c) { c.strokes[4].key = c.nextKey; }, P::kBadKey, 4},
        {"a next key out of range",
         [](P::Contents &c) { c.nextKey = P::kMaxNextKey + 1; }, P::kBadKey, good.strokes.size()},
        {"a drawing past the end",
         [&](P::Contents &c) { c.strokes[last].drawing = c.drawings.size(); }, P::kBadDrawing, last},
        {"a drawing taken up again",
         [&](P::Contents &c) { c.strokes[last].drawing = 0; }, P::kBadDrawing, last},
        {"a piece repeated",
         [&](P::Contents &c) { c.strokes[laterPiece].edits = c.strokes[laterPiece - 1].edits; },
         P::kBadDrawing, laterPiece},
        {"a piece the cut does not leave",
         [&](P::Contents &c) { c.strokes[laterPiece].edits[parting].piece = 1000; },
         P::kUnusableRecord, laterPiece},
        {"a drawing without ink",
         [](P::Contents &c) {
             OxStrokeRecord none = c.drawings[0];
             none.engine = OxEngineKind::byName("pressure")->id;
             for (OxRecordedSample &sample : none.samples)
                 sample.pressure = 0;
             c.drawings.push_back(none);
             c.strokes.push_back({c.nextKey++, c.drawings.size() - 1, {}});
         },
         P::kNoInk, good.strokes.size()},
        {"a drawing that does not replay",
         [](P::Contents &c) { c.drawings[1].engine = 99; }, P::kUnusableRecord, secondDrawing},
    };
    for (const Case &c : cases) {
        P::Contents spoilt = good;
        c.spoil(spoilt);
        size_t refused = 999;
        EXPECT_EQ(target.restore(spoilt, &refused), c.status) << c.what;
        EXPECT_EQ(refused, c.refused) << c.what;
        EXPECT_EQ(snapshot(target), before) << c.what;
        EXPECT_EQ(target.contents().nextKey, targetBefore.nextKey) << c.what;
        EXPECT_TRUE(target.canUndo()) << c.what;
    }
}
