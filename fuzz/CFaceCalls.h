#ifndef QUILLMARK_CFACECALLS_H
#define QUILLMARK_CFACECALLS_H

// The gateway target's calls of the C interface (quillmark_c.h): the pen face, which wraps a
// gateway, and the stroke face, which wraps one engine for one stroke, hands out its shape as
// polygons and as parts, and draws predicted ink ahead of the pen. The handles are the script's
// own, and any call may get a null handle or null outputs. Checked after every call:
//   - a pen call reports 1 exactly when it exported, and then its counts add up and its arrays
//     are null exactly when empty;
//   - a refused stroke call reports 0, a zeroed rectangle and, through quillmark_stroke_refusal,
//     one of the reasons its call can have, the one that the stroke's history pins down where it
//     does (see StrokeHistory); a call that reached reports no reason; a stroke that has only
//     been handed moderate numbers reports finite rectangles;
//   - every stroke has a shadow fed the same calls but no predictions: both report the same, the
//     same rectangle while nothing predicted is taken back, and the same polygons at every read
//     (predicted ink never changes the committed shape);
//   - reads: counts add up, arrays are null exactly when empty, and at every parts read the
//     host's copy kept from the parts (each run cut to kept, the rest appended) equals a full
//     polygons read, bit for bit;
//   - predicted ink lies within the rectangle of the prediction that drew it and of the call
//     that took it back (for moderate strokes and predictions).

#include "CStrokeChecks.h"
#include "FuzzBytes.h"
#include "FuzzChecks.h"
#include "quillmark_c.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace cface {

using fuzzbytes::Reader;
using fuzzchecks::isModerate;

constexpr int kMaxBatch = 16;
// Host predictions hand over at most this many samples; the library's make at most 7.
constexpr int kMaxPredicted = 8;
// The work budget of predicted samples, apart from the real ones': drawn on a copy of the
// engine's recent state, they cost as samples do (see FuzzChecks.h).
constexpr int kMaxPredictedSamples = 48;
constexpr double kMaxPredictedTravel = 300;

class CFaceCalls
{
public:
    // accumulatedModerate: whether only moderate numbers went into the process-wide rectangle of
    // endSketch3, which the pen face starts and adds to as well.
    CFaceCalls(Reader &in, fuzzchecks::WorkBudget &budget, bool &accumulatedModerate)
        : in(in), budget(budget), accumulatedModerate(accumulatedModerate)
    {
    }
    ~CFaceCalls()
    {
        quillmark_pen_destroy(pen);
        for (StrokeLane &lane : strokes)
            lane.release();
    }
    CFaceCalls(const CFaceCalls &) = delete;
    CFaceCalls &operator=(const CFaceCalls &) = delete;

    void penCall()
    {
        const auto op = fuzzbytes::CPenOp(in.byte() % fuzzbytes::kCPenOpCount);
        switch (op) {
        case fuzzbytes::kPenCreate:
            quillmark_pen_destroy(pen);
            pen = (in.byte() & 1) ? quillmark_pen_create() : nullptr;
            penPens = fuzzchecks::Pens();
            return;
        case fuzzbytes::kPenSetEnvironment: {
            const float f1 = in.number(fuzzbytes::kOther), f2 = in.number(fuzzbytes::kOther);
            const float width = in.number(fuzzbytes::kWidth);
            const int ok = quillmark_pen_set_environment(pen, f1, f2, width, int8_t(in.byte()));
            FUZZ_REQUIRE(pen || ok == 0);
            penPens.engine = fuzzchecks::CallCost();   // perhaps a new engine
            return;
        }
        case fuzzbytes::kPenFreeStroke:
            quillmark_pen_free_stroke(pen);
            penPens.engine = fuzzchecks::CallCost();
            return;
        case fuzzbytes::kPenClearup:
            quillmark_pen_clearup(pen);
            return;
        default:
            return penSketch(op);
        }
    }

