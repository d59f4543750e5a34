// The C page face: OxStrokePage with plain numbers and arrays. Each function checks its
// pointers, converts keys and points, makes one page call and keeps the reason of a refusal in
// the page. Results are built apart and handed out only when the call was done, so a refused
// call leaves the arrays of earlier calls as they were. No exception crosses into C.

#include "quillmark_page.h"

#include "OxPageFile.h"
#include "OxRectOut_p.h"
#include "OxStrokeCalls_p.h"
#include "OxStrokePage.h"

#include <cmath>
#include <limits>
#include <memory>
#include <new>

namespace {
using Key = OxStrokePage::Key;
using Status = OxStrokePage::Status;
using quillmark::detail::writeRect;

// Every key a page can make is below 2^53, where doubles still hold every whole number.
constexpr double kLargestKey = 9007199254740992.0;
// A loaded page may go on from a next key up to 2^52: that leaves room below 2^53 for more
// keys than a page ever makes. The page file allows next keys up to 2^62, for hosts of 64-bit keys.
constexpr Key kLargestNextKey = Key(1) << 52;

// What the calls that hand out arrays handed out last, one kind each.
struct Handed
{
    std::vector<quillmark_key> keys;
    std::vector<quillmark_key> selectedKeys;
    std::vector<double> fractions;
    std::vector<int> sizes;
    std::vector<float> xy;
    QByteArray bytes;
};
} // namespace

struct quillmark_page
{
    std::unique_ptr<OxStrokePage> page = std::make_unique<OxStrokePage>();
    int refusal = QUILLMARK_PAGE_REFUSED_NONE;
    QByteArray error;   // the last storage failure, in words
    Handed handed;
};

