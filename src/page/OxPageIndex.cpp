// The bounding boxes of a page's strokes, in an R-tree or a plain list.

#include "OxPageIndex_p.h"

#include <algorithm>

namespace quillmark::detail {

namespace bgi = boost::geometry::index;

OxPageIndex::Box OxPageIndex::boxOf(const QRectF &r)
{
    return Box(Point(r.left(), r.top()), Point(r.right(), r.bottom()));
}

void OxPageIndex::insert(const QRectF &bounds, Key key)
{
    if (linearScan)
        scanned.emplace_back(boxOf(bounds), key);
    else
        tree.insert(Entry(boxOf(bounds), key));
}

void OxPageIndex::remove(const QRectF &bounds, Key key)
{
    if (!linearScan) {
        tree.remove(Entry(boxOf(bounds), key));
        return;
    }
    auto found = std::find_if(scanned.begin(), scanned.end(),
                              [key](const Entry &e) { return e.second == key; });
    if (found != scanned.end()) {
        *found = scanned.back();
        scanned.pop_back();
    }
}

void OxPageIndex::query(const QRectF &area, std::vector<Key> &keys) const
{
    const Box box = boxOf(area);
    if (!linearScan) {
        tree.query(bgi::intersects(box), boost::make_function_output_iterator(
                                             [&keys](const Entry &e) { keys.push_back(e.second); }));
        return;
    }
    for (const Entry &e : scanned) {
        if (boost::geometry::intersects(e.first, box))
            keys.push_back(e.second);
    }
}

size_t OxPageIndex::bytes() const
{
    // An R-tree node of up to 16 entries is about 16 entries and a header: count each entry
    // one and a half times for the nodes' slack and the inner levels.
    return sizeof(*this) + (tree.size() * 3 / 2 + scanned.capacity()) * sizeof(Entry);
}

} // namespace quillmark::detail