    void strokeCall()
    {
        using namespace fuzzbytes;
        const CStrokeOp op = cStrokeOp(in.byte());
        StrokeLane &lane = strokes[in.byte() % 2];
        switch (op) {
        case kStrokeCreate: return create(lane);
        case kStrokeDestroy: return lane.release();
        case kStrokeStart:
        case kStrokeAdd:
        case kStrokeEnd:
        case kStrokeEndBatch: return strokeSample(lane, op);
        case kStrokeAddBatch:
        case kStrokeAddRaw:
        case kStrokeAddFitted: return strokeBatch(lane, op);
        case kStrokeReplay: return replay(lane);
        case kStrokePolygons: return readPolygons(lane);
        case kStrokeParts: return readParts(lane);
        case kStrokePredict: return predict(lane);
        case kStrokePredictSamples: return predictSamples(lane);
        case kStrokeOtherReads: return otherReads(lane);
        default: return engineTable();
        }
    }

private:
    struct StrokeLane
    {
        quillmark_stroke *stroke = nullptr;
        // The same stroke fed the same calls, but no predictions.
        quillmark_stroke *shadow = nullptr;
        StrokeHistory history;
        fuzzchecks::Pens pens;
        bool moderate = true;
        // Every predicted sample drawn so far was moderate.
        bool moderatePredictions = true;
        // Every pressure handed over lay within 0 to 1, the convention (see checksInk).
        bool conventionalPressures = true;
        // The box of the predicted ink now drawn, as the last parts read found it.
        bool inkDrawn = false;
        QRectF ink;
        HostCopy copy;

        void release()
        {
            quillmark_stroke_destroy(stroke);
            quillmark_stroke_destroy(shadow);
            *this = StrokeLane();
        }
        // Where predicted ink is held to the rectangles. Known to fail: with pressures far above
        // 1 the predicted ink's start, across the wide committed end, can reach beyond them.
        bool checksInk() const { return moderate && moderatePredictions && conventionalPressures; }
    };

    Reader &in;
    fuzzchecks::WorkBudget &budget;
    fuzzchecks::WorkBudget predictionBudget{kMaxPredictedSamples, kMaxPredictedTravel};
    bool &accumulatedModerate;
    quillmark_pen *pen = nullptr;
    fuzzchecks::Pens penPens;
    StrokeLane strokes[2];

    double readStamp()
    {
        switch (in.byte() & 3) {
        case 0: return double(in.wholeNumber());
        case 1: return double(in.number(fuzzbytes::kTime));
        case 2: return 1.7e12 + double(in.wholeNumber());   // epoch milliseconds
        default: return double(in.int64());
        }
    }

    std::vector<float> readPairs(int count)
    {
        std::vector<float> xy(2 * size_t(count));
        for (int i = 0; i < count; ++i) {
            xy[2 * size_t(i)] = in.number(fuzzbytes::kX);
            xy[2 * size_t(i) + 1] = in.number(fuzzbytes::kY);
        }
        return xy;
    }

    // Spends the cost of handing pairs to an engine that goes on from pens; false when it does
    // not fit.
    bool spend(fuzzchecks::Pens &cost, const std::vector<float> &xy)
    {
        for (size_t i = 0; i + 1 < xy.size(); i += 2)
            cost.add(xy[i], xy[i + 1]);
        return budget.spend(cost.dearer());
    }

