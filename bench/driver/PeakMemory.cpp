#include "PeakMemory.h"

#include "StrokeTiming.h"
#include "Subjects.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// A "Name:   1234 kB" line of /proc/self/status, in kB; -1 when missing.
long statusKB(const std::string &name)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, name.size() + 1, name + ":") == 0)
            return std::stol(line.substr(name.size() + 1));
    }
    return -1;
}

// Sets the peak resident size back to the current one (Linux 4.0 and later).
bool resetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return bool(clear);
}

// Runs argv as a child process and returns what it wrote on standard output; nothing when it
// could not start or did not exit with status 0.
std::optional<std::string> childOutput(std::vector<std::string> args)
{
    int fds[2];
    if (pipe(fds) != 0)
        return std::nullopt;
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        std::vector<char *> argv;
        for (std::string &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        // glibc raises its threshold for mapping a block whenever a mapped block is freed, so
        // the peak would depend on what the process freed before the stroke (reading the file,
        // the subject table); held at its default from the start, the peak is the stroke's.
        setenv("GLIBC_TUNABLES", "glibc.malloc.mmap_threshold=131072", 1);
        execv("/proc/self/exe", argv.data());
        _exit(127);
    }
    close(fds[1]);
    std::string out;
    char buffer[256];
    ssize_t got;
    while ((got = read(fds[0], buffer, sizeof buffer)) > 0)
        out.append(buffer, size_t(got));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return out;
}
} // namespace

std::optional<MemoryUse> measureInChild(const std::string &subject, const std::string &file,
                                        double budgetSeconds)
{
    const std::optional<std::string> out = childOutput(
        {"quillmark-bench", kMemoryChildOption, subject, file, std::to_string(budgetSeconds),
         std::to_string(penWidth())});
    if (!out)
        return std::nullopt;
    return parseMemoryReport(*out);
}

std::optional<MemoryUse> parseMemoryReport(const std::string &report)
{
    long peakKB = 0, baseKB = 0;
    int reset = 0;
    MemoryUse use;
    std::istringstream in(report);
    if (!(in >> peakKB >> baseKB >> use.samplesFed >> use.samples >> reset) || use.samplesFed <= 0)
        return std::nullopt;
    use.peakMB = double(peakKB) / 1024;
    use.bytesPerSample = double(peakKB - baseKB) * 1024 / double(use.samplesFed);
    use.peakReset = reset != 0;
    return use;
}

int runMemoryChild(const std::string &subjectName, const std::string &file, double budgetSeconds)
{
    const Subject *subject = findSubject(subjectName);
    StrokeFileResult read = readStrokeFile(file);
    if (!subject || !read.error.empty() || read.strokes.empty())
        return 2;
    const RecordedStroke &stroke = read.strokes.front();
    const bool reset = resetPeak();
    const long baseKB = statusKB("VmRSS");

    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(budgetSeconds);
    std::unique_ptr<StrokeFeed> feed = subject->make();
    const size_t fed = feedStroke(*feed, stroke, stroke.size(), false, [&](const TimedCall &) {
        return std::chrono::steady_clock::now() < deadline;
    });
    std::printf("%ld %ld %zu %zu %d\n", statusKB("VmHWM"), baseKB, fed, stroke.size(),
                reset ? 1 : 0);
    return 0;
}
