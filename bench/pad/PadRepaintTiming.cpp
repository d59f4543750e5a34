// quillmark-pad-repaint: what one sample costs quillmark-pad's canvas, the engine call with the
// repaint it asks for, early and late in a long recorded stroke.
//
//   quillmark-pad-repaint [--engine NAME] [--runs N] [--predict MS] [FILE]
//                         (brush, 3, the pad's 16 ms of ink ahead of the pen, data/synth-10k.txt)
//
// The canvas is shown on Qt's offscreen platform, sized to the stroke; after every sample the
// pending events, the repaint among them, are handled at once. The stroke is drawn N times on
// fresh canvases and each sample keeps its smallest time. Prints the median and p99
// microseconds of samples 100-199 and of the last 100 moves. --predict 0 draws no ink ahead of
// the pen, so that the prediction's share shows.

#include "EngineTable.h"
#include "PadCanvas.h"
#include "SampleStats.h"
#include "StrokeFile.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
constexpr size_t kWindow = 100;
constexpr size_t kEarlyFirst = 100;
constexpr double kMargin = 20;

double timedSample(PadCanvas &canvas, const PenSample &sample, size_t i, size_t n)
{
    const auto start = std::chrono::steady_clock::now();
    if (i == 0)
        canvas.penDown(sample);
    else if (i + 1 < n)
        canvas.penMove(sample);
    else
        canvas.penUp(sample);
    QCoreApplication::sendPostedEvents();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(end - start).count();
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::string engineName = "brush";
    int runs = 3;
    double predictMs = PadCanvas::kDefaultPredictionMs;
    std::string file = std::string(QUILLMARK_DATA_DIR) + "/synth-10k.txt";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--engine") == 0 && i + 1 < argc)
            engineName = argv[++i];
        else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--predict") == 0 && i + 1 < argc)
            predictMs = std::clamp(std::atof(argv[++i]), 0.0, 100.0);
        else
            file = argv[i];
    }
    const StrokeFileResult read = readStrokeFile(file);
    if (!read.error.empty() || read.strokes.empty()) {
        std::fprintf(stderr, "quillmark-pad-repaint: %s: no strokes\n", file.c_str());
        return 2;
    }
    const RecordedStroke &stroke = read.strokes.front();
    const EngineAdapter *engine = nullptr;
    for (const EngineAdapter &e : engineTable())
        if (e.name == engineName)
            engine = &e;
    if (!engine || stroke.size() < kEarlyFirst + 2 * kWindow) {
        std::fprintf(stderr, "quillmark-pad-repaint: unknown engine or a short stroke\n");
        return 2;
    }

    QRectF bounds(QPointF(stroke[0].x, stroke[0].y), QSizeF(1, 1));
    for (const RecordedSample &s : stroke)
        bounds |= QRectF(QPointF(s.x, s.y), QSizeF(1, 1));
    const QPointF shift = QPointF(kMargin, kMargin) - bounds.topLeft();
    const QSize size = bounds.size().toSize() + QSize(2 * kMargin, 2 * kMargin);
    std::vector<double> micros;
    for (int run = 0; run < runs; ++run) {
        PadCanvas canvas;
        canvas.setEngine(*engine);
        canvas.setPrediction(predictMs);
        canvas.resize(size);
        canvas.show();
        QCoreApplication::processEvents();
        std::vector<double> times;
        for (size_t i = 0; i < stroke.size(); ++i) {
            const RecordedSample &s = stroke[i];
            const PenSample sample{QPointF(s.x, s.y) + shift, s.pressure,
                                   int(s.timeMs - stroke[0].timeMs)};
            times.push_back(timedSample(canvas, sample, i, stroke.size()));
        }
        keepMinima(micros, times);
    }
    const size_t n = micros.size();
    const std::optional<Spread> early = windowSpread(micros, kEarlyFirst, kEarlyFirst + kWindow - 1);
    const std::optional<Spread> late = windowSpread(micros, n - kWindow - 1, n - 2);
    std::printf("quillmark-pad %s, %zu samples of %s, canvas %dx%d, %d runs, %g ms predicted: "
                "engine call and repaint per sample, early (100-199) median %.1f µs p99 %.1f µs, "
                "late (last 100 moves) median %.1f µs p99 %.1f µs, late/early %.2f\n",
                engineName.c_str(), n, file.c_str(), size.width(), size.height(), runs, predictMs,
                early->median, early->p99, late->median, late->p99, late->median / early->median);
    return 0;
}