    void penSketch(fuzzbytes::CPenOp op)
    {
        using namespace fuzzbytes;
        const bool starts = op == kPenStart, batch = op == kPenMoveBatch;
        const std::vector<float> xy = readPairs(batch ? in.byte() % (kMaxBatch + 1) : 1);
        const double stamp = readStamp();
        fuzzchecks::Pens cost = starts ? fuzzchecks::Pens::openingStroke() : penPens.next();
        if (!spend(cost, xy))
            return;
        if (starts || op == kPenEndBatchAccumulated)
            accumulatedModerate = false;   // the pen face is not followed that far
        quillmark_shape shape;
        std::memset(&shape, 0x5a, sizeof shape);
        quillmark_shape *out = (in.byte() & 0x80) ? nullptr : &shape;
        const float x = xy.empty() ? 0 : xy[0], y = xy.empty() ? 0 : xy[1];
        int ok = 0;
        switch (op) {
        case kPenStart: ok = quillmark_pen_start(pen, x, y, stamp, out); break;
        case kPenMove: ok = quillmark_pen_move(pen, x, y, out); break;
        case kPenEnd: ok = quillmark_pen_end(pen, x, y, out); break;
        case kPenEndTimed: ok = quillmark_pen_end_timed(pen, x, y, stamp, out); break;
        case kPenMoveBatch:
            ok = quillmark_pen_move_batch(pen, int(xy.size() / 2),
                                          xy.empty() ? nullptr : xy.data(), stamp, out);
            break;
        case kPenEndBatch: ok = quillmark_pen_end_batch(pen, x, y, stamp, out); break;
        default: ok = quillmark_pen_end_batch_accumulated(pen, x, y, stamp, out); break;
        }
        FUZZ_REQUIRE(pen && out ? ok == 0 || ok == 1 : ok == 0);
        if (!ok)
            return;
        // It reached an engine: the pens move with what it took.
        penPens = cost;
        if (op != kPenStart && op != kPenMove && op != kPenMoveBatch)
            penPens.strokeEnded();
        FUZZ_REQUIRE(shape.path_count >= 0);
        requireArrays(shape.path_count, shape.path_sizes, shape.point_count, shape.coords);
    }

    void create(StrokeLane &lane)
    {
        lane.release();
        const int engine = in.byte() % 8;
        const float width = in.number(fuzzbytes::kWidth);
        lane.stroke = quillmark_stroke_create(engine, width);
        lane.shadow = quillmark_stroke_create(engine, width);
        const bool usable = engine >= QUILLMARK_FIX && engine <= QUILLMARK_BRUSH
                            && std::isfinite(width) && width > 0;
        FUZZ_REQUIRE((lane.stroke != nullptr) == usable && (lane.shadow != nullptr) == usable);
        lane.history = StrokeHistory(quillmark_engine_feeds(engine));
        lane.moderate = isModerate(width);
    }

    static int predictedCount(quillmark_stroke *stroke)
    {
        quillmark_predicted predicted;
        quillmark_stroke_predicted(stroke, &predicted);
        return predicted.count;
    }

    // After a call on lane's stroke that reached and wrote rect: predicted ink that it took
    // back lies within rect.
    void inkTakenBack(StrokeLane &lane, const quillmark_rect *rect)
    {
        if (!lane.inkDrawn || predictedCount(lane.stroke) > 0)
            return;   // none, or a dropped sample left it drawn
        if (rect && lane.checksInk())
            FUZZ_REQUIRE(covers(*rect, lane.ink));
        lane.inkDrawn = false;
    }

    // Calls the stroke face on the stroke and its shadow with rectangles whose bits show whether
    // they were written; checks what a refused or a reached call reports, against expected.
    template <class Call>
    void sampleCall(StrokeLane &lane, const fuzzchecks::Pens &cost, bool endsStroke,
                    const StrokeHistory::Expected &expected, bool opens, Call call)
    {
        quillmark_rect rect, shadowRect;
        std::memset(&rect, 0x5a, sizeof rect);
        const bool nullRect = in.byte() == 0xff;
        const bool predicted = lane.stroke && predictedCount(lane.stroke) > 0;
        const int ok = call(lane.stroke, nullRect ? nullptr : &rect);
        const int refusal = quillmark_stroke_refusal(lane.stroke);
        FUZZ_REQUIRE(call(lane.shadow, &shadowRect) == ok);
        FUZZ_REQUIRE(quillmark_stroke_refusal(lane.shadow) == refusal);
        if (!lane.stroke) {
            FUZZ_REQUIRE(ok == 0 && refusal == QUILLMARK_REFUSED_NO_STROKE);
            return;
        }
        const bool replays = opens && endsStroke;
        lane.history.require(expected, ok, refusal, opens, replays);
        if (ok)
            inkTakenBack(lane, nullRect ? nullptr : &rect);
        if (nullRect)
            return;
        if (!ok) {
            FUZZ_REQUIRE(rect.left == 0 && rect.top == 0 && rect.width == 0 && rect.height == 0);
            return;
        }
        // Nothing predicted to take back: the same rectangle as without predictions.
        if (!predicted)
            FUZZ_REQUIRE(sameFloats(&rect.left, &shadowRect.left, 4));
        lane.pens = cost;
        if (endsStroke)
            lane.pens.strokeEnded();
        if (lane.moderate)
            FUZZ_REQUIRE(std::isfinite(rect.left) && std::isfinite(rect.top)
                         && std::isfinite(rect.width) && std::isfinite(rect.height));
    }

