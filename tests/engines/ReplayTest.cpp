// A stored stroke comes back as it was drawn: a single sample as its dot in every engine, a
// recorded stroke as the live one in the engines whose rebuild reads no time.

#include "EngineStroke.h"
#include "OxEngineKind.h"
#include "StrokeRun.h"
#include "TestData.h"

#include <gtest/gtest.h>
#include <limits>

namespace {
std::vector<float> pressures(const std::vector<OxInkPoint> &points)
{
    std::vector<float> out;
    for (const OxInkPoint &p : points)
        out.push_back(p.pressure);
    return out;
}

// Every outline an engine shows besides the caller's path, as plain positions.
std::vector<std::vector<QPointF>> shapes(const OxEngineKind &kind, const OxStrokesFixWidth &engine)
{
    std::vector<std::vector<QPointF>> out;
    for (const QPainterPath &outline : kind.outlines(engine))
        out.push_back(elements(outline));
    return out;
}
} // namespace

TEST(Replay, OfOneSampleIsTheDotOfAPressAndARelease)
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
        // A press and a release alone are a dot: the first sample, then it offset by (1, 1).
        EXPECT_EQ(positions(livePoints), (std::vector<QPointF>{tap, tap + QPointF(1, 1)}));
        EXPECT_EQ(positions(points), positions(livePoints));
        EXPECT_EQ(elements(path), positions(points));  // the centre line
        EXPECT_EQ(shapes(kind, *replay), shapes(kind, *live));
    }
}

TEST(Replay, WithoutAUsablePointChangesNothing)
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

// Fix, fill and pressure rebuild from positions (and the pressure engine's pressures) alone: the
// same rectangle, centre line and outlines as the live stroke, and the path is the polyline
// through the centre line.
TEST(Replay, IsTheLiveStrokeInTheEnginesThatReadNoTime)
{
    for (const char *name : {"fix", "fill", "pressure"}) {
        const OxEngineKind &kind = *OxEngineKind::byName(name);
        for (RecordedStroke stroke : loadStrokes("pf-recorded.txt")) {
            // Stored points are single precision; the live stroke gets the same positions.
            std::vector<OxInkPoint> points;
            for (RecordedSample &s : stroke) {
                s.x = float(s.x), s.y = float(s.y);
                points.emplace_back(float(s.x), float(s.y), 0, s.pressure, 0, 0);
            }
            StrokeRun live(kind, stroke, OxEngineKind::kSamples, 6);
            QRectF liveRect;
            for (size_t k = 0; k < live.callCount(); ++k)
                liveRect |= live.call(k);
            auto replay = kind.make();
            QPainterPath path;
            EXPECT_EQ(replay->loadFromWholePoints(points, path, 6), liveRect) << name;
            EXPECT_EQ(positions(points), positions(live.points())) << name;
            EXPECT_EQ(pressures(points), pressures(live.points())) << name;
            EXPECT_EQ(elements(path), positions(points)) << name;
            EXPECT_EQ(kind.outlines(*replay), live.outlines()) << name;
        }
    }
}
