// quillmark-storage-bench: what a stored page costs, in bytes and in time, beside the text
// format and plain floats through the same compressor. Every recording becomes one page of
// brush strokes, its samples as the engines saw them. Prints a Markdown table:
//
//   bytes a sample:  binary page file, text (as writeRecordText writes it), raw (x, y, time,
//                    pressure: 16 bytes), raw through zstd at the page file's level
//   million samples a second, one thread: page file encode and decode, text write and read
//                    (back to records), raw through zstd compress and decompress
//
// Speeds are the fastest of --runs measurements (default 21), each repeating the work for at least
// --budget milliseconds (default 40): on a shared machine a run that the scheduler interrupted
// does not decide the figure. Run it alone on the machine all the same.

#include "OxPageFile.h"
#include "StrokeRecords.h"

#include <zstd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {
constexpr int kZstdLevel = 3;   // the page file's level
const char *const kFour[] = {"pf-recorded.txt", "mypaint-painting30sec.txt", "synth-1k.txt",
                             "pf-edge-cases.txt"};

struct Options
{
    int runs = 21;
    double budgetMs = 40;
};

struct Page
{
    std::string name;
    std::vector<OxStrokeRecord> records;
    std::size_t samples = 0;
};

struct Row
{
    std::string name;
    std::size_t samples = 0;
    double bytes[4] = {};     // binary, text, raw, raw + zstd
    double speeds[6] = {};    // M samples/s: encode, decode, text write, read, zstd compress, decompress
};

Page loadPage(const std::string &name)
{
    const StrokeFileResult file = readStrokeFile(std::string(QUILLMARK_DATA_DIR) + "/" + name);
    if (!file.error.empty()) {
        std::fprintf(stderr, "%s\n", file.error.c_str());
        std::exit(1);
    }
    Page page{name, recordsOf(file.strokes, 6, 6), 0};
    for (const OxStrokeRecord &record : page.records)
        page.samples += record.samples.size();
    return page;
}

std::vector<char> rawSamples(const std::vector<OxStrokeRecord> &records)
{
    std::vector<char> raw;
    for (const OxStrokeRecord &record : records) {
        const char *begin = reinterpret_cast<const char *>(record.samples.data());
        raw.insert(raw.end(), begin, begin + record.samples.size() * sizeof(OxRecordedSample));
    }
    return raw;
}

std::vector<char> compressed(const std::vector<char> &raw)
{
    std::vector<char> out(ZSTD_compressBound(raw.size()));
    out.resize(ZSTD_compress(out.data(), out.size(), raw.data(), raw.size(), kZstdLevel));
    return out;
}

std::string text(const std::vector<OxStrokeRecord> &records)
{
    std::ostringstream out;
    writeRecordText(out, records);
    return out.str();
}

// Million samples a second: the fastest run of work over samples.
double speed(const Options &options, std::size_t samples, const std::function<void()> &work)
{
    using Clock = std::chrono::steady_clock;
    std::vector<double> rates;
    for (int run = 0; run < options.runs; ++run) {
        const Clock::time_point start = Clock::now();
        std::size_t done = 0;
        double elapsedMs = 0;
        do {
            work();
            done += samples;
            elapsedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        } while (elapsedMs < options.budgetMs);
        rates.push_back(double(done) / elapsedMs / 1000.0);
    }
    return *std::max_element(rates.begin(), rates.end());
}

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "storage bench: %s failed\n", what);
        std::exit(1);
    }
}

Row measure(const Options &options, const std::string &name, const std::vector<Page> &pages)
{
    Row row;
    row.name = name;
    std::vector<QByteArray> files(pages.size());
    std::vector<std::string> texts(pages.size());
    std::vector<std::vector<char>> raws(pages.size()), packed(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        row.samples += pages[i].samples;
        check(OxPageFile::toBytes(pages[i].records, files[i]).ok(), "encoding");
        texts[i] = text(pages[i].records);
        raws[i] = rawSamples(pages[i].records);
        packed[i] = compressed(raws[i]);
        row.bytes[0] += files[i].size();
        row.bytes[1] += texts[i].size();
        row.bytes[2] += raws[i].size();
        row.bytes[3] += packed[i].size();
    }
    for (double &b : row.bytes)
        b /= double(row.samples);

    const std::size_t n = row.samples;
    row.speeds[0] = speed(options, n, [&] {
        QByteArray bytes;
        for (const Page &page : pages)
            OxPageFile::toBytes(page.records, bytes);
    });
    row.speeds[1] = speed(options, n, [&] {
        std::vector<OxStrokeRecord> records;
        for (const QByteArray &file : files)
            check(OxPageFile::fromBytes(file, records).ok(), "decoding");
    });
    row.speeds[2] = speed(options, n, [&] {
        for (const Page &page : pages)
            text(page.records);
    });
    row.speeds[3] = speed(options, n, [&] {
        for (const std::string &t : texts) {
            std::istringstream in(t);
            recordsOf(readStrokes(in, "text").strokes, 6, 6);
        }
    });
    row.speeds[4] = speed(options, n, [&] {
        for (const std::vector<char> &raw : raws)
            compressed(raw);
    });
    row.speeds[5] = speed(options, n, [&] {
        std::vector<char> out;
        for (std::size_t i = 0; i < raws.size(); ++i) {
            out.resize(raws[i].size());
            check(ZSTD_decompress(out.data(), out.size(), packed[i].data(), packed[i].size()) == out.size(),
                  "decompressing");
        }
    });
    return row;
}

void print(const Row &row)
{
    std::printf("| %-27s | %7zu | %6.2f | %6.2f | %5.1f | %6.2f | %6.1f | %6.1f | %6.2f | %6.2f | %6.1f | %7.1f |\n",
                row.name.c_str(), row.samples, row.bytes[0], row.bytes[1], row.bytes[2], row.bytes[3],
                row.speeds[0], row.speeds[1], row.speeds[2], row.speeds[3], row.speeds[4], row.speeds[5]);
}
} // namespace

int main(int argc, char **argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0)
            options.runs = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--budget") == 0)
            options.budgetMs = std::max(1.0, std::atof(argv[i + 1]));
    }
    std::vector<Page> four;
    for (const char *name : kFour)
        four.push_back(loadPage(name));

    std::printf("Bytes a sample and million samples a second (one thread, fastest of %d runs).\n\n",
                options.runs);
    std::printf("| recording | samples | page B | text B | raw B | raw+zstd B | page encode | page decode | text write | text read | raw+zstd comp. | raw+zstd decomp. |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const Page &page : four)
        print(measure(options, page.name, {page}));
    print(measure(options, "**the four together**", four));
    print(measure(options, "synth-10k.txt (not in the four)", {loadPage("synth-10k.txt")}));
    return 0;
}
