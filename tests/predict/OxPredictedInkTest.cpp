#include "ChangedPixels.h"
#include "OxEngineKind.h"
#include "OxPenPredictor.h"
#include "OxPredictedInk.h"
#include "OxStrokeShape.h"
#include "OxStrokesVaryWidthPressure.h"
#include "TestData.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {
using Params = OxEngineKind::Params;

// The recorded strokes: real pen and mouse input and the degenerate ones.
std::vector<RecordedStroke> recorded()
{
    std::vector<RecordedStroke> all = loadStrokes("pf-edge-cases.txt");
    for (const char *file : {"pf-recorded.txt", "mypaint-painting30sec.txt"}) {
        const std::vector<RecordedStroke> strokes = loadStrokes(file);
        all.insert(all.end(), strokes.begin(), strokes.begin() + 3);
    }
    return all;
}

OxInkPoint inkPoint(const RecordedSample &s)
{
    return OxInkPoint(float(s.x), float(s.y), double(s.timeMs), s.pressure, 0, 0);
}

// One stroke on one engine, fed sample by sample the way a host feeds it.
struct Stroke
{
    Stroke(const OxEngineKind &kind, float width) : kind(kind), engine(kind.make()), width(width) {}

    // Call k of the stroke's samples: startCreate, creating, and endCreate for the last.
    QRectF call(const RecordedStroke &samples, size_t k)
    {
        const RecordedSample &s = samples[k];
        const Params params{{QStringLiteral("time"), int(s.timeMs)},
                            {QStringLiteral("pressure"), s.pressure}};
        const QPointF at(s.x, s.y);
        if (k == 0)
            return engine->startCreate(points, path, at, params, width);
        if (k + 1 == samples.size())
            return engine->endCreate(points, path, at, params, width);
        return engine->creating(points, path, at, params, width);
    }

    const OxEngineKind &kind;
    std::unique_ptr<OxStrokesFixWidth> engine;
    std::vector<OxInkPoint> points;
    QPainterPath path;
    float width;
};

std::vector<double> numbers(const QPainterPath &path)
{
    std::vector<double> out;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element &e = path.elementAt(i);
        out.insert(out.end(), {double(e.type), e.x, e.y});
    }
    return out;
}

// Everything a host sees of a stroke, as numbers.
std::vector<double> seen(const Stroke &stroke)
{
    std::vector<double> out = numbers(stroke.path);
    for (const OxInkPoint &p : stroke.points)
        out.insert(out.end(), {p.x, p.y, p.time, p.pressure});
    for (const QPainterPath &outline : stroke.kind.outlines(*stroke.engine)) {
        const std::vector<double> n = numbers(outline);
        out.push_back(-1);
        out.insert(out.end(), n.begin(), n.end());
    }
    return out;
}

// What the library's predictor guesses after sample k of a stroke.
std::vector<OxInkPoint> guessAfter(const RecordedStroke &samples, size_t k, double horizonMs)
{
    std::vector<OxInkPoint> history;
    for (size_t i = 0; i <= k; ++i)
        history.push_back(inkPoint(samples[i]));
    return OxPenPredictor::predict(history, horizonMs);
}

// Paints a stroke's committed ink and its predicted ink, on a canvas around the stroke.
class Canvas
{
public:
    Canvas(const RecordedStroke &stroke, float width)
    {
        QRectF bounds;
        for (const RecordedSample &s : stroke)
            bounds |= QRectF(s.x, s.y, 1, 1);
        const int room = 4 * int(width) + 40;   // predictions may reach past the stroke
        origin = bounds.topLeft().toPoint() - QPoint(room, room);
        image = QImage(bounds.size().toSize() + QSize(2 * room, 2 * room),
                       QImage::Format_ARGB32_Premultiplied);
    }

