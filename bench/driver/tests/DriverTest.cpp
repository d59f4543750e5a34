// The arithmetic and bookkeeping of quillmark-bench: order statistics, per-sample minima, the
// order of phase calls, repetitions under a budget, paint dispatch and the table's cells.

#include "BenchTable.h"
#include "PaintTiming.h"
#include "PeakMemory.h"
#include "SampleStats.h"
#include "StrokeTiming.h"
#include "Subjects.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <numeric>
#include <sstream>

namespace {
std::vector<double> counting(size_t n)
{
    std::vector<double> v(n);
    std::iota(v.begin(), v.end(), 1.0);
    return v;
}

TEST(SampleStats, MedianAndNearestRankP99)
{
    const Spread hundred = *spreadOf(counting(100));
    EXPECT_DOUBLE_EQ(hundred.median, 50.5);
    EXPECT_DOUBLE_EQ(hundred.p99, 99);  // the second largest of 100
    const Spread ten = *spreadOf({7, 3, 9, 1, 5, 2, 8, 4, 10, 6});
    EXPECT_DOUBLE_EQ(ten.median, 5.5);
    EXPECT_DOUBLE_EQ(ten.p99, 10);
    const Spread odd = *spreadOf({3, 1, 2});
    EXPECT_DOUBLE_EQ(odd.median, 2);
    EXPECT_DOUBLE_EQ(spreadOf({4})->p99, 4);
    EXPECT_FALSE(spreadOf({}));
}

TEST(SampleStats, WindowNeedsAllOfItsSamples)
{
    const std::vector<double> v = counting(10000);  // sample i took i + 1
    const Spread early = *windowSpread(v, 100, 199);
    EXPECT_DOUBLE_EQ(early.median, 150.5);
    EXPECT_DOUBLE_EQ(early.p99, 199);
    EXPECT_DOUBLE_EQ(windowSpread(v, 9900, 9999)->p99, 9999);
    EXPECT_FALSE(windowSpread(v, 9950, 10049));
    EXPECT_FALSE(windowSpread(v, 200, 100));

    // Pooled runs: a costly call in each run counts, wherever it falls; short runs are left out.
    const std::vector<std::vector<double>> runs{{1, 1, 9, 1}, {9, 1, 1, 1}, {1, 1}};
    const Spread pooled = *pooledWindowSpread(runs, 0, 3);
    EXPECT_DOUBLE_EQ(pooled.median, 1);
    EXPECT_DOUBLE_EQ(pooled.p99, 9);
    EXPECT_FALSE(pooledWindowSpread(runs, 2, 5));
}

TEST(SampleStats, MinimaPerSampleOverRunsOfAnyLength)
{
    std::vector<double> minima;
    keepMinima(minima, {5, 1, 7});
    keepMinima(minima, {2, 3});
    EXPECT_EQ(minima, (std::vector<double>{2, 1, 7}));
    keepMinima(minima, {9, 9, 9, 4});
    EXPECT_EQ(minima, (std::vector<double>{2, 1, 7, 4}));
}

// Records the phases it is fed; reports a rectangle for every sample with x > 0.
struct PhaseLog : StrokeFeed
{
    static inline std::vector<Phase> phases;
    TimedCall feed(const RecordedSample &sample, Phase phase) override
    {
        phases.push_back(phase);
        return {sample.x > 0 ? QRectF(sample.x, 0, 1, 1) : QRectF(), 0.5};
    }
    bool paint(QPainter &, QRectF) override { return false; }
};

std::unique_ptr<StrokeFeed> makePhaseLog()
{
    return std::make_unique<PhaseLog>();
}

RecordedStroke strokeOf(std::vector<double> xs, long long stepMs = 4)
{
    RecordedStroke stroke;
    for (size_t i = 0; i < xs.size(); ++i)
        stroke.push_back({xs[i], 0, (long long)i * stepMs, 0.5f});
    return stroke;
}

TEST(StrokeTiming, PhasesOpenAndCloseEachStrokeAndStopOnRequest)
{
    using P = Phase;
    PhaseLog log;
    PhaseLog::phases.clear();
    EXPECT_EQ(feedStroke(log, strokeOf({1, 2, 3, 4}), 10, false, [](auto &) { return true; }), 4u);
    EXPECT_EQ(PhaseLog::phases, (std::vector<P>{P::Start, P::Creating, P::Creating, P::End}));

    PhaseLog::phases.clear();
    EXPECT_EQ(feedStroke(log, strokeOf({1, 2, 3, 4}), 3, false, [](auto &) { return true; }), 3u);
    EXPECT_EQ(PhaseLog::phases, (std::vector<P>{P::Start, P::Creating, P::End}));

    PhaseLog::phases.clear();
    int calls = 0;
    EXPECT_EQ(feedStroke(log, strokeOf({1, 2, 3, 4}), 4, false,
                         [&](auto &) { return ++calls < 2; }),
              2u);
    EXPECT_EQ(PhaseLog::phases, (std::vector<P>{P::Start, P::Creating}));

    PhaseLog::phases.clear();
    feedStroke(log, strokeOf({1}), 4, false, [](auto &) { return true; });
    EXPECT_EQ(PhaseLog::phases, (std::vector<P>{P::Start}));
}

TEST(StrokeTiming, PacedFeedWaitsForEachRecordedTime)
{
    PhaseLog log;
    const auto start = std::chrono::steady_clock::now();
    feedStroke(log, strokeOf({1, 2, 3}, 30), 3, true, [](auto &) { return true; });
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(60));
}

