// Writes the seed corpus of the page reader's fuzz target: small pages of recorded strokes, of
// numbers no grid holds, and of strokes cut in pieces, moved and keyed, each twice: as the
// library writes it (first byte 0: read as it is) and with its packed chunks stored unpacked
// (first byte 1: the target fixes the checksums), so that the fuzzer can change the numbers
// inside.
//
//   quillmark-fuzz-pagefile-seeds DATA_DIR CORPUS_DIR   (writes CORPUS_DIR/pagefile/*)

#include "OxPageFile.h"
#include "OxStrokePage.h"
#include "PageBytes.h"
#include "StrokeRecords.h"

#include <zstd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string>

namespace {
constexpr std::size_t kMaxSamples = 12;

void writeSeed(const std::string &path, char mode, const QByteArray &page)
{
    std::ofstream out(path, std::ios::binary);
    out.put(mode);
    out.write(page.constData(), page.size());
    if (!out)
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

// The page with its packed chunks (strokes and edits) unpacked (method 0).
QByteArray storedPage(const QByteArray &page)
{
    std::vector<RawChunk> chunks = chunksOf(page);
    for (RawChunk &chunk : chunks) {
        QByteArray &payload = chunk.payload;
        if ((chunk.tag != "STRK" && chunk.tag != "EDIT") || payload.at(0) != 1)
            continue;
        int at = 1;
        std::uint64_t size = 0;
        for (int shift = 0;; shift += 7) {
            const std::uint8_t byte = std::uint8_t(payload[at++]);
            size |= std::uint64_t(byte & 0x7f) << shift;
            if (byte < 0x80)
                break;
        }
        QByteArray raw(int(size), '\0');
        ZSTD_decompress(raw.data(), size, payload.constData() + at, std::size_t(payload.size() - at));
        payload = storedPayload(raw);
    }
    return pageOf(chunks);
}

OxStrokeRecord shortened(OxStrokeRecord record)
{
    if (record.samples.size() > kMaxSamples) {
        record.samples.resize(kMaxSamples);
        record.steps.resize(kMaxSamples);
        record.steps.back().call = OxRecordedStep::kEnd;
    }
    return record;
}

// Numbers a grid cannot hold, and a stroke fed in batches.
std::vector<OxStrokeRecord> oddRecords()
{
    const float odd[] = {-0.0f, std::numeric_limits<float>::denorm_min(), std::nanf("7"),
                         std::numeric_limits<float>::infinity(), 0.1f + 0.2f, 3.14159274f,
                         -1e30f, 100.25f};
    OxStrokeRecord record;
    record.engine = 2;
    record.width = 2.5f;
    record.rgba = 0x12345678;
    for (std::size_t i = 0; i < std::size(odd); ++i)
        record.samples.push_back({odd[i], float(i) * 0.125f, qint32(i * 7), odd[std::size(odd) - 1 - i]});
    record.steps = {{OxRecordedStep::kStart, 1}, {OxRecordedStep::kBatch, 3},
                    {OxRecordedStep::kBatch, 0}, {OxRecordedStep::kBatch, 3},
                    {OxRecordedStep::kEndBatch, 1}};
    return {record};
}
// A page of the records, each stroke cut across its middle by one eraser, the first one moved
// and the last one removed (so that the keys are not 1 to n).
const OxStrokePage &editedPage(const std::vector<OxStrokeRecord> &records)
{
    static OxStrokePage page;
    page.restore(OxStrokePage::Contents());
    QRectF all;
    for (const OxStrokeRecord &record : records) {
        OxStrokePage::Key key = 0;
        if (page.add(record, key) == OxStrokePage::kDone)
            all |= page.bounds(key);
    }
    if (page.count() == 0)
        return page;
    page.erase({all.topLeft(), all.bottomRight()}, 1.5);
    page.move({page.keys().front()}, QPointF(2.5, -1));
    page.eraseStrokes({page.bounds(page.keys().back()).center()}, 0.5);
    return page;
}
} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DATA_DIR CORPUS_DIR\n", argv[0]);
        return 2;
    }
    const std::string data = argv[1], dir = std::string(argv[2]) + "/pagefile/";
    std::vector<std::vector<OxStrokeRecord>> pages{{}, oddRecords()};
    int engine = 1;
    for (const char *file : {"/pf-recorded.txt", "/pf-edge-cases.txt", "/mypaint-painting30sec.txt",
                             "/synth-1k.txt"}) {
        const StrokeFileResult r = readStrokeFile(data + file);
        if (!r.error.empty()) {
            std::fprintf(stderr, "%s\n", r.error.c_str());
            return 1;
        }
        std::vector<OxStrokeRecord> page;
        for (std::size_t i = 0; i < r.strokes.size() && i < 3; ++i)
            page.push_back(shortened(recordOf(r.strokes[i], engine++ % 6 + 1, 4)));
        pages.push_back(page);
    }
    std::vector<QByteArray> bytes;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        bytes.emplace_back();
        if (!OxPageFile::toBytes(pages[p], bytes.back()).ok()) {
            std::fprintf(stderr, "page %zu cannot be written\n", p);
            return 1;
        }
    }
    for (std::size_t p = 2; p < pages.size(); ++p) {
        bytes.emplace_back();
        if (!OxPageFile::toBytes(editedPage(pages[p]), bytes.back()).ok()) {
            std::fprintf(stderr, "the edited page %zu cannot be written\n", p);
            return 1;
        }
    }
    for (std::size_t p = 0; p < bytes.size(); ++p) {
        writeSeed(dir + "packed-" + std::to_string(p), 0, bytes[p]);
        writeSeed(dir + "stored-" + std::to_string(p), 1, storedPage(bytes[p]));
    }
    return 0;
}