    void show(const Stroke &stroke, const OxPredictedInk &ink)
    {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.translate(-origin);
        if (stroke.kind.drawn == OxEngineKind::Drawn::kCentreLine) {
            painter.strokePath(stroke.path, QPen(Qt::black, double(stroke.width), Qt::SolidLine,
                                                 Qt::RoundCap, Qt::RoundJoin));
        } else {
            for (const QPainterPath &outline : stroke.kind.outlines(*stroke.engine))
                painter.fillPath(outline, Qt::black);
        }
        ink.paint(&painter, QRectF(origin, image.size()), QColor(255, 0, 0));
    }

    int reachBeyond(const QImage &before, QRectF rect) const
    {
        return changedPixelsReach(image, before, origin, rect);
    }

    QPoint origin;
    QImage image;
};

// The last count points of run a (a run of the engine) against all of run b (the copy's).
void expectEndsWith(const OxStrokeShape::Run &a, const OxStrokeShape::Run &b,
                    const std::string &where)
{
    ASSERT_GE(a.xy.size(), b.xy.size()) << where;
    EXPECT_TRUE(std::equal(b.xy.begin(), b.xy.end(), a.xy.end() - long(b.xy.size()))) << where;
}
} // namespace

// Predictions drawn after every call and taken back before the next leave every engine, its
// points and its path exactly as the same stroke fed without them: the rectangles, points, path
// and outlines agree to the bit after every call, and nothing predicted is left at the end.
TEST(OxPredictedInkTest, CommittedInkIsTheSameWithAndWithoutPredictions)
{
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        for (const RecordedStroke &samples : recorded()) {
            Stroke plain(kind, 7), predicted(kind, 7);
            OxPredictedInk ink;
            for (size_t k = 0; k < samples.size() || k < 2; ++k) {
                const RecordedStroke &s =
                    samples.size() >= 2 ? samples : RecordedStroke{samples[0], samples[0]};
                ink.takeBack();
                ASSERT_EQ(plain.call(s, k), predicted.call(s, k)) << kind.name << " call " << k;
                ASSERT_EQ(seen(plain), seen(predicted)) << kind.name << " after call " << k;
                if (k + 1 < s.size()) {
                    QRectF changed;
                    ASSERT_TRUE(ink.draw(*predicted.engine, predicted.points, predicted.path,
                                         guessAfter(s, k, 16), 7, changed));
                    ASSERT_EQ(seen(plain), seen(predicted)) << kind.name << " prediction " << k;
                }
                if (samples.size() < 2)
                    break;
            }
            EXPECT_TRUE(ink.takeBack().isEmpty());
            EXPECT_TRUE(ink.isEmpty());
        }
    }
}

// The copy the predictions are drawn on is exact for what it draws: handed the stroke's next real
// sample as a prediction, it draws what the engine then draws for it (the sides' new points, the
// end cap, the tails, the centre line's new piece), however long the stroke already is.
TEST(OxPredictedInkTest, TheCopyDrawsWhatTheEngineDrawsNext)
{
    std::vector<RecordedStroke> strokes = recorded();
    strokes.push_back(loadStrokes("synth-1k.txt")[0]);
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        for (const RecordedStroke &samples : strokes) {
            Stroke stroke(kind, 7);
            OxPredictedInk ink;
            stroke.call(samples, 0);
            for (size_t k = 1; k + 1 < samples.size(); ++k) {
                const std::string where =
                    std::string(kind.name) + " before call " + std::to_string(k);
                QRectF changed;
                ASSERT_TRUE(ink.draw(*stroke.engine, stroke.points, stroke.path,
                                     {inkPoint(samples[k])}, 7, changed));
                const QRectF real = stroke.call(samples, k);
                if (ink.isEmpty()) {
                    EXPECT_TRUE(real.isEmpty()) << where;
                    continue;
                }
                OxStrokeShape engineShape, copyShape;
                engineShape.update(*stroke.engine, stroke.path);
                copyShape.update(*ink.engine(), ink.path());
                expectEndsWith(engineShape.left(), copyShape.left(), where + ", left side");
                expectEndsWith(engineShape.right(), copyShape.right(), where + ", right side");
                EXPECT_EQ(engineShape.endCap().xy, copyShape.endCap().xy) << where;
                ASSERT_EQ(engineShape.tailCount(), copyShape.tailCount()) << where;
                for (int t = 1; t <= engineShape.tailCount(); ++t) {
                    EXPECT_EQ(engineShape.polygons()[size_t(engineShape.polygonCount() - t)].xy,
                              copyShape.polygons()[size_t(copyShape.polygonCount() - t)].xy)
                        << where << ", tail";
                }
                ink.takeBack();
            }
        }
    }
}

