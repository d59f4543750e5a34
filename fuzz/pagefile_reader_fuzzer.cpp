// Reads the input as a stored page and checks what the page file reader promises:
//   - a read that fails says what and where (a message, an offset within the input) and leaves
//     the caller's records exactly as they were;
//   - records that a read accepts are records the writer accepts, and writing them and reading
//     that back gives them again, to the bit, with the same bytes on a second write.
// The fuzzer rarely gets a checksum right by itself, so the first byte of the input chooses:
// with its lowest bit set, the rest has every chunk's checksum rewritten before it is read, and
// the fuzzer reaches the chunks' contents; clear, the input is read as it is. The allocation
// limit of the CTest run (-malloc_limit_mb) catches a read that allocates more than a page of
// the input's size may unpack to.

#include "FuzzChecks.h"
#include "OxPageFile.h"
#include "PageBytes.h"
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

void check(bool holds, const char *what, const QString &detail = QString())
{
    if (holds)
        return;
    std::fprintf(stderr, "page reader invariant broken: %s %s\n", what, qPrintable(detail));
    std::abort();
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

    std::vector<OxStrokeRecord> records = previousRecords();
    const OxStorageError error = OxPageFile::fromBytes(page, records);
    if (!error.ok()) {
        check(!error.message.isEmpty(), "an error without a message");
        check(error.offset >= -1 && error.offset <= page.size(), "an offset outside the input:",
              error.message);
        check(recordDifference(previousRecords(), records).empty(), "a failed read changed the records:",
              error.message);
        return 0;
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
    return 0;
}
