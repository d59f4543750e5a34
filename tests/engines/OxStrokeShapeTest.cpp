// OxStrokeShape on the recorded strokes with every engine: what it hands out fills the same
// pixels as the engine's own painting. (That a stroke's sides are only ever extended, never read
// again from their start, is checked through the C face that hands them out.)

#include "OxStrokeShape.h"

#include "ChangedPixels.h"
#include "StrokeRun.h"
#include "TestData.h"

#include <cstdlib>

namespace {
constexpr float kWidth = 8;

// The engine's own painting: the centre-line engine leaves it to the host, who strokes the path.
void paintOwn(const StrokeRun &run, QPainter &painter, QRectF rect)
{
    if (!run.kind().paint(run.engine(), &painter, rect, Qt::black)) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.strokePath(run.path(), QPen(Qt::black, kWidth, Qt::SolidLine, Qt::RoundCap,
                                            Qt::RoundJoin));
    }
}

// What a host makes of the shape: each polygon filled with the nonzero rule, or the open
// centre line stroked.
void paintShape(const OxStrokeShape &shape, QPainter &painter)
{
    std::vector<int> sizes;
    std::vector<float> xy;
    shape.appendPolygons(sizes, xy);
    painter.setRenderHint(QPainter::Antialiasing, true);
    size_t at = 0;
    for (int size : sizes) {
        QPolygonF polygon;
        for (int i = 0; i < size; ++i, at += 2)
            polygon << QPointF(xy[at], xy[at + 1]);
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        path.addPolygon(polygon);
        if (shape.closed()) {
            path.closeSubpath();
            painter.fillPath(path, Qt::black);
        } else {
            painter.strokePath(path, QPen(Qt::black, kWidth, Qt::SolidLine, Qt::RoundCap,
                                          Qt::RoundJoin));
        }
    }
}

// Two pictures of black ink on white compared: the pixels with ink in either, those whose
// coverage differs at all, and the largest difference in coverage, of 255.
struct PixelComparison
{
    int inked = 0, differing = 0, largest = 0;
};

PixelComparison compare(const QImage &a, const QImage &b)
{
    PixelComparison c;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const int da = 255 - qGray(a.pixel(x, y)), db = 255 - qGray(b.pixel(x, y));
            c.inked += da > 0 || db > 0;
            c.differing += da != db;
            c.largest = std::max(c.largest, std::abs(da - db));
        }
    }
    return c;
}

class StrokeShapeTest : public ::testing::TestWithParam<int>
{
};

INSTANTIATE_TEST_SUITE_P(EveryEngine, StrokeShapeTest, ::testing::Range(0, int(OxEngineKind::all().size())));

// Halfway through (tails drawn apart) and at the end of every recorded stroke. Antialiasing
// differs at edges only: curves are flattened differently, and the engines clip their outline
// before filling it. No pixel may differ by more than 8 of 255 in coverage, and at most 0.5% of
// the inked pixels may differ at all (on these strokes: 4 of 255, 0.12%).
TEST_P(StrokeShapeTest, FillsTheEnginesOwnPixels)
{
    const OxEngineKind &kind = OxEngineKind::all().at(size_t(GetParam()));
    for (const RecordedStroke &stroke : loadStrokes("pf-recorded.txt")) {
        StrokeRun run(kind, stroke, OxEngineKind::kSamples, kWidth);
        StrokeCanvas own(stroke, 2 * int(kWidth)), handedOut(stroke, 2 * int(kWidth));
        auto check = [&](const char *when) {
            OxStrokeShape shape;
            shape.update(run.engine(), run.path());
            own.show([&](QPainter &p) { paintOwn(run, p, own.area()); });
            handedOut.show([&](QPainter &p) { paintShape(shape, p); });
            const PixelComparison c = compare(own.image(), handedOut.image());
            EXPECT_GT(c.inked, 0) << when;
            EXPECT_LE(c.largest, 8) << when << ", stroke of " << stroke.size();
            EXPECT_LE(c.differing, c.inked / 200) << when << ", stroke of " << stroke.size();
        };
        for (size_t k = 0; k < run.callCount(); ++k) {
            run.call(k);
            if (k == stroke.size() / 2)
                check("halfway");
        }
        check("at the end");
    }
}
} // namespace