namespace {
int refusalOf(Status status)
{
    switch (status) {
    case OxStrokePage::kDone: return QUILLMARK_PAGE_REFUSED_NONE;
    // A stroke of this face always replays; unusable records, keys and drawings come only from
    // stored pages, which OxPageFile refuses with words of its own.
    case OxStrokePage::kUnusableRecord:
    case OxStrokePage::kBadKey:
    case OxStrokePage::kBadDrawing: return QUILLMARK_PAGE_REFUSED_DAMAGED;
    case OxStrokePage::kNoInk: return QUILLMARK_PAGE_REFUSED_NO_INK;
    case OxStrokePage::kOutOfRange: return QUILLMARK_PAGE_REFUSED_OUT_OF_RANGE;
    case OxStrokePage::kBadPoints: return QUILLMARK_PAGE_REFUSED_POINTS;
    case OxStrokePage::kTooFewPoints: return QUILLMARK_PAGE_REFUSED_TOO_FEW_POINTS;
    case OxStrokePage::kBadRadius: return QUILLMARK_PAGE_REFUSED_RADIUS;
    case OxStrokePage::kUnknownKey: return QUILLMARK_PAGE_REFUSED_KEY;
    case OxStrokePage::kNothingToUndo: return QUILLMARK_PAGE_REFUSED_NOTHING_TO_UNDO;
    case OxStrokePage::kNothingToRedo: return QUILLMARK_PAGE_REFUSED_NOTHING_TO_REDO;
    case OxStrokePage::kBadOffset: return QUILLMARK_PAGE_REFUSED_OFFSET;
    }
    return QUILLMARK_PAGE_REFUSED_NO_MEMORY;
}

// The page's key of a C key; 0 (no stroke's) for anything but a whole number from 1 to 2^53.
Key pageKey(quillmark_key key)
{
    return key >= 1 && key <= kLargestKey && std::floor(key) == key ? Key(key) : 0;
}

std::vector<QPointF> pathOf(int count, const float *xy)
{
    std::vector<QPointF> path;
    if (count > 0 && xy) {
        path.reserve(size_t(count));
        for (size_t i = 0; i < size_t(count); ++i)
            path.emplace_back(xy[2 * i], xy[2 * i + 1]);
    }
    return path;
}

// Runs call(page) when page is not NULL: call returns a QUILLMARK_PAGE_REFUSED_* value, which
// the page keeps. Returns 1 when it is NONE, else 0. Memory running out refuses the call.
template <class Call>
int pageCall(quillmark_page *page, Call call) noexcept
{
    if (!page)
        return 0;
    page->error.clear();
    try {
        page->refusal = call(*page);
    } catch (...) {
        page->refusal = QUILLMARK_PAGE_REFUSED_NO_MEMORY;
    }
    return page->refusal == QUILLMARK_PAGE_REFUSED_NONE ? 1 : 0;
}

// As pageCall for a call that writes its result to out: out is zeroed first, a NULL out refused.
template <class Out, class Call>
int writingCall(quillmark_page *page, Out *out, Call call) noexcept
{
    if (out)
        *out = Out{};
    return pageCall(page, [&](quillmark_page &p) {
        return out ? call(p) : QUILLMARK_PAGE_REFUSED_NO_OUTPUT;
    });
}

// As pageCall for an edit of the page, whose changed rectangle goes to changed.
template <class Call>
int editCall(quillmark_page *page, quillmark_rect *changed, Call call) noexcept
{
    writeRect(changed, QRectF());
    return pageCall(page, [&](quillmark_page &p) {
        OxStrokePage::Change change;
        const int refusal = call(p, change);
        if (refusal == QUILLMARK_PAGE_REFUSED_NONE)
            writeRect(changed, change.area);
        return refusal;
    });
}

// Hands keys out through the page's keys array.
void handKeys(quillmark_page &page, const std::vector<Key> &keys, quillmark_keys &out)
{
    std::vector<quillmark_key> converted(keys.begin(), keys.end());
    page.handed.keys.swap(converted);
    out = quillmark_keys{int(keys.size()), keys.empty() ? nullptr : page.handed.keys.data()};
}

// A query that finds keys: hands them out when it is done.
template <class Query>
int keysCall(quillmark_page *page, quillmark_keys *out, Query query) noexcept
{
    return writingCall(page, out, [&](quillmark_page &p) {
        std::vector<Key> keys;
        const int refusal = query(*p.page, keys);
        if (refusal == QUILLMARK_PAGE_REFUSED_NONE)
            handKeys(p, keys, *out);
        return refusal;
    });
}

// The refusal of a failed write or read, its words kept in the page: the file's, else
// otherwise (what the write or read itself found).
int storageRefusal(quillmark_page &page, const OxStorageError &error, int otherwise)
{
    if (error.ok())
        return QUILLMARK_PAGE_REFUSED_NONE;
    page.error = error.message.toUtf8();
    return error.kind == OxStorageError::kFile ? QUILLMARK_PAGE_REFUSED_FILE : otherwise;
}

// Writes the whole page (keys, next key, every stroke's edits) with write, to a file or bytes.
template <class Write>
int storeCall(quillmark_page &page, Write write)
{
    return storageRefusal(page, write(*page.page), QUILLMARK_PAGE_REFUSED_TOO_LARGE);
}

// Refuses a loaded page whose next key leaves too little room for keys a host can hold; the
// words start with the file's path (NULL: bytes), as the reader's own words do.
OxStorageError keyRoom(const OxStrokePage &loaded, const char *path)
{
    const Key next = loaded.contents().nextKey;
    if (next <= kLargestNextKey)
        return OxStorageError();
    const QString where = path ? QString::fromUtf8(path) + QStringLiteral(": ") : QString();
    return OxStorageError{OxStorageError::kRefused, -1,
                          QStringLiteral("%1the next key %2 lies beyond 2^52: keys so large "
                                         "would pass what a C host's key holds")
                              .arg(where, QString::number(next))};
}

// Reads a page with read (a file or bytes) onto a page of its own, which replaces the page's
// only once it is complete: memory running out half way leaves the page as it was too. path:
// the file's (NULL for bytes).
template <class Read>
int loadCall(quillmark_page *page, bool usable, const char *path, Read read) noexcept
{
    return pageCall(page, [&](quillmark_page &p) {
        if (!usable)
            return QUILLMARK_PAGE_REFUSED_NO_INPUT;
        auto loaded = std::make_unique<OxStrokePage>();
        int refusal = storageRefusal(p, read(*loaded), QUILLMARK_PAGE_REFUSED_DAMAGED);
        if (refusal == QUILLMARK_PAGE_REFUSED_NONE)
            refusal = storageRefusal(p, keyRoom(*loaded, path), QUILLMARK_PAGE_REFUSED_DAMAGED);
        if (refusal == QUILLMARK_PAGE_REFUSED_NONE)
            p.page = std::move(loaded);
        return refusal;
    });
}
} // namespace