    void noteSamples(StrokeLane &lane, const std::vector<float> &xy, float pressure)
    {
        const bool conventional = !std::isfinite(pressure) || (pressure >= 0 && pressure <= 1);
        lane.conventionalPressures = lane.conventionalPressures && conventional;
        for (float v : xy)
            lane.moderate = lane.moderate && (!std::isfinite(v) || isModerate(v));
        lane.moderate = lane.moderate && (!std::isfinite(pressure) || isModerate(pressure));
    }

    void strokeSample(StrokeLane &lane, fuzzbytes::CStrokeOp op)
    {
        using namespace fuzzbytes;
        const std::vector<float> xy = readPairs(1);
        const double stamp = readStamp();
        const float pressure = in.number(fuzzbytes::kPressure);
        fuzzchecks::Pens cost = op == kStrokeStart ? fuzzchecks::Pens::openingStroke()
                                                   : lane.pens.next();
        if (!spend(cost, xy))
            return;
        noteSamples(lane, xy, pressure);
        const int feed = op == kStrokeStart      ? 0
                         : op == kStrokeEndBatch ? QUILLMARK_FEED_BATCH
                                                 : QUILLMARK_FEED_SAMPLES;
        const bool opens = op == kStrokeStart;
        sampleCall(lane, cost, op == kStrokeEnd || op == kStrokeEndBatch,
                   lane.history.sampleCall(feed, true, opens), opens,
                   [&](quillmark_stroke *s, quillmark_rect *r) {
                       switch (op) {
                       case kStrokeStart:
                           return quillmark_stroke_start(s, xy[0], xy[1], stamp, pressure, r);
                       case kStrokeAdd:
                           return quillmark_stroke_add(s, xy[0], xy[1], stamp, pressure, r);
                       case kStrokeEnd:
                           return quillmark_stroke_end(s, xy[0], xy[1], stamp, pressure, r);
                       default:
                           return quillmark_stroke_end_batch(s, xy[0], xy[1], stamp, pressure, r);
                       }
                   });
    }

    void strokeBatch(StrokeLane &lane, fuzzbytes::CStrokeOp op)
    {
        using namespace fuzzbytes;
        const std::vector<float> xy = readPairs(in.byte() % (kMaxBatch + 1));
        const double stamp = readStamp();
        const int count = (in.byte() & 0x80) ? int8_t(in.byte()) : int(xy.size() / 2);
        fuzzchecks::Pens cost = lane.pens.next();
        if (!spend(cost, xy))
            return;
        noteSamples(lane, xy, 0);
        // A count beyond the pairs is left to the host's promise; here it only shrinks.
        const int passed = std::min(count, int(xy.size() / 2));
        const float *pairs = xy.empty() ? nullptr : xy.data();
        const int feed = op == kStrokeAddBatch ? QUILLMARK_FEED_BATCH
                         : op == kStrokeAddRaw ? QUILLMARK_FEED_RAW
                                               : QUILLMARK_FEED_FITTED;
        sampleCall(lane, cost, false, lane.history.sampleCall(feed, passed > 0 && pairs, false),
                   false, [&](quillmark_stroke *s, quillmark_rect *r) {
                       switch (op) {
                       case kStrokeAddBatch:
                           return quillmark_stroke_add_batch(s, passed, pairs, stamp, r);
                       case kStrokeAddRaw:
                           return quillmark_stroke_add_raw(s, passed, pairs, stamp, r);
                       default:
                           return quillmark_stroke_add_fitted(s, passed, pairs, stamp, r);
                       }
                   });
    }

