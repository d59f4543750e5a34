// quillmark-bench: the cost of every phase call, early and late in a long stroke, for each engine
// and the gateway, with the cost of painting and the memory a very long stroke takes; one table.
//
//   quillmark-bench [--long FILE] [--data DIR] [--runs N] [--budget S] [--paced-runs N]
//                   [--memory-budget S] [--width W] [--only SUBJECT]...
//
// Per-sample times are steady_clock around the phase call alone. The whole input is fed --runs
// times (fresh engines each time) and each sample keeps its smallest time over the runs, which
// removes most of the scheduler's interruptions on a busy machine; a run does not start when it
// would end past --budget seconds for that subject (the first always runs), so an engine whose
// cost grows with the stroke gets fewer runs. The paced gateway brush runs --paced-runs times
// (about 8.5 s each). The memory run of a subject stops after --memory-budget seconds. --width sets
// the pen width of every subject (default 6); each --only names a subject to measure (the first
// column of the table), and with any --only the gateway export table is left out.

#include "BenchTable.h"
#include "ExportTiming.h"
#include "PaintTiming.h"
#include "PeakMemory.h"
#include "StrokeTiming.h"
#include "Subjects.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {
constexpr size_t kLongStrokeSamples = 10000;
constexpr size_t kPacedSamples = 2000;
constexpr size_t kWindow = 100;
constexpr size_t kEarlyFirst = 100;
constexpr int kPaintRepetitions = 21;
constexpr double kPaintBudgetSeconds = 5;

struct Options
{
    std::string dataDir = QUILLMARK_DATA_DIR;
    std::string longFile;  // the 100,000-sample stroke for the memory columns
    TimingLimits limits{5, 10, 90};
    int pacedRuns = 3;
    double memoryBudgetSeconds = 10;
    float width = 6;
    std::vector<std::string> only;   // empty: every subject
};

constexpr const char *kUsage =
    "usage: quillmark-bench [--long FILE] [--data DIR] [--runs N] [--budget SECONDS]\n"
    "                       [--paced-runs N] [--memory-budget SECONDS] [--width W]\n"
    "                       [--only SUBJECT]...\n";

[[noreturn]] void usage(const char *why)
{
    std::fprintf(stderr, "quillmark-bench: %s\n%s", why, kUsage);
    std::exit(2);
}

double positiveNumber(const char *text)
{
    char *end = nullptr;
    const double v = std::strtod(text, &end);
    if (end == text || *end || !(v > 0))
        usage("expected a positive number");
    return v;
}

int positiveCount(const char *text)
{
    const double v = positiveNumber(text);
    if (v != std::floor(v) || v > 1000)
        usage("expected a whole number from 1 to 1000");
    return int(v);
}

Options parseOptions(int argc, char **argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            std::printf("%s", kUsage);
            std::exit(0);
        }
        if (i + 1 >= argc)
            usage(("missing value after " + arg).c_str());
        const char *value = argv[++i];
        if (arg == "--long")
            o.longFile = value;
        else if (arg == "--data")
            o.dataDir = value;
        else if (arg == "--runs")
            o.limits.runs = positiveCount(value);
        else if (arg == "--budget")
            o.limits.budgetSeconds = positiveNumber(value);
        else if (arg == "--paced-runs")
            o.pacedRuns = positiveCount(value);
        else if (arg == "--memory-budget")
            o.memoryBudgetSeconds = positiveNumber(value);
        else if (arg == "--width")
            o.width = float(positiveNumber(value));
        else if (arg == "--only" && findSubject(value))
            o.only.push_back(value);
        else if (arg == "--only")
            usage(("no subject named " + std::string(value)).c_str());
        else
            usage(("unknown option " + arg).c_str());
    }
    return o;
}

std::vector<RecordedStroke> strokesOf(const std::string &file)
{
    StrokeFileResult read = readStrokeFile(file);
    if (!read.error.empty() || read.strokes.empty()) {
        std::fprintf(stderr, "quillmark-bench: %s\n",
                     read.error.empty() ? (file + ": no strokes").c_str() : read.error.c_str());
        std::exit(2);
    }
    return read.strokes;
}

