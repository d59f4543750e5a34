// A C host holds keys as doubles, which are exact up to 2^53. The page file allows next keys up
// to 2^62, so the C face loads only pages whose next key leaves room below 2^53 for more keys
// than a page can ever make (it is at most 2^52): a stored page beyond that is refused as
// damaged, with words that name the next key, and the page stays as it was.

#include "OxPageFile.h"
#include "PageFixture.h"
#include "quillmark_page.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <string>

namespace {

constexpr Key kLargestNextKey = Key(1) << 52;

// Two recorded strokes stored under the keys last - 1 and last, with next as the next key.
QByteArray storedPage(Key last, Key next)
{
    OxStrokePage page;
    addRecorded(page, "pf-recorded.txt", 2);
    OxStrokePage::Contents contents = page.contents();
    contents.strokes[0].key = last - 1;
    contents.strokes[1].key = last;
    contents.nextKey = next;
    OxStrokePage stored;
    EXPECT_EQ(stored.restore(contents), OxStrokePage::kDone);
    QByteArray bytes;
    EXPECT_TRUE(OxPageFile::toBytes(stored, bytes).ok());
    return bytes;
}

int load(quillmark_page *page, const QByteArray &bytes)
{
    return quillmark_page_from_bytes(page, bytes.constData(), size_t(bytes.size()));
}

std::vector<double> keysOf(quillmark_page *page)
{
    quillmark_keys keys;
    EXPECT_EQ(quillmark_page_keys(page, &keys), 1);
    return std::vector<double>(keys.keys, keys.keys + keys.count);
}

} // namespace

TEST(CPageKeyRoom, TakesAPageWhoseNextKeyLeavesRoomAndHandsOutItsKeysExactly)
{
    quillmark_page *page = quillmark_page_create();
    ASSERT_EQ(load(page, storedPage(kLargestNextKey - 1, kLargestNextKey)), 1);
    const double last = double(kLargestNextKey - 1);
    EXPECT_EQ(keysOf(page), (std::vector<double>{last - 1, last}));
    unsigned long rgba = 0;
    EXPECT_EQ(quillmark_page_colour(page, last, &rgba), 1);
    quillmark_rect changed;
    ASSERT_EQ(quillmark_page_move(page, 1, &last, 4, 0, &changed), 1);
    // Written out again, it keeps its keys and next key.
    quillmark_bytes bytes;
    ASSERT_EQ(quillmark_page_to_bytes(page, &bytes), 1);
    quillmark_page *again = quillmark_page_create();
    ASSERT_EQ(quillmark_page_from_bytes(again, bytes.data, bytes.size), 1);
    EXPECT_EQ(keysOf(again), keysOf(page));
    quillmark_page_destroy(again);
    quillmark_page_destroy(page);
}

TEST(CPageKeyRoom, RefusesAPageWhoseNextKeyLeavesTooLittleRoomAndKeepsThePage)
{
    quillmark_page *page = quillmark_page_create();
    ASSERT_EQ(load(page, storedPage(2, 3)), 1);
    const std::vector<double> before = keysOf(page);
    // Just beyond the room, as far as the file allows, and keys a double cannot hold.
    for (Key next : {kLargestNextKey + 1, OxStrokePage::kMaxNextKey, (Key(1) << 53) + 3}) {
        SCOPED_TRACE(next);
        EXPECT_EQ(load(page, storedPage(next - 1, next)), 0);
        EXPECT_EQ(quillmark_page_refusal(page), QUILLMARK_PAGE_REFUSED_DAMAGED);
        EXPECT_NE(std::strstr(quillmark_page_error(page), std::to_string(next).c_str()), nullptr)
            << quillmark_page_error(page);
        EXPECT_EQ(keysOf(page), before);
    }
    // From a file, the words start with its path.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("far.qmp"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(storedPage(OxStrokePage::kMaxNextKey - 1, OxStrokePage::kMaxNextKey));
    file.close();
    EXPECT_EQ(quillmark_page_load(page, path.toUtf8().constData()), 0);
    EXPECT_EQ(quillmark_page_refusal(page), QUILLMARK_PAGE_REFUSED_DAMAGED);
    EXPECT_EQ(std::string(quillmark_page_error(page)).rfind(path.toStdString() + ": ", 0), 0u)
        << quillmark_page_error(page);
    EXPECT_EQ(keysOf(page), before);
    quillmark_page_destroy(page);
}