    void replay(StrokeLane &lane)
    {
        const int count = in.byte() % (kMaxBatch + 1);
        const std::vector<float> xy = readPairs(count);
        std::vector<double> stamps(static_cast<size_t>(count));
        std::vector<float> pressures(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            stamps[size_t(i)] = readStamp();
            pressures[size_t(i)] = in.number(fuzzbytes::kPressure);
        }
        fuzzchecks::Pens cost = fuzzchecks::Pens::openingStroke();
        if (!spend(cost, xy))
            return;
        for (float p : pressures)
            noteSamples(lane, {}, p);
        noteSamples(lane, xy, 0);
        const uint8_t nulls = in.byte();
        const float *pairs = (nulls & 1) || !count ? nullptr : xy.data();
        sampleCall(lane, cost, true,
                   lane.history.sampleCall(QUILLMARK_FEED_REPLAY, pairs != nullptr, true), true,
                   [&](quillmark_stroke *s, quillmark_rect *r) {
                       return quillmark_stroke_replay(
                           s, count, pairs, (nulls & 2) || !count ? nullptr : stamps.data(),
                           (nulls & 4) || !count ? nullptr : pressures.data(), r);
                   });
    }

    // Reads the whole shape of the stroke and of its shadow: they are the same.
    int readWhole(StrokeLane &lane, quillmark_polygons &whole)
    {
        std::memset(&whole, 0x5a, sizeof whole);
        const int ok = quillmark_stroke_polygons(lane.stroke, &whole);
        if (lane.stroke)
            lane.history.require(lane.history.read(), ok, quillmark_stroke_refusal(lane.stroke),
                                 false, false);
        requireArrays(whole.count, whole.sizes, whole.point_count, whole.xy);
        FUZZ_REQUIRE(whole.tail_count >= 0 && whole.tail_count <= whole.count);
        quillmark_polygons shadow;
        FUZZ_REQUIRE(quillmark_stroke_polygons(lane.shadow, &shadow) == ok);
        requireSamePolygons(whole, shadow);
        return ok;
    }

    void readPolygons(StrokeLane &lane)
    {
        quillmark_polygons whole;
        const int ok = readWhole(lane, whole);
        if (ok && lane.moderate)
            for (int i = 0; i < 2 * whole.point_count; ++i)
                FUZZ_REQUIRE(std::isfinite(whole.xy[i]));
    }

    void readParts(StrokeLane &lane)
    {
        quillmark_parts parts;
        std::memset(&parts, 0x5a, sizeof parts);
        const int ok = quillmark_stroke_parts(lane.stroke, &parts);
        if (lane.stroke)
            lane.history.require(lane.history.read(), ok, quillmark_stroke_refusal(lane.stroke),
                                 false, false);
        if (!ok) {
            FUZZ_REQUIRE(parts.polygon_count == 0 && parts.left.count == 0
                         && parts.polygons == nullptr && parts.predicted == nullptr);
            return;
        }
        lane.copy.follow(parts);
        bool finite = true;
        lane.ink = predictedInkBox(parts, finite);
        lane.inkDrawn = parts.predicted_count > 0 && finite;
        if (lane.checksInk())
            FUZZ_REQUIRE(finite);
        FUZZ_REQUIRE(parts.predicted_count == 0 || predictedCount(lane.stroke) > 0);
        quillmark_polygons whole;
        FUZZ_REQUIRE(readWhole(lane, whole) == 1);
        lane.copy.requireEquals(whole);
    }