// The rectangle draw returns covers every pixel that changed when the previous prediction was
// taken back and the new one drawn; the one takeBack returns, every pixel the prediction covered.
TEST(OxPredictedInkTest, EveryChangedPixelLiesInTheReturnedRectangle)
{
    const std::vector<RecordedStroke> strokes = recorded();
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        for (float width : {7.0f, 40.0f}) {
            for (size_t s = width > 7 ? 6 : 5; s < strokes.size(); s += width > 7 ? 9 : 2) {
                const RecordedStroke &samples = strokes[s];
                Stroke stroke(kind, width);
                OxPredictedInk ink;
                Canvas canvas(samples, width);
                for (size_t k = 0; k + 1 < std::min<size_t>(samples.size(), 60); ++k) {
                    const std::string where = std::string(kind.name) + ", width "
                                              + std::to_string(width) + ", stroke "
                                              + std::to_string(s) + ", call " + std::to_string(k);
                    canvas.show(stroke, ink);
                    QImage before = canvas.image;
                    const QRectF takenBack = ink.takeBack();
                    canvas.show(stroke, ink);
                    ASSERT_LE(canvas.reachBeyond(before, takenBack), 1) << where << ", taken back";
                    stroke.call(samples, k);
                    canvas.show(stroke, ink);
                    before = canvas.image;
                    QRectF changed;
                    ASSERT_TRUE(ink.draw(*stroke.engine, stroke.points, stroke.path,
                                         guessAfter(samples, k, 33), width, changed));
                    canvas.show(stroke, ink);
                    ASSERT_LE(canvas.reachBeyond(before, changed), 1) << where << ", drawn";
                }
            }
        }
    }
}

// At a stop, a reversal and a tap the predictor holds the pen where it is, and nothing is
// drawn; samples a host hands in after a tap are drawn and taken back, and the tap ends in its
// dot as without them.
TEST(OxPredictedInkTest, AStopAReversalAndATap)
{
    const RecordedStroke stop{{10, 10, 0, 0.5f}, {20, 10, 8, 0.5f}, {30, 10, 16, 0.5f},
                              {40, 10, 24, 0.5f}, {40, 10, 32, 0.5f}, {40, 10, 40, 0.5f}};
    const RecordedStroke reversal{{10, 10, 0, 0.5f}, {20, 10, 8, 0.5f}, {30, 10, 16, 0.5f},
                                  {40, 10, 24, 0.5f}, {30, 10, 32, 0.5f}, {20, 10, 40, 0.5f}};
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        for (const RecordedStroke *samples : {&stop, &reversal}) {
            Stroke stroke(kind, 6);
            OxPredictedInk ink;
            for (size_t k = 0; k + 1 < samples->size(); ++k)
                stroke.call(*samples, k);
            QRectF changed;
            ASSERT_TRUE(ink.draw(*stroke.engine, stroke.points, stroke.path,
                                 guessAfter(*samples, samples->size() - 2, 16), 6, changed));
            EXPECT_TRUE(ink.isEmpty()) << kind.name;
            EXPECT_TRUE(changed.isEmpty()) << kind.name;
        }

        const RecordedStroke tap{{50, 50, 0, 0.5f}, {50, 50, 30, 0.5f}};
        Stroke plain(kind, 6), stroke(kind, 6);
        OxPredictedInk ink;
        plain.call(tap, 0);
        stroke.call(tap, 0);
        QRectF changed;
        ASSERT_TRUE(ink.draw(*stroke.engine, stroke.points, stroke.path, guessAfter(tap, 0, 16), 6,
                             changed));
        EXPECT_TRUE(ink.isEmpty()) << kind.name;
        ASSERT_TRUE(ink.draw(*stroke.engine, stroke.points, stroke.path,
                             {OxInkPoint(56, 50, 8, 0.5f, 0, 0),
                              OxInkPoint(62, 52, 16, 0.5f, 0, 0)},
                             6, changed));
        ASSERT_EQ(ink.samples().size(), 2u) << kind.name;
        EXPECT_TRUE(changed.contains(QPointF(57, 50.5))) << kind.name;
        if (kind.drawn == OxEngineKind::Drawn::kCentreLine)
            EXPECT_FALSE(ink.centreLine().isEmpty());
        else
            EXPECT_FALSE(ink.outlines().isEmpty());
        EXPECT_EQ(ink.takeBack(), changed);
        EXPECT_EQ(plain.call(tap, 1), stroke.call(tap, 1)) << kind.name;
        EXPECT_EQ(seen(plain), seen(stroke)) << kind.name;
    }
}

