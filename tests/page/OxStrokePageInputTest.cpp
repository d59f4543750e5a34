// Bad input to a page is refused with a status naming the argument, and the page stays as it
// was: the same strokes, the same points, the same history.

#include "PageFixture.h"

#include <limits>

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct InputPage : ::testing::Test
{
    OxStrokePage page;
    std::vector<Key> keys = addRecorded(page, "pf-recorded.txt", 3);

    void expectRefused(OxStrokePage::Status status, OxStrokePage::Status expected,
                       const char *argument)
    {
        EXPECT_EQ(status, expected);
        EXPECT_STREQ(OxStrokePage::argumentOf(status), argument);
        EXPECT_STRNE(OxStrokePage::describe(status), "");
    }
};
} // namespace

TEST_F(InputPage, BadInputIsRefusedAndChangesNothing)
{
    const std::map<Key, Ink> before = snapshot(page);
    const QPointF on = page.bounds(keys[0]).center();
    std::vector<Key> hit{99};
    std::vector<OxStrokePage::Selected> selected{{99, 1}};
    OxStrokePage::Change change{QRectF(1, 1, 1, 1), {99}, {99}};
    using P = OxStrokePage;

    expectRefused(page.hit(QPointF(kNaN, 0), 4, hit), P::kBadPoints, "points");
    EXPECT_TRUE(hit.empty());
    expectRefused(page.hit(on, 0, hit), P::kBadRadius, "radius");
    expectRefused(page.hit(on, -1, hit), P::kBadRadius, "radius");
    expectRefused(page.hitSwept({}, 4, hit), P::kBadPoints, "points");
    expectRefused(page.hitSwept({on, QPointF(0, kInf)}, 4, hit), P::kBadPoints, "points");
    expectRefused(page.lasso({on, on + QPointF(5, 5)}, selected), P::kTooFewPoints, "points");
    EXPECT_TRUE(selected.empty());
    expectRefused(page.lasso({on, QPointF(kNaN, 1), QPointF(1, 1)}, selected), P::kBadPoints,
                  "points");
    expectRefused(page.erase({on}, kNaN, &change), P::kBadRadius, "radius");
    EXPECT_TRUE(change.area.isNull() && change.removed.empty() && change.added.empty());
    expectRefused(page.erase({on}, 1e300), P::kBadRadius, "radius");
    expectRefused(page.erase({on, QPointF(kInf, 0)}, 5), P::kBadPoints, "points");
    expectRefused(page.erase({QPointF(1e300, 0)}, 5), P::kBadPoints, "points");
    expectRefused(page.erase({on, QPointF(3e6, 0)}, 5), P::kOutOfRange, "points");
    expectRefused(page.eraseStrokes({on}, kInf), P::kBadRadius, "radius");
    expectRefused(page.move({keys[0], 12345}, QPointF(1, 1)), P::kUnknownKey, "key");
    expectRefused(page.move({keys[0]}, QPointF(kNaN, 1)), P::kBadOffset, "offset");
    expectRefused(page.move({keys[0]}, QPointF(3e6, 0)), P::kOutOfRange, "points");
    EXPECT_EQ(snapshot(page), before);

    // Records that cannot be replayed add nothing and leave the history as it was.
    OxStrokeRecord record;
    ASSERT_TRUE(page.record(keys[0], record));
    Key key = 7;
    OxStrokeRecord unknown = record, uneven = record, lacking = record, nameless = record;
    unknown.engine = 9;
    uneven.samples.pop_back();
    lacking.steps[1].call = OxRecordedStep::kRaw;
    lacking.engine = 2;
    nameless.edits.push_back({OxRecordedEdit::kErase, {float(on.x()), float(on.y())}, 4, 5});
    for (const OxStrokeRecord *bad : {&unknown, &uneven, &lacking, &nameless}) {
        expectRefused(page.add(*bad, key), P::kUnusableRecord, "record");
        EXPECT_EQ(key, 0);
    }
    OxStrokeRecord empty = record;
    empty.width = 0;
    empty.engine = 1;
    expectRefused(page.add(empty, key), P::kNoInk, "record");
    EXPECT_EQ(snapshot(page), before);

    // Three adds to undo, then nothing.
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(page.undo(), P::kDone);
    expectRefused(page.undo(), P::kNothingToUndo, "undo");
    EXPECT_EQ(page.count(), 0);
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(page.redo(), P::kDone);
    expectRefused(page.redo(), P::kNothingToRedo, "redo");
    EXPECT_EQ(snapshot(page), before);
    std::vector<int> sizes;
    std::vector<float> xy;
    EXPECT_FALSE(page.polygons(12345, sizes, xy));
    EXPECT_TRUE(sizes.empty() && xy.empty());
    EXPECT_TRUE(page.inkPath(12345).isEmpty());
}