    // Calls a prediction on the stroke (never on the shadow): refused for a reason expected
    // allows, or drawn; then a parts read finds the ink within the call's rectangle.
    template <class Call>
    int predictionCall(StrokeLane &lane, const StrokeHistory::Expected &expected, Call call)
    {
        quillmark_rect rect;
        std::memset(&rect, 0x5a, sizeof rect);
        const bool nullRect = in.byte() == 0xff;
        quillmark_rect *out = nullRect ? nullptr : &rect;
        const int ok = call(lane.stroke, out);
        const int refusal = quillmark_stroke_refusal(lane.stroke);
        if (!lane.stroke) {
            FUZZ_REQUIRE(ok == 0 && refusal == QUILLMARK_REFUSED_NO_STROKE);
            return 0;
        }
        lane.history.require(expected, ok, refusal, false, false);
        if (!ok) {
            FUZZ_REQUIRE(nullRect || (rect.left == 0 && rect.top == 0 && rect.width == 0
                                      && rect.height == 0));
            return 0;
        }
        notePredicted(lane);
        if (lane.inkDrawn && out && lane.checksInk())
            FUZZ_REQUIRE(covers(rect, lane.ink));   // the ink taken back
        readParts(lane);
        if (lane.inkDrawn && out && lane.checksInk())
            FUZZ_REQUIRE(covers(rect, lane.ink));   // the ink drawn
        return 1;
    }

    // The library's guess goes as far as the pen's recent speed carries it, which need not be
    // moderate: the ink of samples that are not is not held to the rectangles.
    void notePredicted(StrokeLane &lane)
    {
        quillmark_predicted drawn;
        quillmark_stroke_predicted(lane.stroke, &drawn);
        for (int i = 0; i < drawn.count; ++i)
            for (int k : {0, 1})
                lane.moderatePredictions =
                    lane.moderatePredictions && isModerate(drawn.samples[4 * i + k]);
    }

    // Charges the predicted samples now drawn to the prediction budget, which is spent up when
    // they do not fit: the library's guess is only known once drawn.
    void chargePredicted(StrokeLane &lane)
    {
        quillmark_predicted drawn;
        quillmark_stroke_predicted(lane.stroke, &drawn);
        fuzzchecks::Pens cost = lane.pens.next();
        for (int i = 0; i < drawn.count; ++i)
            cost.add(drawn.samples[4 * i], drawn.samples[4 * i + 1]);
        fuzzchecks::CallCost travel = cost.dearer();
        travel.samples = 0;   // spent before the call
        if (!predictionBudget.spend(travel))
            predictionBudget.exhaust();
    }

    void predict(StrokeLane &lane)
    {
        const double horizon = in.number(fuzzbytes::kOther);
        const bool usable = std::isfinite(horizon) && horizon > 0 && horizon <= 100;
        fuzzchecks::CallCost frames;
        frames.samples = usable ? std::max(1, int(std::ceil(horizon / 16 - 1e-9))) : 0;
        if (!predictionBudget.spend(frames))
            return;
        if (predictionCall(lane, lane.history.prediction(QUILLMARK_REFUSED_HORIZON, usable),
                           [&](quillmark_stroke *s, quillmark_rect *r) {
                               return quillmark_stroke_predict(s, horizon, r);
                           }))
            chargePredicted(lane);
    }