extern "C" {

int quillmark_page_refusal(const quillmark_page *page)
{
    return page ? page->refusal : QUILLMARK_PAGE_REFUSED_NO_PAGE;
}

const char *quillmark_page_refusal_text(int refusal)
{
    switch (refusal) {
    case QUILLMARK_PAGE_REFUSED_NONE: return "not refused";
    case QUILLMARK_PAGE_REFUSED_NO_PAGE: return "page: there is no page (NULL)";
    case QUILLMARK_PAGE_REFUSED_NO_OUTPUT:
        return "out: there is nowhere to write the result (NULL)";
    case QUILLMARK_PAGE_REFUSED_NO_INPUT:
        return "keys, path or data: there is nothing to read (NULL)";
    case QUILLMARK_PAGE_REFUSED_NO_STROKE: return "stroke: there is no stroke (NULL)";
    case QUILLMARK_PAGE_REFUSED_UNFINISHED:
        return "stroke: the stroke has not ended (end, end_batch or replay)";
    case QUILLMARK_PAGE_REFUSED_NO_INK: return "stroke: the stroke draws no ink";
    case QUILLMARK_PAGE_REFUSED_COLOUR: return "rgba: the colour does not fit in 32 bits";
    case QUILLMARK_PAGE_REFUSED_OUT_OF_RANGE:
        return "points: a position lies beyond 2,000,000 units of the origin";
    case QUILLMARK_PAGE_REFUSED_POINTS:
        return "points: there are none (a count below 1 or no array), or one is not finite";
    case QUILLMARK_PAGE_REFUSED_TOO_FEW_POINTS: return "points: a lasso needs at least three";
    case QUILLMARK_PAGE_REFUSED_RADIUS: return "radius: not a positive finite number";
    case QUILLMARK_PAGE_REFUSED_KEY: return "key: no stroke of this page has the key";
    case QUILLMARK_PAGE_REFUSED_NOTHING_TO_UNDO: return "undo: there is nothing to undo";
    case QUILLMARK_PAGE_REFUSED_NOTHING_TO_REDO: return "redo: there is nothing to redo";
    case QUILLMARK_PAGE_REFUSED_OFFSET: return "dx, dy: the offset is not finite";
    case QUILLMARK_PAGE_REFUSED_AREA: return "area: the rectangle is not finite";
    case QUILLMARK_PAGE_REFUSED_NO_MEMORY: return "memory ran out";
    case QUILLMARK_PAGE_REFUSED_FILE: return "path: the file cannot be read or written";
    case QUILLMARK_PAGE_REFUSED_DAMAGED: return "bytes: not a page this library reads";
    case QUILLMARK_PAGE_REFUSED_TOO_LARGE:
        return "page: holds more than a page file takes";
    default: return "unknown reason";
    }
}

const char *quillmark_page_error(const quillmark_page *page)
{
    return page ? page->error.constData() : "";
}

quillmark_page *quillmark_page_create(void)
{
    try {
        return new quillmark_page;
    } catch (...) {
        return nullptr;
    }
}

void quillmark_page_destroy(quillmark_page *page)
{
    delete page;
}

int quillmark_page_add(quillmark_page *page, const quillmark_stroke *stroke, unsigned long rgba,
                       quillmark_key *key, quillmark_rect *changed)
{
    if (key)
        *key = 0;
    return editCall(page, changed, [&](quillmark_page &p, OxStrokePage::Change &change) {
        OxStrokeRecord record;
        if (!key)
            return QUILLMARK_PAGE_REFUSED_NO_OUTPUT;
        if (!stroke)
            return QUILLMARK_PAGE_REFUSED_NO_STROKE;
        if (rgba > 0xffffffffUL)
            return QUILLMARK_PAGE_REFUSED_COLOUR;
        if (!quillmark::detail::finishedRecord(*stroke, record))
            return QUILLMARK_PAGE_REFUSED_UNFINISHED;
        record.rgba = quint32(rgba);
        Key added = 0;
        const int refusal = refusalOf(p.page->add(record, added, &change));
        *key = quillmark_key(added);
        return refusal;
    });
}

int quillmark_page_keys(quillmark_page *page, quillmark_keys *out)
{
    return keysCall(page, out, [](const OxStrokePage &p, std::vector<Key> &keys) {
        keys = p.keys();
        return QUILLMARK_PAGE_REFUSED_NONE;
    });
}

int quillmark_page_keys_in(quillmark_page *page, quillmark_rect area, quillmark_keys *out)
{
    return keysCall(page, out, [&](const OxStrokePage &p, std::vector<Key> &keys) {
        if (!std::isfinite(area.left) || !std::isfinite(area.top) || !std::isfinite(area.width)
            || !std::isfinite(area.height))
            return QUILLMARK_PAGE_REFUSED_AREA;
        keys = p.keysIn(QRectF(area.left, area.top, area.width, area.height));
        return QUILLMARK_PAGE_REFUSED_NONE;
    });
}

int quillmark_page_colour(quillmark_page *page, quillmark_key key, unsigned long *rgba)
{
    return writingCall(page, rgba, [&](quillmark_page &p) {
        if (!p.page->contains(pageKey(key)))
            return QUILLMARK_PAGE_REFUSED_KEY;
        *rgba = p.page->rgba(pageKey(key));
        return QUILLMARK_PAGE_REFUSED_NONE;
    });
}

int quillmark_page_polygons(quillmark_page *page, quillmark_key key, quillmark_polygons *out)
{
    return writingCall(page, out, [&](quillmark_page &p) {
        std::vector<int> sizes;
        std::vector<float> xy;
        if (!p.page->polygons(pageKey(key), sizes, xy))
            return QUILLMARK_PAGE_REFUSED_KEY;
        p.handed.sizes.swap(sizes);
        p.handed.xy.swap(xy);
        const Handed &h = p.handed;
        *out = quillmark_polygons{int(h.sizes.size()), int(h.xy.size() / 2), 0, 1,
                                  h.sizes.empty() ? nullptr : h.sizes.data(),
                                  h.xy.empty() ? nullptr : h.xy.data()};
        return QUILLMARK_PAGE_REFUSED_NONE;
    });
}

int quillmark_page_hit(quillmark_page *page, double x, double y, double radius,
                       quillmark_keys *out)
{
    return keysCall(page, out, [&](const OxStrokePage &p, std::vector<Key> &keys) {
        return refusalOf(p.hit(QPointF(x, y), radius, keys));
    });
}

int quillmark_page_hit_swept(quillmark_page *page, int count, const float *xy, double radius,
                             quillmark_keys *out)
{
    return keysCall(page, out, [&](const OxStrokePage &p, std::vector<Key> &keys) {
        return refusalOf(p.hitSwept(pathOf(count, xy), radius, keys));
    });
}

int quillmark_page_lasso(quillmark_page *page, int count, const float *xy,
                         quillmark_selection *out)
{
    return writingCall(page, out, [&](quillmark_page &p) {
        std::vector<OxStrokePage::Selected> selected;
        const std::vector<QPointF> lasso = pathOf(count, xy);
        // Fewer than three points is the lasso's own refusal; none at all is the points'.
        const int refusal = refusalOf(p.page->lasso(lasso, selected));
        if (refusal != QUILLMARK_PAGE_REFUSED_NONE)
            return lasso.empty() ? QUILLMARK_PAGE_REFUSED_POINTS : refusal;
        std::vector<quillmark_key> keys;
        std::vector<double> fractions;
        for (const OxStrokePage::Selected &s : selected) {
            keys.push_back(quillmark_key(s.key));
            fractions.push_back(s.fraction);
        }
        p.handed.selectedKeys.swap(keys);
        p.handed.fractions.swap(fractions);
        *out = quillmark_selection{int(selected.size()),
                                   selected.empty() ? nullptr : p.handed.selectedKeys.data(),
                                   selected.empty() ? nullptr : p.handed.fractions.data()};
        return QUILLMARK_PAGE_REFUSED_NONE;
    });
}

int quillmark_page_erase(quillmark_page *page, int count, const float *xy, double radius,
                         quillmark_rect *changed)
{
    return editCall(page, changed, [&](quillmark_page &p, OxStrokePage::Change &change) {
        return refusalOf(p.page->erase(pathOf(count, xy), radius, &change));
    });
}

int quillmark_page_erase_strokes(quillmark_page *page, int count, const float *xy, double radius,
                                 quillmark_keys *removed, quillmark_rect *changed)
{
    if (removed)
        *removed = quillmark_keys{0, nullptr};
    return editCall(page, changed, [&](quillmark_page &p, OxStrokePage::Change &change) {
        const int refusal = refusalOf(p.page->eraseStrokes(pathOf(count, xy), radius, &change));
        if (refusal == QUILLMARK_PAGE_REFUSED_NONE && removed)
            handKeys(p, change.removed, *removed);
        return refusal;
    });
}

int quillmark_page_move(quillmark_page *page, int count, const quillmark_key *keys, double dx,
                        double dy, quillmark_rect *changed)
{
    return editCall(page, changed, [&](quillmark_page &p, OxStrokePage::Change &change) {
        std::vector<Key> moved;
        if (count < 0 || (count > 0 && !keys))
            return QUILLMARK_PAGE_REFUSED_NO_INPUT;
        for (int i = 0; i < count; ++i)
            moved.push_back(pageKey(keys[i]));
        return refusalOf(p.page->move(moved, QPointF(dx, dy), &change));
    });
}

int quillmark_page_undo(quillmark_page *page, quillmark_rect *changed)
{
    return editCall(page, changed, [](quillmark_page &p, OxStrokePage::Change &change) {
        return refusalOf(p.page->undo(&change));
    });
}

int quillmark_page_redo(quillmark_page *page, quillmark_rect *changed)
{
    return editCall(page, changed, [](quillmark_page &p, OxStrokePage::Change &change) {
        return refusalOf(p.page->redo(&change));
    });
}

int quillmark_page_can_undo(const quillmark_page *page)
{
    return page && page->page->canUndo() ? 1 : 0;
}

int quillmark_page_can_redo(const quillmark_page *page)
{
    return page && page->page->canRedo() ? 1 : 0;
}

void quillmark_page_begin_group(quillmark_page *page)
{
    if (page)
        page->page->beginGroup();
}

void quillmark_page_end_group(quillmark_page *page)
{
    if (page)
        page->page->endGroup();
}

int quillmark_page_save(quillmark_page *page, const char *path)
{
    return pageCall(page, [&](quillmark_page &p) {
        if (!path)
            return QUILLMARK_PAGE_REFUSED_NO_INPUT;
        return storeCall(p, [&](const OxStrokePage &stored) {
            return OxPageFile::save(stored, QString::fromUtf8(path));
        });
    });
}

int quillmark_page_load(quillmark_page *page, const char *path)
{
    return loadCall(page, path != nullptr, path, [&](OxStrokePage &loaded) {
        return OxPageFile::load(QString::fromUtf8(path), loaded);
    });
}

int quillmark_page_to_bytes(quillmark_page *page, quillmark_bytes *out)
{
    return writingCall(page, out, [&](quillmark_page &p) {
        QByteArray bytes;
        const int refusal = storeCall(p, [&](const OxStrokePage &stored) {
            return OxPageFile::toBytes(stored, bytes);
        });
        if (refusal != QUILLMARK_PAGE_REFUSED_NONE)
            return refusal;
        p.handed.bytes.swap(bytes);
        *out = quillmark_bytes{size_t(p.handed.bytes.size()),
                               reinterpret_cast<const unsigned char *>(p.handed.bytes.constData())};
        return QUILLMARK_PAGE_REFUSED_NONE;
    });
}

int quillmark_page_from_bytes(quillmark_page *page, const void *data, size_t size)
{
    return loadCall(page, data != nullptr || size == 0, nullptr, [&](OxStrokePage &loaded) {
        if (size > size_t(std::numeric_limits<int>::max()))
            return OxStorageError{OxStorageError::kTooLarge, 0,
                                  QStringLiteral("the input is larger than a page may be")};
        const QByteArray bytes = QByteArray::fromRawData(static_cast<const char *>(data),
                                                         int(size));
        return OxPageFile::fromBytes(bytes, loaded);
    });
}

} // extern "C"
