// A stored stroke of one sample comes back as the dot it was drawn as, in every engine.

#include "EngineStroke.h"
#include "OxStrokesFixWidthFill.h"
#include "OxStrokesVaryWidthBackwardTime.h"
#include "OxStrokesVaryWidthTime.h"

#include <gtest/gtest.h>
#include <limits>

namespace {
// Every outline an engine shows besides the caller's path, as plain positions.
std::vector<std::vector<QPointF>> shapes(const OxStrokesFixWidth &engine)
{
    std::vector<std::vector<QPointF>> out;
    if (auto *fill = dynamic_cast<const OxStrokesFixWidthFill *>(&engine))
        out.push_back(elements(fill->getPathWhole()));
    if (auto *vary = dynamic_cast<const OxStrokesVaryWidthPressure *>(&engine))
        out.push_back(elements(vary->getPathWhole()));
    if (auto *extend = dynamic_cast<const OxStrokesVaryWidthBackwardExtend *>(&engine)) {
        for (const QPainterPath &p : extend->getBackwardPaths())
            out.push_back(elements(p));
    }
    return out;
}

template <class Engine>
class OneSampleReplay : public ::testing::Test
{
};
using Engines = ::testing::Types<OxStrokesFixWidth, OxStrokesFixWidthFill,
                                 OxStrokesVaryWidthPressure, OxStrokesVaryWidthTime,
                                 OxStrokesVaryWidthBackwardExtend, OxStrokesVaryWidthBackwardTime>;
TYPED_TEST_SUITE(OneSampleReplay, Engines);
} // namespace

TYPED_TEST(OneSampleReplay, IsTheDotOfAStartAndAnEndAtThatPoint)
{
    const float width = 6;
    const QPointF tap(20, 30);
    TypeParam live;
    std::vector<OxInkPoint> livePoints;
    QPainterPath livePath;
    const Params pressure{{QStringLiteral("pressure"), 0.75f}};
    QRectF liveRect = live.startCreate(livePoints, livePath, tap, pressure, width);
    liveRect |= live.endCreate(livePoints, livePath, tap, pressure, width);

    // A point that is not finite is left out first.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<OxInkPoint> points{OxInkPoint(nan, 0, 0, 0.75f, 0, 0),
                                   OxInkPoint(20, 30, 0, 0.75f, 0, 0)};
    QPainterPath path;
    TypeParam replay;
    EXPECT_EQ(replay.loadFromWholePoints(points, path, width), liveRect);
    EXPECT_FALSE(liveRect.isEmpty());
    EXPECT_EQ(positions(points), positions(livePoints));
    EXPECT_EQ(positions(points).front(), tap);
    EXPECT_GE(points.size(), 2u);
    EXPECT_EQ(elements(path), positions(points));  // the centre line
    EXPECT_EQ(shapes(replay), shapes(live));
}

TYPED_TEST(OneSampleReplay, NoUsablePointChangesNothing)
{
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<OxInkPoint> none, unusable{OxInkPoint(inf, 1, 0, 0.5f, 0, 0)};
    QPainterPath path;
    TypeParam replay;
    EXPECT_TRUE(replay.loadFromWholePoints(none, path, 6).isNull());
    EXPECT_TRUE(replay.loadFromWholePoints(unusable, path, 6).isNull());
    EXPECT_EQ(unusable.size(), 1u);
    EXPECT_TRUE(path.isEmpty());
    EXPECT_EQ(shapes(replay), shapes(TypeParam()));
}
