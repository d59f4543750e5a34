// quillmark-predict-bench: what the pen predictor misses by on the real recordings, and what a
// prediction costs each engine early and late in a long stroke. Not a test: it prints figures.

#include "PredictionTiming.h"
#include "PredictorErrorTable.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
const char *const kRealRecordings[] = {"mypaint-painting30sec.txt", "pf-recorded.txt"};

int usage(const char *program)
{
    std::fprintf(stderr, "usage: %s [--data DIR] [--runs N] [--errors-only]\n", program);
    return 2;
}
} // namespace

int main(int argc, char **argv)
{
    std::string dataDir = QUILLMARK_DATA_DIR;
    int runs = 5;
    bool errorsOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc)
            dataDir = argv[++i];
        else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc && std::atoi(argv[i + 1]) > 0)
            runs = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--errors-only") == 0)
            errorsOnly = true;
        else
            return usage(argv[0]);
    }
    std::vector<NamedRecording> recordings;
    for (const char *name : kRealRecordings) {
        StrokeFileResult file = readStrokeFile(dataDir + "/" + name);
        if (!file.error.empty()) {
            std::fprintf(stderr, "%s\n", file.error.c_str());
            return 2;
        }
        recordings.push_back({name, file.strokes});
    }
    printPredictorErrorTable(recordings);
    if (errorsOnly)
        return 0;
    const StrokeFileResult longStroke = readStrokeFile(dataDir + "/synth-10k.txt");
    if (!longStroke.error.empty() || longStroke.strokes.empty()) {
        std::fprintf(stderr, "%s\n", longStroke.error.c_str());
        return 2;
    }
    printPredictionTiming(longStroke.strokes[0], runs);
    return 0;
}
