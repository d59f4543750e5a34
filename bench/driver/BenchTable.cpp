#include "BenchTable.h"

#include <algorithm>
#include <cstdio>
#include <string>

std::string fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

namespace {
constexpr const char *kMissMark = " !";

// value with a miss mark when it is above limit as printed (100.04 prints as 100.0 and meets
// a limit of 100).
std::string checked(double value, int decimals, double limit)
{
    const std::string text = fixed(value, decimals);
    return text + (std::stod(text) > limit ? kMissMark : "");
}

// Columns are padded by characters, not bytes (the header holds a "µ").
size_t displayWidth(const std::string &s)
{
    size_t n = 0;
    for (unsigned char c : s)
        n += (c & 0xC0) != 0x80;
    return n;
}

std::string padded(const std::string &s, size_t width, bool right)
{
    const std::string fill(width > displayWidth(s) ? width - displayWidth(s) : 0, ' ');
    return right ? fill + s : s + fill;
}

// " @11k" when the memory run stopped after 11,000 samples.
std::string reachedMark(const MemoryUse &memory)
{
    if (memory.samplesFed >= memory.samples)
        return "";
    return " @" + std::to_string(memory.samplesFed / 1000) + "k";
}

void printLine(const std::vector<std::string> &cells, const std::vector<size_t> &widths)
{
    std::string line = "|";
    for (size_t c = 0; c < cells.size(); ++c)
        line += " " + padded(cells[c], widths[c], c > 0) + " |";
    std::printf("%s\n", line.c_str());
}
} // namespace

std::vector<std::string> rowCells(const BenchRow &row, const std::string &label)
{
    const Targets t = targetsFor(row);
    const std::string none = "-";
    std::vector<std::string> cells{label};
    for (const std::optional<Spread> &w : {row.early, row.late}) {
        cells.push_back(w ? checked(w->median, 1, t.median) : none);
        cells.push_back(w ? checked(w->p99, 1, t.p99) : none);
    }
    cells.push_back(row.early && row.late && row.early->median > 0
                        ? checked(row.late->median / row.early->median, 2, kLateToEarlyLimit)
                        : none);
    cells.push_back(row.paintMs ? fixed(*row.paintMs, 2) : none);
    cells.push_back(row.memory ? fixed(row.memory->peakMB, 1) + reachedMark(*row.memory) : none);
    cells.push_back(row.memory ? fixed(row.memory->bytesPerSample, 0) : none);
    cells.push_back(row.recorded ? checked(row.recorded->median, 1, t.median) : none);
    cells.push_back(row.recorded ? checked(row.recorded->p99, 1, t.p99) : none);
    cells.push_back(std::to_string(row.runs) +
                    (row.earlyRuns > row.runs ? " (early " + std::to_string(row.earlyRuns) + ")"
                                              : ""));
    return cells;
}

Targets targetsFor(const BenchRow &row)
{
    return row.rebuildsTail ? kTailTargets : kTargets;
}

void printTable(const std::vector<BenchRow> &rows, const std::vector<std::string> &preamble)
{
    const std::vector<std::string> header{
        "engine",         "early median µs", "early p99 µs",   "late median µs",
        "late p99 µs",    "late/early",      "paint ms",       "peak MB (100k)",
        "bytes/sample",   "rec median µs",   "rec p99 µs",     "runs"};
    std::vector<std::vector<std::string>> body;
    std::vector<std::string> notes;
    for (const BenchRow &row : rows) {
        std::string label = row.name;
        for (const std::string &note : row.notes) {
            notes.push_back(note);
            label += " [" + std::to_string(notes.size()) + "]";
        }
        body.push_back(rowCells(row, label));
    }
    std::vector<size_t> widths;
    for (const std::string &h : header)
        widths.push_back(displayWidth(h));
    for (const std::vector<std::string> &cells : body)
        for (size_t c = 0; c < cells.size(); ++c)
            widths[c] = std::max(widths[c], displayWidth(cells[c]));

    for (const std::string &line : preamble)
        std::printf("%s\n", line.c_str());
    std::printf("\n");
    printLine(header, widths);
    std::string rule = "|";
    for (size_t c = 0; c < widths.size(); ++c)
        rule += (c == 0 ? ":" : "") + std::string(widths[c] + 1, '-') + (c == 0 ? "|" : ":|");
    std::printf("%s\n", rule.c_str());
    for (const std::vector<std::string> &cells : body)
        printLine(cells, widths);
    std::printf("\n");
    for (size_t i = 0; i < notes.size(); ++i)
        std::printf("[%zu] %s\n", i + 1, notes[i].c_str());
    std::printf("\nTargets (\"%s\" marks a miss): late/early <= %g for every engine; median <= %g µs "
                "and p99 <= %g µs,\nfor the two tail-rebuilding engines (extend, brush; also the "
                "gateway's brush) median <= %g µs and p99 <= %g µs.\n",
                kMissMark + 1, kLateToEarlyLimit, kTargets.median, kTargets.p99,
                kTailTargets.median, kTailTargets.p99);
}
