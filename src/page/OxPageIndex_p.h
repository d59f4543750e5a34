#ifndef OXPAGEINDEX_P_H
#define OXPAGEINDEX_P_H

// Which strokes of a page lie near a place: an R-tree of their bounding boxes (Boost.Geometry),
// or for comparison a scan of every box.

#include "OxStrokePage.h"

#include <boost/geometry.hpp>
#include <boost/geometry/geometries/box.hpp>
#include <boost/geometry/geometries/point.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <boost/iterator/function_output_iterator.hpp>

#include <QRectF>
#include <vector>

namespace quillmark::detail {

class OxPageIndex
{
public:
    using Key = OxStrokePage::Key;

    explicit OxPageIndex(bool linearScan) : linearScan(linearScan) {}

    void insert(const QRectF &bounds, Key key);
    void remove(const QRectF &bounds, Key key);
    // Appends the keys whose box meets area (edges included).
    void query(const QRectF &area, std::vector<Key> &keys) const;

    size_t bytes() const;

private:
    using Point = boost::geometry::model::point<double, 2, boost::geometry::cs::cartesian>;
    using Box = boost::geometry::model::box<Point>;
    using Entry = std::pair<Box, Key>;
    // Quadratic splits of 16 entries a node: inserts and removals stay cheap as strokes come and
    // go, and a query reads a few nodes.
    using Tree = boost::geometry::index::rtree<Entry, boost::geometry::index::quadratic<16>>;

    static Box boxOf(const QRectF &r);

    bool linearScan;
    Tree tree;
    std::vector<Entry> scanned;
};

} // namespace quillmark::detail

#endif
