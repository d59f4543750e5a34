#include "OxEngineKind.h"
#include "OxStrokesVaryWidthBackwardTime.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

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
}

// The filled pen and the brush keep batch samples that lie 1.0 or more from the last one kept.
TEST(OxEngineKind, BatchesKeepSamplesFromOneUnitApartOn)
{
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        if (!kind.canFeed(OxEngineKind::kBatch))
            continue;
        auto engine = kind.make();
        std::vector<OxInkPoint> points;
        QPainterPath path;
        const OxEngineKind::Params params{{QStringLiteral("time"), 30}};
        engine->startCreate(points, path, QPointF(0, 0), params, 6);
        QList<QPointF> samples{QPointF(0.9, 0), QPointF(1, 0), QPointF(2.5, 0)};
        kind.creatingBatch(*engine, points, samples, params, 6);
        ASSERT_EQ(points.size(), 3u) << kind.name;
        EXPECT_EQ(QPointF(points[1].x, points[1].y), QPointF(1, 0))
            << kind.name << ": a sample exactly 1.0 from the last one kept must be kept, one "
            << "0.9 away dropped";
    }
}

// A copy or an assignment made through the table goes on drawing the same stroke on its own,
// after the original is gone; copies and assignments between kinds are refused.
TEST(OxEngineKind, CopiesAndAssignmentsGoOnAsTheOriginalWithinTheirKindOnly)
{
    const OxEngineKind::Params params{{QStringLiteral("time"), 8},
                                      {QStringLiteral("pressure"), 0.5f}};
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        auto engine = kind.make();
        std::vector<OxInkPoint> points;
        QPainterPath path;
        engine->startCreate(points, path, QPointF(0, 0), params, 6);
        engine->creating(points, path, QPointF(9, 4), params, 6);
        auto copy = kind.copy(*engine), assigned = kind.make();
        ASSERT_TRUE(copy && kind.assign(*assigned, *engine)) << kind.name;
        ASSERT_TRUE(kind.assign(*assigned, *assigned)) << kind.name;
        const OxEngineKind &other = OxEngineKind::all()[size_t(kind.id) % 6];
        EXPECT_EQ(other.copy(*engine), nullptr);
        EXPECT_FALSE(other.assign(*other.make(), *engine));
        EXPECT_FALSE(kind.assign(*other.make(), *engine));

        const std::vector<OxInkPoint> copiedPoints = points;
        const QPainterPath copiedPath = path;
        const QRectF next = engine->creating(points, path, QPointF(20, 9), params, 6);
        EXPECT_FALSE(next.isEmpty());
        const QVector<QPainterPath> outlines = kind.outlines(*engine);
        engine.reset();   // nothing the copies draw with may go with it
        for (OxStrokesFixWidth *same : {copy.get(), assigned.get()}) {
            std::vector<OxInkPoint> samePoints = copiedPoints;
            QPainterPath samePath = copiedPath;
            EXPECT_EQ(same->creating(samePoints, samePath, QPointF(20, 9), params, 6), next)
                << kind.name;
            EXPECT_EQ(kind.outlines(*same), outlines) << kind.name;
        }
    }
}

// What a host draws, read through the table, for an engine of a class derived from an engine
// class too: the nearest kind answers.
TEST(OxEngineKind, ReadsAndPaintsWhatEachKindDrawsAlsoForDerivedClasses)
{
    struct OwnBrush : OxStrokesVaryWidthBackwardTime
    {
    };
    OwnBrush own;
    const OxEngineKind *brush = OxEngineKind::byName("brush");
    EXPECT_EQ(OxEngineKind::of(own), brush);
    EXPECT_EQ(brush->copy(own), nullptr);   // it would lose what the derived class holds
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        auto engine = kind.make();
        std::vector<OxInkPoint> points;
        QPainterPath path;
        const OxEngineKind::Params pressure{{QStringLiteral("pressure"), 1.0f}};
        engine->startCreate(points, path, QPointF(20, 20), pressure, 10);
        engine->creating(points, path, QPointF(40, 25), pressure, 10);
        const bool centreLine = kind.drawn == OxEngineKind::Drawn::kCentreLine;
        const bool tails = kind.drawn == OxEngineKind::Drawn::kOutlineAndTails;
        EXPECT_EQ(kind.outlineBuilder(*engine) == nullptr, centreLine) << kind.name;
        EXPECT_EQ(kind.tails(*engine).isEmpty(), !tails) << kind.name;
        EXPECT_EQ(kind.outlines(*engine).size(), centreLine ? 0 : 1 + kind.tails(*engine).size())
            << kind.name << ": the body outline, then the tails";
        // Painted within the rectangle only, but a tail whole (here the stroke is all tail).
        QImage image(60, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        EXPECT_EQ(kind.paint(*engine, &painter, QRectF(0, 0, 30, 40), Qt::black), !centreLine);
        const auto inked = [&](int x, int y) { return qGray(image.pixel(x, y)) < 255; };
        int beyond = 0;
        for (int x = 31; x < image.width(); ++x)
            beyond += inked(x, 23) || inked(x, 24);
        EXPECT_EQ(beyond > 0, tails) << kind.name << ": " << beyond << " pixels beyond the rectangle";
        EXPECT_EQ(inked(25, 21), !centreLine) << kind.name << ": in the outline and the rectangle";
        EXPECT_FALSE(inked(25, 35)) << kind.name << ": in the rectangle, beyond the outline";
        EXPECT_FALSE(kind.paint(*engine, nullptr, image.rect(), Qt::black));
    }
    std::vector<OxInkPoint> points;
    QPainterPath path;
    own.startCreate(points, path, QPointF(6, 9), {{QStringLiteral("time"), 0}}, 6);
    QList<QPointF> samples = batch();
    EXPECT_FALSE(brush->creatingRaw(own, points, samples, {{QStringLiteral("time"), 40}}, 6)
                     .isEmpty());
    EXPECT_EQ(brush->tails(own).size(), 1);
}
