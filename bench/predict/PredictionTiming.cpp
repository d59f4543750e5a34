#include "PredictionTiming.h"

#include "OxEngineKind.h"
#include "OxPenPredictor.h"
#include "OxPredictedInk.h"
#include "SampleStats.h"

#include <chrono>
#include <cstdio>
#include <optional>

namespace {
constexpr double kHorizonMs = 16;
constexpr float kWidth = 6;
constexpr size_t kEarlyFirst = 100, kEarlyLast = 199;
constexpr size_t kLateFirst = 9900, kLateLast = 9999;
// The prediction may cost this many times the real call alone.
constexpr double kAllowedRatio = 3.0;

enum class Subject { kReal, kRealAndDrawn, kRealAndPrediction, kPredictor };

template <class Call>
double micros(Call call)
{
    const auto start = std::chrono::steady_clock::now();
    call();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(end - start).count();
}

// One run of the whole stroke through a fresh engine; the time of every sample.
std::vector<double> runOnce(const OxEngineKind &kind, const RecordedStroke &stroke, Subject subject)
{
    std::unique_ptr<OxStrokesFixWidth> engine = kind.make();
    OxPredictedInk ink;
    std::vector<OxInkPoint> points, seen;
    QPainterPath path;
    OxEngineKind::Params params{{QStringLiteral("time"), 0}, {QStringLiteral("pressure"), 0.0f}};
    std::vector<double> times(stroke.size());
    seen.reserve(stroke.size());
    for (size_t i = 0; i < stroke.size(); ++i) {
        const RecordedSample &s = stroke[i];
        seen.emplace_back(float(s.x), float(s.y), double(s.timeMs), s.pressure, 0.0f, 0.0f);
        params[QStringLiteral("time")] = int(s.timeMs);
        params[QStringLiteral("pressure")] = s.pressure;
        const QPointF at(s.x, s.y);
        const bool last = i + 1 == stroke.size();
        auto real = [&] {
            if (i == 0)
                engine->startCreate(points, path, at, params, kWidth);
            else if (last)
                engine->endCreate(points, path, at, params, kWidth);
            else
                engine->creating(points, path, at, params, kWidth);
        };
        auto guess = [&] {
            return last ? std::vector<OxInkPoint>()
                        : OxPenPredictor::predict(seen.data(), int(seen.size()), kHorizonMs);
        };
        // The previous prediction taken back, the real call, the predicted samples drawn.
        auto realAndDrawn = [&](auto predicted) {
            ink.takeBack();
            real();
            QRectF changed;
            if (!last)
                ink.draw(*engine, points, path, predicted(), kWidth, changed);
        };
        switch (subject) {
        case Subject::kReal:
            times[i] = micros(real);
            break;
        case Subject::kRealAndDrawn: {
            // The predicted samples are ready before the real one comes (a platform's own, or
            // the predictor's, timed in its own row).
            const std::vector<OxInkPoint> ready = guess();
            times[i] = micros([&] { realAndDrawn([&] { return ready; }); });
            break;
        }
        case Subject::kRealAndPrediction:
            times[i] = micros([&] { realAndDrawn(guess); });
            break;
        case Subject::kPredictor:
            real();
            times[i] = micros([&] {
                volatile size_t n =
                    OxPenPredictor::predict(seen.data(), int(seen.size()), kHorizonMs).size();
                (void)n;
            });
            break;
        }
    }
    return times;
}

struct Figures
{
    Spread early, late;
};

Figures measure(const OxEngineKind &kind, const RecordedStroke &stroke, Subject subject, int runs)
{
    std::vector<double> minima;
    for (int r = 0; r < runs; ++r)
        keepMinima(minima, runOnce(kind, stroke, subject));
    return {windowSpread(minima, kEarlyFirst, kEarlyLast).value_or(Spread()),
            windowSpread(minima, kLateFirst, kLateLast).value_or(Spread())};
}
} // namespace

void printPredictionTiming(const RecordedStroke &stroke, int runs)
{
    if (stroke.size() <= kLateLast) {
        std::printf("the long stroke has fewer than %zu samples\n", kLateLast + 1);
        return;
    }
    std::printf("What a sample costs with a %.0f ms prediction, per engine (us; each sample the "
                "smallest of %d runs; early: samples %zu-%zu, late: %zu-%zu)\n",
                kHorizonMs, runs, kEarlyFirst, kEarlyLast, kLateFirst, kLateLast);
    std::printf("%-9s %-24s | %8s %8s | %8s %8s | %10s | %8s\n", "engine", "subject", "early med",
                "p99", "late med", "p99", "late/early", "x real");
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        const Figures real = measure(kind, stroke, Subject::kReal, runs);
        const struct
        {
            const char *name;
            Subject subject;
        } rows[] = {{"real sample", Subject::kReal},
                    {"real + 16 ms drawn", Subject::kRealAndDrawn},
                    {"real + predictor + drawn", Subject::kRealAndPrediction},
                    {"predictor alone", Subject::kPredictor}};
        for (const auto &row : rows) {
            const Figures f =
                row.subject == Subject::kReal ? real : measure(kind, stroke, row.subject, runs);
            const double ratioEarly = f.early.median / real.early.median;
            const double ratioLate = f.late.median / real.late.median;
            const bool judged = row.subject == Subject::kRealAndDrawn;
            std::printf("%-9s %-24s | %8.2f %8.2f | %8.2f %8.2f | %10.2f | %4.2f %4.2f%s\n",
                        kind.name, row.name, f.early.median, f.early.p99, f.late.median,
                        f.late.p99, f.late.median / f.early.median, ratioEarly, ratioLate,
                        judged && (ratioEarly > kAllowedRatio || ratioLate > kAllowedRatio) ? " !"
                                                                                            : "");
        }
    }
    std::printf("'drawn': the previous prediction taken back, the real call, and the predicted "
                "samples of a 16 ms horizon drawn (OxPredictedInk); the samples come from the "
                "predictor before the timing, whose cost is the last row and is included in the "
                "row before it.\n'x real': the row's median over the real sample's, early and "
                "late (target for 'drawn': at most %.0f, with '!' after a miss).\n",
                kAllowedRatio);
}
