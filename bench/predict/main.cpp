// quillmark-predict-bench: what the pen predictor misses by on the real recordings, and what a
// prediction costs each engine early and late in a long stroke. Not a test: it prints figures.

#include "PredictorErrorTable.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {
const char *const kRealRecordings[] = {"mypaint-painting30sec.txt", "pf-recorded.txt"};

int usage(const char *program)
{
    std::fprintf(stderr, "usage: %s [--data DIR]\n", program);
    return 2;
}
} // namespace

int main(int argc, char **argv)
{
    std::string dataDir = QUILLMARK_DATA_DIR;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc)
            dataDir = argv[++i];
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
    return 0;
}
