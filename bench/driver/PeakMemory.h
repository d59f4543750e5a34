#ifndef QUILLMARK_BENCH_PEAKMEMORY_H
#define QUILLMARK_BENCH_PEAKMEMORY_H

// Peak memory of one subject on one long stroke, measured in a fresh process of this program so
// that the peaks of different subjects (and of the timing runs) do not mix.

#include <optional>
#include <string>

struct MemoryUse
{
    double peakMB = 0;          // the process's peak resident size (VmHWM), libraries included
    double bytesPerSample = 0;  // (peak - resident size before the stroke) / samples fed
    long samplesFed = 0;
    long samples = 0;           // samples in the stroke; more than samplesFed when cut off
    bool peakReset = false;     // the peak was reset to the resident size before the stroke
};

// The hidden command line of the child: quillmark-bench --memory-child SUBJECT FILE SECONDS
// WIDTH (the parent's pen width).
constexpr const char *kMemoryChildOption = "--memory-child";

// Runs this program again as a child that feeds the first stroke of file to the subject for at
// most budgetSeconds. Nothing when the child fails.
std::optional<MemoryUse> measureInChild(const std::string &subject, const std::string &file,
                                        double budgetSeconds);

// The child's report "peakKB residentKB samplesFed samples peakReset" in figures; nothing when
// it is malformed or no sample was fed.
std::optional<MemoryUse> parseMemoryReport(const std::string &report);

// The child's side: feeds the stroke and prints its figures on standard output for the parent.
// Returns the exit status.
int runMemoryChild(const std::string &subject, const std::string &file, double budgetSeconds);

#endif
