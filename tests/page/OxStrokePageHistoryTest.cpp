// Undo and redo on a page of recorded strokes: every step taken back leaves the page as it was
// before it (the same keys, the same points to the bit) and reports what changed; redo makes the
// step again exactly; a group of steps is one.

#include "PageFixture.h"

namespace {
struct HistoryPage : ::testing::Test
{
    OxStrokePage page;
    std::vector<Key> keys = addRecorded(page, "pf-recorded.txt", 6);

    // The stroke of the page now at the place of the i-th added one.
    QPointF inkOf(size_t i) const { return page.bounds(page.keys()[i]).center(); }
};
} // namespace

TEST_F(HistoryPage, UndoAndRedoWalkThroughEveryStateExactly)
{
    page.clearHistory();
    std::vector<std::map<Key, Ink>> states{snapshot(page)};
    std::vector<QRectF> areas;
    auto made = [&](OxStrokePage::Status status, const OxStrokePage::Change &change) {
        ASSERT_EQ(status, OxStrokePage::kDone);
        ASSERT_FALSE(change.area.isEmpty());
        states.push_back(snapshot(page));
        areas.push_back(change.area);
    };
    OxStrokePage::Change change;
    made(page.erase({inkOf(0), inkOf(0) + QPointF(30, 30)}, 6, &change), change);
    made(page.move({page.keys()[1], page.keys()[2]}, QPointF(12.5, -4), &change), change);
    made(page.eraseStrokes({inkOf(3)}, 40, &change), change);
    made(page.erase({inkOf(4)}, 25, &change), change);

    for (size_t back = states.size() - 1; back > 0; --back) {
        ASSERT_EQ(page.undo(&change), OxStrokePage::kDone);
        EXPECT_EQ(snapshot(page), states[back - 1]) << "after undoing step " << back;
        EXPECT_EQ(change.area, areas[back - 1]);
    }
    EXPECT_EQ(page.undo(&change), OxStrokePage::kNothingToUndo);
    for (size_t forward = 1; forward < states.size(); ++forward) {
        ASSERT_EQ(page.redo(&change), OxStrokePage::kDone);
        EXPECT_EQ(snapshot(page), states[forward]) << "after redoing step " << forward;
    }
    EXPECT_EQ(page.redo(), OxStrokePage::kNothingToRedo);
}

// Undo reports the keys that come and go: a cut stroke's pieces leave, the stroke comes back.
TEST_F(HistoryPage, UndoOfACutBringsBackTheStrokeUnderItsKey)
{
    const QRectF b = page.bounds(keys[2]);
    OxStrokePage::Change cut, undone;
    // Wide enough to take the middle of the stroke away.
    ASSERT_EQ(page.erase({QPointF(b.center().x(), b.top() - 5), QPointF(b.center().x(), b.bottom() + 5)},
                         6, &cut),
              OxStrokePage::kDone);
    ASSERT_EQ(page.undo(&undone), OxStrokePage::kDone);
    EXPECT_EQ(undone.removed, cut.added);
    EXPECT_EQ(undone.added, cut.removed);
    EXPECT_TRUE(page.contains(keys[2]));
}

TEST_F(HistoryPage, AGroupOfStepsIsTakenBackAtOnceAndANewStepForgetsRedo)
{
    const std::map<Key, Ink> before = snapshot(page);
    const QPointF start(page.bounds(keys[0]).center());
    page.beginGroup();
    for (int i = 0; i < 6; ++i)
        page.erase({start + QPointF(4 * i, 2 * i), start + QPointF(4 * i + 4, 2 * i + 2)}, 5);
    page.move({keys[1]}, QPointF(1, 1));
    page.endGroup();
    const std::map<Key, Ink> after = snapshot(page);
    ASSERT_NE(after, before);
    ASSERT_EQ(page.undo(), OxStrokePage::kDone);
    EXPECT_EQ(snapshot(page), before);
    ASSERT_EQ(page.redo(), OxStrokePage::kDone);
    EXPECT_EQ(snapshot(page), after);
    ASSERT_EQ(page.undo(), OxStrokePage::kDone);
    page.move({keys[1]}, QPointF(2, 2));
    EXPECT_FALSE(page.canRedo());
    EXPECT_EQ(page.redo(), OxStrokePage::kNothingToRedo);
}