TEST(StrokeTiming, RunsEveryStrokeOnAFreshFeedAndKeepsTheLastRectangle)
{
    const Subject subject{"log", false, false, makePhaseLog};
    PhaseLog::phases.clear();
    const InputTimes t = timeStrokes(subject, {strokeOf({1, 2}), strokeOf({3, 4, 0})}, SIZE_MAX,
                                     TimingLimits{3, 60, 60, 0});
    EXPECT_EQ(t.runs, 3);
    EXPECT_EQ(t.prefixRuns, 3);
    EXPECT_FALSE(t.cutOff);
    EXPECT_EQ(t.micros, std::vector<double>(5, 0.5));
    EXPECT_EQ(std::count(PhaseLog::phases.begin(), PhaseLog::phases.end(), Phase::Start), 6);
    EXPECT_EQ(t.finalDirty, QRectF(4, 0, 1, 1));  // the last sample reported nothing
    ASSERT_TRUE(t.finalFeed);
}

TEST(StrokeTiming, BudgetStopsFullRunsButTheEarlyPrefixIsStillRepeated)
{
    const Subject subject{"log", false, false, makePhaseLog};
    PhaseLog::phases.clear();
    const InputTimes t =
        timeStrokes(subject, {strokeOf(std::vector<double>(50, 1))}, SIZE_MAX,
                    TimingLimits{4, 1e-9, 60, 10});
    EXPECT_EQ(t.runs, 1);
    EXPECT_EQ(t.prefixRuns, 4);
    EXPECT_EQ(t.micros.size(), 50u);
    EXPECT_EQ(PhaseLog::phases.size(), 50u + 3 * 10);
    EXPECT_EQ(std::count(PhaseLog::phases.begin(), PhaseLog::phases.end(), Phase::End), 1);
}

TEST(Subjects, EveryEngineAndGatewayDrawsAndTheOutlineEnginesPaint)
{
    const RecordedStroke stroke = strokeOf({10, 14, 19, 25, 32, 40, 49, 59});
    ASSERT_EQ(subjects().size(), 14u);  // six engines, two gateway pens, six C strokes
    for (const Subject &s : subjects()) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(findSubject(s.name), &s);
        EXPECT_EQ(s.baseline != nullptr, s.name.rfind("C stroke", 0) == 0);
        if (s.baseline) {
            EXPECT_NE(findSubject(s.baseline), nullptr);
        }
        const InputTimes t = timeStrokes(s, {stroke}, SIZE_MAX, TimingLimits{1, 60, 60, 0});
        ASSERT_EQ(t.micros.size(), stroke.size());
        ASSERT_FALSE(t.finalDirty.isEmpty());
        const bool paints = s.name.rfind("OxStrokes", 0) == 0 && s.name != "OxStrokesFixWidth";
        EXPECT_EQ(bool(paintMillis(*t.finalFeed, t.finalDirty, QRectF(0, -20, 80, 40), 2, 1)),
                  paints);
    }
    EXPECT_EQ(findSubject("no such engine"), nullptr);
}

