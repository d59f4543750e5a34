// OxStrokeShape on the recorded strokes with every engine: what it hands out fills the same
// pixels as the engine's own painting. (That a stroke's sides are only ever extended, never read
// again from their start, is checked through the C face that hands them out.)

#include "OxStrokeShape.h"

#include "StrokeRun.h"
#include "TestData.h"

#include <QImage>
#include <QPainter>
#include <cmath>
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

QRectF boundsOf(const RecordedStroke &stroke)
{
    QRectF r(QPointF(stroke[0].x, stroke[0].y), QSizeF(1, 1));
    for (const RecordedSample &s : stroke)
        r |= QRectF(QPointF(s.x, s.y), QSizeF(1, 1));
    return r.adjusted(-2 * kWidth, -2 * kWidth, 2 * kWidth, 2 * kWidth);
}

template <class Paint>
QImage render(QRectF bounds, Paint paint)
{
    QImage image(int(std::ceil(bounds.width())), int(std::ceil(bounds.height())),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.translate(-bounds.topLeft());
    paint(painter);
    return image;
}

struct PixelComparison
{
    int inked = 0;      // pixels with any ink in either image
    int differing = 0;  // pixels whose coverage differs at all
    int largest = 0;    // the largest difference in coverage, of 255
};

PixelComparison compare(const QImage &a, const QImage &b)
{
    PixelComparison c;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb *ra = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const QRgb *rb = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const int da = qAlpha(ra[x]), db = qAlpha(rb[x]);
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
        const QRectF bounds = boundsOf(stroke);
        auto check = [&](const char *when) {
            OxStrokeShape shape;
            shape.update(run.engine(), run.path());
            const PixelComparison c =
                compare(render(bounds, [&](QPainter &p) { paintOwn(run, p, bounds); }),
                        render(bounds, [&](QPainter &p) { paintShape(shape, p); }));
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
