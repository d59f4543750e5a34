#include "OxEngineKind.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
// A short batch for the ways that take one.
QList<QPointF> batch()
{
    return {QPointF(10, 10), QPointF(14, 11), QPointF(18, 13), QPointF(22, 16)};
}
} // namespace

TEST(OxEngineKind, NamesIdsAndClassesFindTheSameKind)
{
    ASSERT_EQ(OxEngineKind::all().size(), 6u);
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        EXPECT_EQ(OxEngineKind::byId(kind.id), &kind);
        EXPECT_EQ(OxEngineKind::byName(kind.name), &kind);
        EXPECT_EQ(OxEngineKind::of(*kind.make()), &kind) << kind.name;
    }
    EXPECT_EQ(OxEngineKind::byId(0), nullptr);
    EXPECT_EQ(OxEngineKind::byId(7), nullptr);
    EXPECT_EQ(OxEngineKind::byName("Brush"), nullptr);
    EXPECT_EQ(OxEngineKind::byName(nullptr), nullptr);
}

// Only fill and brush have the batch mode, only the brush the raw and fitted ones; a call of a
// way the kind lacks, or on an engine of another kind, changes nothing.
TEST(OxEngineKind, EachWayReachesTheEnginesThatHaveItAndNoOther)
{
    const OxEngineKind::Params params{{QStringLiteral("time"), 40}};
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        for (const OxEngineKind &engineKind : OxEngineKind::all()) {
            auto engine = engineKind.make();
            std::vector<OxInkPoint> points;
            QPainterPath path;
            engine->startCreate(points, path, QPointF(6, 9), params, 6);
            QList<QPointF> samples = batch();
            const bool drawn = !kind.creatingBatch(*engine, points, samples, params, 6).isEmpty();
            EXPECT_EQ(drawn, &kind == &engineKind && kind.canFeed(OxEngineKind::kBatch))
                << kind.name << " on " << engineKind.name;
            samples = batch();
            const bool raw = !kind.creatingRaw(*engine, points, samples, params, 6).isEmpty();
            EXPECT_EQ(raw, &kind == &engineKind && kind.canFeed(OxEngineKind::kRaw));
        }
    }
    EXPECT_EQ(OxEngineKind::byName("fill")->feeds & OxEngineKind::kRaw, 0u);
    EXPECT_TRUE(OxEngineKind::byName("brush")->canFeed(OxEngineKind::kFitted));
}

TEST(OxEngineKind, OutlinesAreTheBodyThenTheTails)
{
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        auto engine = kind.make();
        std::vector<OxInkPoint> points;
        QPainterPath path;
        OxEngineKind::Params params{{QStringLiteral("pressure"), 1.0f}};
        engine->startCreate(points, path, QPointF(0, 0), params, 6);
        for (int i = 1; i < 30; ++i) {
            params[QStringLiteral("time")] = 8 * i;
            engine->creating(points, path, QPointF(3 * i, std::sin(i) * 4), params, 6);
        }
        const QVector<QPainterPath> outlines = kind.outlines(*engine);
        switch (kind.drawn) {
        case OxEngineKind::Drawn::kCentreLine:
            EXPECT_TRUE(outlines.isEmpty());
            break;
        case OxEngineKind::Drawn::kOutline:
            EXPECT_EQ(outlines.size(), 1) << kind.name;
            break;
        case OxEngineKind::Drawn::kOutlineAndTails:
            EXPECT_GE(outlines.size(), 2) << kind.name;
            break;
        }
    }
}