// Refused input changes nothing: the prediction drawn before stays drawn, with its samples.
TEST(OxPredictedInkTest, RefusesBadInputAndChangesNothing)
{
    const OxEngineKind &brush = *OxEngineKind::byName("brush");
    Stroke stroke(brush, 6);
    OxPredictedInk ink;
    QRectF changed;
    EXPECT_FALSE(ink.draw(*stroke.engine, stroke.points, stroke.path,
                          {OxInkPoint(1, 1, 1, 0.5f, 0, 0)}, 6, changed));   // before start
    const RecordedStroke samples{{10, 10, 100, 0.5f}, {20, 12, 108, 0.5f}, {30, 15, 116, 0.5f}};
    for (size_t k = 0; k < 2; ++k)
        stroke.call(samples, k);
    const std::vector<OxInkPoint> good{OxInkPoint(30, 14, 116, 0.5f, 0, 0)};
    ASSERT_TRUE(ink.draw(*stroke.engine, stroke.points, stroke.path, good, 6, changed));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<std::vector<OxInkPoint>> bad{
        {OxInkPoint(30, 14, 107, 0.5f, 0, 0)},                                       // older
        {OxInkPoint(30, 14, 120, 0.5f, 0, 0), OxInkPoint(40, 14, 119, 0.5f, 0, 0)},  // backwards
        {OxInkPoint(nan, 14, 120, 0.5f, 0, 0)},
        {OxInkPoint(30, 14, 120, nan, 0, 0)},
        {OxInkPoint(30, 14, std::numeric_limits<double>::infinity(), 0.5f, 0, 0)},
        {OxInkPoint(30, 14, 3e9, 0.5f, 0, 0)},
    };
    for (const std::vector<OxInkPoint> &samplesIn : bad) {
        QRectF refused(1, 1, 1, 1);
        EXPECT_FALSE(ink.draw(*stroke.engine, stroke.points, stroke.path, samplesIn, 6, refused));
        EXPECT_TRUE(refused.isEmpty());
        ASSERT_EQ(ink.samples().size(), 1u);
        EXPECT_EQ(ink.samples()[0].x, 30.0f);
    }
    EXPECT_FALSE(ink.draw(*stroke.engine, stroke.points, stroke.path, good, nan, changed));

    // An engine outside the table (a subclass) is refused.
    struct Subclass : OxStrokesVaryWidthPressure
    {
    } other;
    std::vector<OxInkPoint> points;
    QPainterPath path;
    other.startCreate(points, path, QPointF(1, 1), Params{{QStringLiteral("pressure"), 1.0f}}, 6);
    EXPECT_FALSE(ink.draw(other, points, path, good, 6, changed));
    EXPECT_EQ(ink.samples().size(), 1u);
}
