// Reads the input as a stored page, as records and as a page of strokes, and checks what the page
// file reader promises:
//   - a read that fails says what and where (a message, an offset within the input) and leaves
//     the caller's records, or page, exactly as they were (strokes, keys, next key, history);
//   - records that a read accepts are records the writer accepts, and writing them and reading
//     that back gives them again, to the bit, with the same bytes on a second write;
//   - a page that a load accepts saves, and loads back with the same keys, next key, polygons,
//     colours and records, to the bit, and the same bytes on a second save.
// The fuzzer rarely gets a checksum right by itself, so the first byte of the input chooses:
// with its lowest bit set, the rest has every chunk's checksum rewritten before it is read, and
// the fuzzer reaches the chunks' contents; clear, the input is read as it is. The allocation
// limit of the CTest run (-malloc_limit_mb) catches a read that allocates more than a page of
// the input's size may unpack to.

#include "FuzzChecks.h"
#include "OxPageFile.h"
#include "PageBytes.h"
#include "PageCompare.h"
#include "RecordCompare.h"

#include <cstdio>
#include <cstdlib>

namespace {
// What the caller held before the read.
const std::vector<OxStrokeRecord> &previousRecords()
{
    static const std::vector<OxStrokeRecord> records = [] {
        OxStrokeRecord record;
        record.engine = 6;
        record.width = 3;
        record.samples = {{1, 2, 0, 0.5f}, {3, 4, 8, 0.25f}};
        record.steps = {{OxRecordedStep::kStart, 1}, {OxRecordedStep::kEnd, 1}};
        return std::vector<OxStrokeRecord>{record};
    }();
    return records;
}

// What the caller's page held before the load: the stroke above, erased in two, with a
// history.
const OxStrokePage &previousPage()
{
    static OxStrokePage page;
    if (page.count() == 0) {
        OxStrokePage::Key key = 0;
        page.add(previousRecords()[0], key);
        page.erase({QPointF(2, 3)}, 0.6);
    }
    return page;
}

void check(bool holds, const char *what, const QString &detail = QString())
{
    if (holds)
        return;
    std::fprintf(stderr, "page reader invariant broken: %s %s\n", what, qPrintable(detail));
    std::abort();
}

void checkFailure(const OxStorageError &error, int size)
{
    check(!error.message.isEmpty(), "an error without a message");
    check(error.offset >= -1 && error.offset <= size, "an offset outside the input:", error.message);
}

void readRecords(const QByteArray &input)
{
    std::vector<OxStrokeRecord> records = previousRecords();
    const OxStorageError error = OxPageFile::fromBytes(input, records);
    if (!error.ok()) {
        checkFailure(error, input.size());
        check(recordDifference(previousRecords(), records).empty(), "a failed read changed the records:",
              error.message);
        return;
    }
    QByteArray written, rewritten;
    const OxStorageError writing = OxPageFile::toBytes(records, written);
    check(writing.ok(), "records that were read cannot be written:", writing.message);
    std::vector<OxStrokeRecord> back;
    const OxStorageError reading = OxPageFile::fromBytes(written, back);
    check(reading.ok(), "a written page cannot be read:", reading.message);
    check(recordDifference(records, back).empty(), "the round trip changed the records:",
          QString::fromStdString(recordDifference(records, back)));
    check(OxPageFile::toBytes(back, rewritten).ok() && rewritten == written,
          "writing the same records twice gives different bytes");
}

void readPage(const QByteArray &input)
{
    OxStrokePage page;
    page.restore(previousPage().contents());
    page.move(page.keys(), QPointF(0, 0.5));
    page.undo();
    const OxStorageError error = OxPageFile::fromBytes(input, page);
    if (!error.ok()) {
        checkFailure(error, input.size());
        check(pageDifference(previousPage(), page).empty() && page.canRedo(),
              "a failed load changed the page:", error.message);
        return;
    }
    check(!page.canUndo() && !page.canRedo(), "a loaded page has a history");
    QByteArray saved, resaved;
    const OxStorageError saving = OxPageFile::toBytes(page, saved);
    check(saving.ok(), "a loaded page cannot be saved:", saving.message);
    OxStrokePage back;
    const OxStorageError loading = OxPageFile::fromBytes(saved, back);
    check(loading.ok(), "a saved page cannot be loaded:", loading.message);
    check(pageDifference(page, back).empty(), "the round trip changed the page:",
          QString::fromStdString(pageDifference(page, back)));
    check(OxPageFile::toBytes(back, resaved).ok() && resaved == saved,
          "saving the same page twice gives different bytes");
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzchecks::silenceQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    QByteArray page(reinterpret_cast<const char *>(data + 1), int(size - 1));
    if (data[0] & 1)
        fixChecksums(page);

    readRecords(page);
    readPage(page);
    return 0;
}
