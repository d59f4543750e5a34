#include "ChangedPixels.h"
#include "OxPenPredictor.h"
#include "OxPredictedInk.h"
#include "OxStrokeShape.h"
#include "OxStrokesFixWidthFill.h"
#include "OxStrokesVaryWidthPressure.h"
#include "StrokeRun.h"
#include "TestData.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <limits>

namespace {
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

// One stroke fed sample by sample, the way a host feeds it.
StrokeRun live(const OxEngineKind &kind, const RecordedStroke &samples, float width)
{
    return StrokeRun(kind, samples, OxEngineKind::kSamples, width);
}

// Draws predicted samples after what run's engine, points and path hold now.
bool drawOn(const StrokeRun &run, OxPredictedInk &ink, const std::vector<OxInkPoint> &samples,
            float width, QRectF &changed)
{
    return ink.draw(run.engine(), run.points(), run.path(), samples, width, changed);
}

// What the library's predictor guesses after sample k of a stroke.
std::vector<OxInkPoint> guessAfter(const RecordedStroke &samples, size_t k, double horizonMs)
{
    std::vector<OxInkPoint> history;
    for (size_t i = 0; i <= k; ++i)
        history.push_back(inkPoint(samples[i]));
    return OxPenPredictor::predict(history, horizonMs);
}

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
            StrokeRun plain = live(kind, samples, 7), predicted = live(kind, samples, 7);
            OxPredictedInk ink;
            const size_t calls = plain.callCount();
            for (size_t k = 0; k < calls; ++k) {
                ink.takeBack();
                ASSERT_EQ(plain.call(k), predicted.call(k)) << kind.name << " call " << k;
                ASSERT_EQ(predicted.observe().differences(plain.observe()), "")
                    << kind.name << " after call " << k;
                if (k + 1 < calls) {
                    QRectF changed;
                    ASSERT_TRUE(drawOn(predicted, ink, guessAfter(samples, k, 16), 7, changed));
                    ASSERT_EQ(predicted.observe().differences(plain.observe()), "")
                        << kind.name << " prediction " << k;
                }
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
            StrokeRun stroke = live(kind, samples, 7);
            OxPredictedInk ink;
            stroke.call(0);
            for (size_t k = 1; k + 1 < samples.size(); ++k) {
                const std::string where =
                    std::string(kind.name) + " before call " + std::to_string(k);
                QRectF changed;
                ASSERT_TRUE(drawOn(stroke, ink, {inkPoint(samples[k])}, 7, changed));
                const QRectF real = stroke.call(k);
                if (ink.isEmpty()) {
                    EXPECT_TRUE(real.isEmpty()) << where;
                    continue;
                }
                OxStrokeShape engineShape, copyShape;
                engineShape.update(stroke.engine(), stroke.path());
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

// A sub-stroke rebuilt from a filled engine copies the side pieces the engine recorded for its
// segments: predictions drawn on the way change none of them. The copy the predictions are drawn
// on records none, so a rebuild from it computes every piece afresh, as from no engine at all.
TEST(OxPredictedInkTest, PredictionsLeaveTheFilledEnginesRecordedPiecesAlone)
{
    const OxEngineKind &fill = *OxEngineKind::byName("fill");
    const RecordedStroke samples = loadStrokes("pf-recorded.txt")[0];
    StrokeRun plain = live(fill, samples, 7), predicted = live(fill, samples, 7);
    OxPredictedInk ink;
    for (size_t k = 0; k + 1 < plain.callCount(); ++k) {
        ink.takeBack();
        plain.call(k);
        predicted.call(k);
        QRectF changed;
        ASSERT_TRUE(drawOn(predicted, ink, guessAfter(samples, k, 16), 7, changed));
    }
    ASSERT_FALSE(ink.isEmpty());
    const std::vector<OxInkPoint> part(plain.points().begin() + 5, plain.points().begin() + 30);
    auto rebuiltFrom = [&](OxStrokesFixWidth *other) {
        std::vector<OxInkPoint> points = part;
        std::vector<int> indices;
        for (int i = 0; i + 1 < int(part.size()); ++i)
            indices.push_back(5 + i);
        OxStrokesFixWidthFill rebuilt;
        QPainterPath path;
        rebuilt.buildPathFromXY(points, path, 7, static_cast<OxStrokesFixWidthFill *>(other),
                                indices);
        return rebuilt.getPathWhole();
    };
    const QPainterPath fromPlain = rebuiltFrom(&plain.engine());
    EXPECT_EQ(rebuiltFrom(&predicted.engine()), fromPlain);
    EXPECT_NE(rebuiltFrom(nullptr), fromPlain);   // the pieces do come from the engine
    EXPECT_EQ(rebuiltFrom(ink.engine()), rebuiltFrom(nullptr));
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
                StrokeRun stroke = live(kind, samples, width);
                OxPredictedInk ink;
                StrokeCanvas canvas(samples, 4 * int(width) + 40);   // predictions reach past it
                const auto show = [&](QPainter &painter) {
                    stroke.paint(painter);
                    ink.paint(&painter, canvas.area(), QColor(255, 0, 0));
                };
                for (size_t k = 0; k + 1 < std::min<size_t>(samples.size(), 60); ++k) {
                    const std::string where = std::string(kind.name) + ", width "
                                              + std::to_string(width) + ", stroke "
                                              + std::to_string(s) + ", call " + std::to_string(k);
                    canvas.show(show);
                    QImage before = canvas.image();
                    const QRectF takenBack = ink.takeBack();
                    canvas.show(show);
                    ASSERT_LE(canvas.reachBeyond(before, takenBack), 1) << where << ", taken back";
                    stroke.call(k);
                    canvas.show(show);
                    before = canvas.image();
                    QRectF changed;
                    ASSERT_TRUE(drawOn(stroke, ink, guessAfter(samples, k, 33), width, changed));
                    canvas.show(show);
                    ASSERT_LE(canvas.reachBeyond(before, changed), 1) << where << ", drawn";
                }
            }
        }
    }
}