QRectF boundsOf(const RecordedStroke &stroke, double margin)
{
    QRectF r(QPointF(stroke[0].x, stroke[0].y), QSizeF(0, 0));
    for (const RecordedSample &s : stroke)
        r |= QRectF(QPointF(s.x, s.y), QSizeF(0.001, 0.001));
    return r.adjusted(-margin, -margin, margin, margin);
}

std::string withThousands(size_t n)
{
    std::string digits = std::to_string(n);
    for (int i = int(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(size_t(i), ",");
    return digits;
}

std::string windowName(size_t first)
{
    return withThousands(first) + "-" + withThousands(first + kWindow - 1);
}

// The long stroke with its last 2 * kWindow samples replaced by samples 0 .. 2 * kWindow - 1,
// moved in place and time so that they continue the stroke: the late window then draws what the
// early window draws. How long a tail is in samples depends on the writing speed, so only this
// tells the cost of a long stroke from the cost of slower writing.
RecordedStroke withStartRepeatedAtEnd(RecordedStroke stroke, size_t n)
{
    const size_t first = n - 2 * kWindow;
    const RecordedSample &from = stroke[0];
    const RecordedSample &to = stroke[first - 1];
    // Sample 0 goes one first step (sample 0 to 1) beyond the last sample kept.
    const RecordedSample &next = stroke[1];
    const double dx = to.x + (next.x - from.x) - from.x, dy = to.y + (next.y - from.y) - from.y;
    const long long dt = to.timeMs + (next.timeMs - from.timeMs) - from.timeMs;
    for (size_t i = 0; i < 2 * kWindow; ++i) {
        RecordedSample s = stroke[i];
        s.x += dx;
        s.y += dy;
        s.timeMs += dt;
        stroke[first + i] = s;
    }
    return stroke;
}

class Bench
{
public:
    explicit Bench(const Options &options)
        : options(options),
          longStroke(strokesOf(options.dataDir + "/synth-10k.txt").front()),
          recordings(strokesOf(options.dataDir + "/mypaint-painting30sec.txt"))
    {
        for (RecordedStroke &s : strokesOf(options.dataDir + "/pf-recorded.txt"))
            recordings.push_back(std::move(s));
        if (longStroke.size() < kLongStrokeSamples) {
            std::fprintf(stderr, "quillmark-bench: synth-10k.txt holds fewer than %zu samples\n",
                         kLongStrokeSamples);
            std::exit(2);
        }
    }

    BenchRow measure(const Subject &subject) const
    {
        BenchRow row;
        row.name = subject.name;
        row.rebuildsTail = subject.rebuildsTail;
        const size_t n = subject.paced ? kPacedSamples : kLongStrokeSamples;
        progress(subject, "long stroke");
        const InputTimes times = timeStrokes(subject, {longStroke}, n, longStrokeLimits(subject));
        row.runs = times.runs;
        row.earlyRuns = times.prefixRuns;
        if (subject.paced) {
            // Each paced run meets other times of day, so its costly calls (those that commit
            // the tail) fall on other samples: a per-sample minimum would hide them all.
            row.early = pooledWindowSpread(times.runTimes, kEarlyFirst, kEarlyFirst + kWindow - 1);
            row.late = pooledWindowSpread(times.runTimes, n - kWindow, n - 1);
        } else {
            row.early = windowSpread(times.micros, kEarlyFirst, kEarlyFirst + kWindow - 1);
            row.late = windowSpread(times.micros, n - kWindow, n - 1);
        }
        if (times.cutOff)
            row.notes.push_back("the first run was cut off after " +
                                withThousands(times.micros.size()) + " samples");
        if (subject.paced)
            row.notes.push_back(pacedNote());
        else
            measureTheRest(subject, times, row);
        if (subject.rebuildsTail && !subject.paced && row.early)
            row.notes.push_back(sameShapeNote(subject, *row.early));
        return row;
    }

private:
    // The long stroke's limits: the early window always gets every run; the paced brush runs as
    // often as asked, whatever it takes.
    TimingLimits longStrokeLimits(const Subject &subject) const
    {
        TimingLimits limits = options.limits;
        limits.earlyPrefix = kEarlyFirst + kWindow;
        if (subject.paced) {
            limits.runs = options.pacedRuns;
            limits.budgetSeconds = HUGE_VAL;
        }
        return limits;
    }

    void measureTheRest(const Subject &subject, const InputTimes &times, BenchRow &row) const
    {
        if (times.finalFeed && !times.finalDirty.isEmpty()) {
            progress(subject, "paint");
            row.paintMs = paintMillis(*times.finalFeed, times.finalDirty, boundsOf(longStroke, 20),
                                      kPaintRepetitions, kPaintBudgetSeconds);
        }
        progress(subject, "recordings");
        row.recorded = spreadOf(
            timeStrokes(subject, recordings, SIZE_MAX, options.limits).micros);
        if (options.longFile.empty())
            return;
        progress(subject, "memory");
        row.memory = measureInChild(subject.name, options.longFile, options.memoryBudgetSeconds);
        if (!row.memory)
            row.notes.push_back("the memory run failed");
        else if (row.memory->samplesFed < row.memory->samples)
            row.notes.push_back("memory: the time budget ran out after " +
                                withThousands(size_t(row.memory->samplesFed)) + " of " +
                                withThousands(size_t(row.memory->samples)) +
                                " samples (@); peak and bytes/sample up to there");
    }

    std::string sameShapeNote(const Subject &subject, const Spread &early) const
    {
        progress(subject, "same shape late");
        const RecordedStroke repeated = withStartRepeatedAtEnd(longStroke, kLongStrokeSamples);
        TimingLimits limits = options.limits;
        limits.earlyPrefix = kEarlyFirst + kWindow;
        const InputTimes times = timeStrokes(subject, {repeated}, kLongStrokeSamples, limits);
        const std::optional<Spread> late = windowSpread(times.micros, kLongStrokeSamples - kWindow,
                                                        kLongStrokeSamples - 1);
        if (!late)
            return "same shape: not measured";
        return "same shape: with samples " + withThousands(kLongStrokeSamples - 2 * kWindow) +
               "-" + withThousands(kLongStrokeSamples - 1) + " replaced by samples 0-" +
               std::to_string(2 * kWindow - 1) +
               " (moved to continue the stroke), the late window costs " +
               fixed(late->median, 1) + " µs median, " + fixed(late->p99, 1) +
               " µs p99: late/early " + fixed(late->median / early.median, 2);
    }

    static std::string pacedNote()
    {
        return "paced at the recording's real rate over its first " +
               withThousands(kPacedSamples) + " samples; early " + windowName(kEarlyFirst) +
               ", late " + windowName(kPacedSamples - kWindow) +
               "; median and p99 over every call of every run, not over per-sample minima"
               "; no paint (the host paints), no recordings or 100k stroke (real time)";
    }

    static void progress(const Subject &subject, const char *what)
    {
        std::fprintf(stderr, "quillmark-bench: %s: %s\n", subject.name.c_str(), what);
    }

    const Options &options;
    RecordedStroke longStroke;
    std::vector<RecordedStroke> recordings;
};

std::string shortest(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

std::vector<std::string> preamble(const Options &o, bool peakReset)
{
    std::vector<std::string> lines{
        "quillmark-bench: per-sample cost of the phase calls (steady_clock around each call), pen "
        "width " + shortest(penWidth()) + ".",
        "early: samples " + windowName(kEarlyFirst) + ", late: samples " +
            windowName(kLongStrokeSamples - kWindow) + " of synth-10k.txt (10,000 samples, "
            "240 Hz, recorded \"time\" and \"pressure\";",
        "the last sample gets endCreate); rec: every sample of mypaint-painting30sec.txt and "
        "pf-recorded.txt, one stroke after the other.",
        "Each sample's time is its minimum over the runs (the runs column: up to " +
            std::to_string(o.limits.runs) + " runs within " + shortest(o.limits.budgetSeconds) +
            " s per subject,",
        "then runs over the early window alone up to " + std::to_string(o.limits.runs) + "; " +
            std::to_string(o.pacedRuns) +
            " for the paced brush); median and p99 (nearest rank) over those minima (the paced "
            "brush: over every call).",
        "paint: median of up to " + std::to_string(kPaintRepetitions) +
            " paint calls of the last reported rectangle on the finished 10,000-sample outline "
            "(antialiased ARGB32 QImage).",
    };
    if (o.longFile.empty())
        lines.push_back("peak MB, bytes/sample: not measured (no 100,000-sample stroke given; "
                        "--long FILE).");
    else
        lines.push_back("peak MB: VmHWM of a fresh process per subject (malloc's mmap threshold "
                        "held at 128 KiB) fed " + o.longFile +
                        "; bytes/sample: (peak - resident size before the stroke) / samples" +
                        (peakReset ? "." : " (peak not reset before the stroke)."));
    lines.push_back("machine: " + std::to_string(std::thread::hardware_concurrency()) +
                    " cores; build: " QUILLMARK_BUILD_TYPE ".");
    return lines;
}
// How much the C face (call plus the read of a host that keeps its own copy) adds to its engine's
// median, early and late, against the allowance kFaceAllowanceMicros.
constexpr double kFaceAllowanceMicros = 3;

void addBaselineNote(const Subject &subject, const std::vector<BenchRow> &rows, BenchRow &row)
{
    if (!subject.baseline)
        return;
    const BenchRow *base = nullptr;
    for (const BenchRow &r : rows)
        if (r.name == subject.baseline)
            base = &r;
    if (!base || !base->early || !base->late || !row.early || !row.late)
        return;
    const double early = row.early->median - base->early->median;
    const double late = row.late->median - base->late->median;
    const bool met = std::max(early, late) <= kFaceAllowanceMicros;
    row.notes.push_back("median over " + std::string(subject.baseline) + "'s own: early " +
                        fixed(early, 1) + " µs, late " + fixed(late, 1) + " µs (allowance " +
                        shortest(kFaceAllowanceMicros) + " µs: " + (met ? "met" : "missed") +
                        "); the call includes quillmark_stroke_parts and the copy of what changed");
}
} // namespace

int main(int argc, char **argv)
{
    if (argc == 6 && std::strcmp(argv[1], kMemoryChildOption) == 0) {
        setPenWidth(float(positiveNumber(argv[5])));
        return runMemoryChild(argv[2], argv[3], positiveNumber(argv[4]));
    }
    const Options options = parseOptions(argc, argv);
    setPenWidth(options.width);
    const Bench bench(options);
    std::vector<const Subject *> chosen;
    for (const Subject &subject : subjects()) {
        if (options.only.empty()
            || std::find(options.only.begin(), options.only.end(), subject.name)
                   != options.only.end())
            chosen.push_back(&subject);
    }
    std::vector<BenchRow> rows;
    bool peakReset = true;
    for (const Subject *subject : chosen) {
        rows.push_back(bench.measure(*subject));
        if (rows.back().memory)
            peakReset = peakReset && rows.back().memory->peakReset;
    }
    for (size_t i = 0; i < rows.size(); ++i)
        addBaselineNote(*chosen[i], rows, rows[i]);
    printTable(rows, preamble(options, peakReset));
    if (!options.only.empty())
        return 0;
    std::fprintf(stderr, "quillmark-bench: gateway export\n");
    const RecordedStroke stroke = strokesOf(options.dataDir + "/synth-10k.txt").front();
    printExportTable(timeGatewayExports(stroke), stroke.size());
    return 0;
}
