// A stored stroke of one sample comes back as the dot it was drawn as, in every engine.

#include "EngineStroke.h"
#include "OxEngineKind.h"

#include <gtest/gtest.h>
#include <limits>

namespace {
// Every outline an engine shows besides the caller's path, as plain positions.
std::vector<std::vector<QPointF>> shapes(const OxEngineKind &kind, const OxStrokesFixWidth &engine)
{
    std::vector<std::vector<QPointF>> out;
    for (const QPainterPath &outline : kind.outlines(engine))
        out.push_back(elements(outline));
    return out;
}
} // namespace

TEST(OneSampleReplay, IsTheDotOfAStartAndAnEndAtThatPoint)
{
    const float width = 6;
    const QPointF tap(20, 30);
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        SCOPED_TRACE(kind.name);
        auto live = kind.make();
        std::vector<OxInkPoint> livePoints;
        QPainterPath livePath;
        const Params pressure{{QStringLiteral("pressure"), 0.75f}};
        QRectF liveRect = live->startCreate(livePoints, livePath, tap, pressure, width);
        liveRect |= live->endCreate(livePoints, livePath, tap, pressure, width);

        // A point that is not finite is left out first.
        const float nan = std::numeric_limits<float>::quiet_NaN();
        std::vector<OxInkPoint> points{OxInkPoint(nan, 0, 0, 0.75f, 0, 0),
                                       OxInkPoint(20, 30, 0, 0.75f, 0, 0)};
        QPainterPath path;
        auto replay = kind.make();
        EXPECT_EQ(replay->loadFromWholePoints(points, path, width), liveRect);
        EXPECT_FALSE(liveRect.isEmpty());
        EXPECT_EQ(positions(points), positions(livePoints));
        EXPECT_EQ(positions(points).front(), tap);
        EXPECT_GE(points.size(), 2u);
        EXPECT_EQ(elements(path), positions(points));  // the centre line
        EXPECT_EQ(shapes(kind, *replay), shapes(kind, *live));
    }
}

TEST(OneSampleReplay, NoUsablePointChangesNothing)
{
    const float inf = std::numeric_limits<float>::infinity();
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        SCOPED_TRACE(kind.name);
        std::vector<OxInkPoint> none, unusable{OxInkPoint(inf, 1, 0, 0.5f, 0, 0)};
        QPainterPath path;
        auto replay = kind.make();
        EXPECT_TRUE(replay->loadFromWholePoints(none, path, 6).isNull());
        EXPECT_TRUE(replay->loadFromWholePoints(unusable, path, 6).isNull());
        EXPECT_EQ(unusable.size(), 1u);
        EXPECT_TRUE(path.isEmpty());
        EXPECT_EQ(shapes(kind, *replay), shapes(kind, *kind.make()));
    }
}