// Pressures jumping far above 1 widen the committed end and the predicted ink across it: the
// rectangle draw returns still holds every predicted outline.
TEST(OxPredictedInkTest, InkOfPressuresFarAboveOneStaysInTheReturnedRectangle)
{
    const RecordedStroke recordedStroke = loadStrokes("pf-recorded.txt")[0];
    for (float high : {50.0f, 1000.0f}) {
        RecordedStroke samples = recordedStroke;
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i].pressure = i % 3 == 1 ? high : 0.5f;
        for (const OxEngineKind &kind : OxEngineKind::all()) {
            StrokeRun stroke = live(kind, samples, 7);
            OxPredictedInk ink;
            for (size_t k = 0; k + 1 < samples.size(); ++k) {
                ink.takeBack();
                stroke.call(k);
                std::vector<OxInkPoint> guess = guessAfter(samples, k, 33);
                for (OxInkPoint &g : guess)
                    g.pressure = high;
                QRectF changed;
                ASSERT_TRUE(drawOn(stroke, ink, guess, 7, changed));
                for (const QPainterPath &outline : ink.outlines()) {
                    ASSERT_TRUE(outline.isEmpty()
                                || changed.adjusted(-1, -1, 1, 1).contains(outline.boundingRect()))
                        << kind.name << ", pressure " << high << ", after call " << k;
                }
            }
        }
    }
}

// At a tap the predictor holds the pen where it is (as at a stop or a reversal), and nothing is
// drawn; samples a host hands in after the tap are drawn and taken back, and the tap ends in its
// dot as without them.
TEST(OxPredictedInkTest, ATapDrawsOnlyWhatTheHostHandsIn)
{
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        const RecordedStroke tap{{50, 50, 0, 0.5f}, {50, 50, 30, 0.5f}};
        StrokeRun plain = live(kind, tap, 6), stroke = live(kind, tap, 6);
        OxPredictedInk ink;
        plain.call(0);
        stroke.call(0);
        QRectF changed;
        ASSERT_TRUE(drawOn(stroke, ink, guessAfter(tap, 0, 16), 6, changed));
        EXPECT_TRUE(ink.isEmpty()) << kind.name;
        ASSERT_TRUE(drawOn(stroke, ink,
                           {OxInkPoint(56, 50, 8, 0.5f, 0, 0), OxInkPoint(62, 52, 16, 0.5f, 0, 0)},
                           6, changed));
        ASSERT_EQ(ink.samples().size(), 2u) << kind.name;
        EXPECT_TRUE(changed.contains(QPointF(57, 50.5))) << kind.name;
        if (kind.drawn == OxEngineKind::Drawn::kCentreLine)
            EXPECT_FALSE(ink.centreLine().isEmpty());
        else
            EXPECT_FALSE(ink.outlines().isEmpty());
        EXPECT_EQ(ink.takeBack(), changed);
        EXPECT_EQ(plain.call(1), stroke.call(1)) << kind.name;
        EXPECT_EQ(stroke.observe().differences(plain.observe()), "") << kind.name;
    }
}

// Refused input changes nothing: the prediction drawn before stays drawn, with its samples.
TEST(OxPredictedInkTest, RefusesBadInputAndChangesNothing)
{
    const OxEngineKind &brush = *OxEngineKind::byName("brush");
    const RecordedStroke samples{{10, 10, 100, 0.5f}, {20, 12, 108, 0.5f}, {30, 15, 116, 0.5f}};
    StrokeRun stroke = live(brush, samples, 6);
    OxPredictedInk ink;
    QRectF changed;
    EXPECT_FALSE(drawOn(stroke, ink, {OxInkPoint(1, 1, 1, 0.5f, 0, 0)}, 6, changed));  // not started
    for (size_t k = 0; k < 2; ++k)
        stroke.call(k);
    const std::vector<OxInkPoint> good{OxInkPoint(30, 14, 116, 0.5f, 0, 0)};
    ASSERT_TRUE(drawOn(stroke, ink, good, 6, changed));
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
        EXPECT_FALSE(drawOn(stroke, ink, samplesIn, 6, refused));
        EXPECT_TRUE(refused.isEmpty());
        ASSERT_EQ(ink.samples().size(), 1u);
        EXPECT_EQ(ink.samples()[0].x, 30.0f);
    }
    EXPECT_FALSE(drawOn(stroke, ink, good, nan, changed));

    // An engine outside the table (a subclass) is refused.
    struct Subclass : OxStrokesVaryWidthPressure
    {
    } other;
    std::vector<OxInkPoint> points;
    QPainterPath path;
    other.startCreate(points, path, QPointF(1, 1), {{QStringLiteral("pressure"), 1.0f}}, 6);
    EXPECT_FALSE(ink.draw(other, points, path, good, 6, changed));
    EXPECT_EQ(ink.samples().size(), 1u);
}
