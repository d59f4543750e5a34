#include "EngineTable.h"
#include "OxEngineKind.h"
#include "StrokeRunner.h"
#include "TestData.h"

#include <gtest/gtest.h>

// The table is the library's; a replayed stroke (whose calls the property tests do not make)
// reports a rectangle that holds all it drew, as the tools repaint only that.
TEST(EngineTable, ReplayedShapesLieInsideTheReportedRectangle)
{
    std::vector<RecordedStroke> strokes = loadStrokes("pf-edge-cases.txt");
    strokes.push_back(loadStrokes("pf-recorded.txt").at(4));
    strokes.push_back(loadStrokes("mypaint-painting30sec.txt").at(2));
    ASSERT_EQ(engineTable().size(), OxEngineKind::all().size());
    for (size_t k = 0; k < engineTable().size(); ++k) {
        const EngineAdapter &engine = engineTable()[k];
        const OxEngineKind &kind = OxEngineKind::all()[k];
        ASSERT_EQ(engine.name, kind.name);
        ASSERT_EQ(engine.hasBatchMode(), kind.canFeed(OxEngineKind::kBatch));
        const EngineDrawing drawing = drawStrokes(engine, strokes, {FeedMode::Replay, 6, 8});
        for (size_t i = 0; i < drawing.strokes.size(); ++i) {
            if (strokes[i].size() < 2)
                continue;  // a replay needs two points
            const StrokeShapes &shapes = drawing.strokes[i].shapes;
            QRectF reported;
            for (const EngineCall &call : drawing.strokes[i].calls)
                uniteArea(reported, call.dirty);
            EXPECT_TRUE(reported.adjusted(-0.01, -0.01, 0.01, 0.01)
                            .contains(shapesBounds(shapes, drawing.width)))
                << engine.name << ", stroke " << i;
        }
    }
}