TEST(BenchTable, CellsMarkEveryMissAgainstTheRowsTargets)
{
    BenchRow row;
    row.early = Spread{10, 100};  // on the targets: no mark
    row.late = Spread{15.2, 100.04};  // judged as printed: 100.0 meets 100
    row.recorded = Spread{20.06, 100.1};
    row.runs = 1;
    row.earlyRuns = 5;
    std::vector<std::string> cells = rowCells(row, "e");
    EXPECT_EQ(cells, (std::vector<std::string>{"e", "10.0", "100.0", "15.2", "100.0", "1.52 !", "-",
                                               "-", "-", "20.1 !", "100.1 !", "1 (early 5)"}));

    row.rebuildsTail = true;
    row.late = Spread{15, 250};
    row.paintMs = 3.456;
    row.memory = MemoryUse{30.04, 1499.6, 12345, 100000, true};
    cells = rowCells(row, "e");
    EXPECT_EQ(cells[4], "250.0 !");
    EXPECT_EQ(cells[5], "1.50");
    EXPECT_EQ(cells[9], "20.1");
    EXPECT_EQ(cells[10], "100.1");
    EXPECT_EQ(cells[6], "3.46");
    EXPECT_EQ(cells[7], "30.0 @12k");
    EXPECT_EQ(cells[8], "1500");
    row.memory->samplesFed = 100000;
    EXPECT_EQ(rowCells(row, "e")[7], "30.0");
}
TEST(BenchTable, RowsLineUpAndNotesAreNumberedInOrder)
{
    BenchRow a;
    a.name = "first";
    a.early = Spread{1, 2};
    a.notes = {"note one", "note two"};
    BenchRow b;
    b.name = "second engine";
    b.notes = {"note three"};
    testing::internal::CaptureStdout();
    printTable({a, b}, {"preamble"});
    std::istringstream out(testing::internal::GetCapturedStdout());
    std::vector<std::string> table, lines;
    for (std::string line; std::getline(out, line);)
        (line.rfind("|", 0) == 0 ? table : lines).push_back(line);
    ASSERT_EQ(table.size(), 4u);  // header, rule, two rows
    EXPECT_NE(table[2].find("| first [1] [2] "), std::string::npos);
    EXPECT_NE(table[3].find("| second engine [3] "), std::string::npos);
    const auto width = [](const std::string &s) {  // in characters: the header holds "µ"
        return std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; });
    };
    for (const std::string &line : table)
        EXPECT_EQ(width(line), width(table[0])) << line;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "[3] note three"), lines.end());
}

TEST(PeakMemory, ReportGivesPeakAndBytesPerSampleFed)
{
    const MemoryUse use = *parseMemoryReport("30720 10240 10000 100000 1\n");
    EXPECT_DOUBLE_EQ(use.peakMB, 30);
    EXPECT_DOUBLE_EQ(use.bytesPerSample, 20480.0 * 1024 / 10000);
    EXPECT_EQ(use.samplesFed, 10000);
    EXPECT_EQ(use.samples, 100000);
    EXPECT_TRUE(use.peakReset);
    EXPECT_FALSE(parseMemoryReport("30720 10240 0 100000 1"));
    EXPECT_FALSE(parseMemoryReport("30720 10240"));
    EXPECT_FALSE(parseMemoryReport(""));
}

TEST(PeakMemory, ChildFeedsTheWholeStrokeAndReportsItsFigures)
{
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("stroke.txt")).toStdString();
    std::ofstream(file) << "# a stroke\n0 0 0 0.5\n5 1 4 0.5\n11 3 8 0.6\n18 2 13 0.7\n";
    testing::internal::CaptureStdout();
    ASSERT_EQ(runMemoryChild("OxStrokesVaryWidthPressure", file, 60), 0);
    std::fflush(stdout);
    const std::optional<MemoryUse> use = parseMemoryReport(testing::internal::GetCapturedStdout());
    ASSERT_TRUE(use);
    EXPECT_EQ(use->samplesFed, 4);
    EXPECT_EQ(use->samples, 4);
    EXPECT_GT(use->peakMB, 0);

    EXPECT_EQ(runMemoryChild("no such engine", file, 60), 2);
    EXPECT_EQ(runMemoryChild("OxStrokesFixWidth", file + ".missing", 60), 2);
}
} // namespace