    void predictSamples(StrokeLane &lane)
    {
        const int count = in.byte() % (kMaxPredicted + 1);
        std::vector<double> samples(4 * size_t(count));
        std::vector<float> xy;
        for (int i = 0; i < count; ++i) {
            double *s = &samples[4 * size_t(i)];
            s[0] = in.number(fuzzbytes::kX);
            s[1] = in.number(fuzzbytes::kY);
            s[2] = readStamp();
            s[3] = in.number(fuzzbytes::kPressure);
            xy.insert(xy.end(), {float(s[0]), float(s[1])});
            for (int k : {0, 1, 3})
                lane.moderatePredictions = lane.moderatePredictions
                                           && (!std::isfinite(s[k]) || isModerate(s[k]));
        }
        // Bit 7: a count below 0; bit 6: no array.
        const uint8_t shape = in.byte();
        const int passed = (shape & 0x80) ? int8_t(shape) : count;
        const double *array = (shape & 0x40) ? nullptr : samples.data();
        fuzzchecks::Pens cost = lane.pens.next();
        for (size_t i = 0; passed > 0 && i < xy.size(); i += 2)
            cost.add(xy[i], xy[i + 1]);
        if (!predictionBudget.spend(cost.dearer()))
            return;
        const bool usable = passed >= 0 && (passed == 0 || array);
        predictionCall(lane,
                       lane.history.prediction(usable ? QUILLMARK_REFUSED_PREDICTED
                                                      : QUILLMARK_REFUSED_NO_POINTS,
                                               usable),
                       [&](quillmark_stroke *s, quillmark_rect *r) {
                           return quillmark_stroke_predict_samples(s, passed, array, r);
                       });
    }

    // The reads not made above: the predicted samples, and the reads without an output.
    void otherReads(StrokeLane &lane)
    {
        const uint8_t which = in.byte() & 3;
        if (which == 0) {
            quillmark_predicted predicted;
            std::memset(&predicted, 0x5a, sizeof predicted);
            const int ok = quillmark_stroke_predicted(lane.stroke, &predicted);
            FUZZ_REQUIRE(ok == (lane.stroke ? 1 : 0));
            FUZZ_REQUIRE(predicted.count >= 0 && predicted.count <= kMaxPredicted);
            FUZZ_REQUIRE((predicted.samples == nullptr) == (predicted.count == 0));
            for (int i = 0; i < 4 * predicted.count; ++i)
                FUZZ_REQUIRE(std::isfinite(predicted.samples[i]));
            return;
        }
        const int ok = which == 1   ? quillmark_stroke_predicted(lane.stroke, nullptr)
                       : which == 2 ? quillmark_stroke_polygons(lane.stroke, nullptr)
                                    : quillmark_stroke_parts(lane.stroke, nullptr);
        FUZZ_REQUIRE(ok == 0);
        FUZZ_REQUIRE(quillmark_stroke_refusal(lane.stroke)
                     == (lane.stroke ? QUILLMARK_REFUSED_NO_OUTPUT : QUILLMARK_REFUSED_NO_STROKE));
    }

    // The engine table and the version, asked with numbers and names from the input.
    void engineTable()
    {
        const int id = int8_t(in.byte());
        const bool known = id >= 1 && id <= quillmark_engine_count();
        const char *name = quillmark_engine_name(id);
        const int feeds = quillmark_engine_feeds(id);
        FUZZ_REQUIRE((name != nullptr) == known && (feeds != 0) == known);
        if (known)
            FUZZ_REQUIRE(quillmark_engine_from_name(name) == id
                         && (feeds & QUILLMARK_FEED_SAMPLES) && (feeds & QUILLMARK_FEED_REPLAY));
        char text[9] = {};
        const int length = in.byte() % 9;
        for (int i = 0; i < length; ++i)
            text[i] = char(in.byte());
        const int byName = quillmark_engine_from_name(id & 1 ? text : nullptr);
        FUZZ_REQUIRE(byName == 0 || std::strcmp(quillmark_engine_name(byName), text) == 0);
        FUZZ_REQUIRE(quillmark_refusal_text(id) != nullptr && quillmark_version() != nullptr);
        int numbers[3] = {-1, -1, -1};
        quillmark_version_numbers(id & 2 ? &numbers[0] : nullptr, &numbers[1],
                                  id & 4 ? &numbers[2] : nullptr);
        FUZZ_REQUIRE(numbers[1] >= 0);
    }
};

} // namespace cface

#endif
