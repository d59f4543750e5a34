#include "PredictorErrorTable.h"

#include "PredictionError.h"

#include <cstdio>

namespace {
constexpr double kHorizonsMs[] = {8, 16, 33};

struct Row
{
    const char *what;
    bool (*includes)(const PredictionMiss &);
};

const Row kRows[] = {
    {"all", [](const PredictionMiss &) { return true; }},
    {"stopping", [](const PredictionMiss &m) { return m.stopping; }},
    {"turning", [](const PredictionMiss &m) { return m.turning; }},
};
} // namespace

void printPredictorErrorTable(const std::vector<NamedRecording> &recordings)
{
    std::printf("Pen predictor: distance from where the pen really was (recording interpolated), "
                "against predicting nothing (the newest sample)\n");
    std::printf("%-28s %-9s %5s %6s | %8s %8s %6s | %8s %8s %6s | %9s\n", "recording", "samples",
                "ms", "n", "med none", "med pred", "ratio", "p90 none", "p90 pred", "ratio",
                "pressure");
    for (const NamedRecording &recording : recordings) {
        for (double h : kHorizonsMs) {
            const std::vector<PredictionMiss> misses = predictionMisses(recording.strokes, h);
            for (const Row &row : kRows) {
                std::vector<double> held, predicted, pressure;
                for (const PredictionMiss &m : misses) {
                    if (!row.includes(m))
                        continue;
                    held.push_back(m.held);
                    predicted.push_back(m.predicted);
                    pressure.push_back(m.pressure);
                }
                const double medNone = quantile(held, 0.5), medPred = quantile(predicted, 0.5);
                const double p90None = quantile(held, 0.9), p90Pred = quantile(predicted, 0.9);
                std::printf("%-28s %-9s %5.0f %6zu | %8.2f %8.2f %6.2f | %8.2f %8.2f %6.2f "
                            "| %9.4f\n",
                            recording.name.c_str(), row.what, h, held.size(), medNone, medPred,
                            medNone > 0 ? medPred / medNone : 0.0, p90None, p90Pred,
                            p90None > 0 ? p90Pred / p90None : 0.0, quantile(pressure, 0.5));
            }
        }
    }
    std::printf("Targets: at 16 ms, 'all' median ratio <= 0.5 on each real recording; 'all' p90 "
                "ratio <= 1 at every horizon. 'pressure' is the median pressure miss. 'stopping' "
                "and 'turning' are judged by where the pen really went (it covers less than 0.3 of "
                "its last step's pace; its way ahead turns by more than 60 degrees).\n\n");
}
