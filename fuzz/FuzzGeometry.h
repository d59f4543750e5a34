#ifndef QUILLMARK_FUZZGEOMETRY_H
#define QUILLMARK_FUZZGEOMETRY_H

// What the fuzz targets compare shapes with: exact equality (a copy or a dropped call must
// leave every bit as it was) and the bounds of what a call changed in a shape, to hold the
// call's repaint rectangle against.

#include "OxInkPoint.h"

#include <QPainterPath>
#include <QRectF>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

namespace fuzzgeometry {

// Bit for bit, so that a NaN equals the same NaN and 0 does not equal -0. (No memcmp: the
// fuzzer hooks every memcmp of its targets to learn from the bytes compared.)
inline uint64_t bitsOf(double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}
inline bool sameBits(double a, double b)
{
    return bitsOf(a) == bitsOf(b);
}
inline bool sameBits(float a, float b)
{
    uint32_t x, y;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    return x == y;
}

inline bool sameElement(const QPainterPath::Element &a, const QPainterPath::Element &b)
{
    return a.type == b.type && sameBits(a.x, b.x) && sameBits(a.y, b.y);
}

inline bool samePath(const QPainterPath &a, const QPainterPath &b)
{
    if (a.elementCount() != b.elementCount() || a.fillRule() != b.fillRule())
        return false;
    for (int i = 0; i < a.elementCount(); ++i) {
        if (!sameElement(a.elementAt(i), b.elementAt(i)))
            return false;
    }
    return true;
}

inline bool samePaths(const QVector<QPainterPath> &a, const QVector<QPainterPath> &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (!samePath(a[i], b[i]))
            return false;
    }
    return true;
}

inline bool samePoint(const OxInkPoint &a, const OxInkPoint &b)
{
    return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.time, b.time)
           && sameBits(a.pressure, b.pressure) && sameBits(a.aux1, b.aux1)
           && sameBits(a.aux2, b.aux2);
}

inline bool samePoints(const std::vector<OxInkPoint> &a, const std::vector<OxInkPoint> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), samePoint);
}

inline bool sameRect(const QRectF &a, const QRectF &b)
{
    return sameBits(a.x(), b.x()) && sameBits(a.y(), b.y()) && sameBits(a.width(), b.width())
           && sameBits(a.height(), b.height());
}

// Bounds of a set of points; empty() until the first is added.
struct Bounds
{
    double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;

    bool empty() const { return left > right; }
    void add(double x, double y)
    {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    void add(const Bounds &o)
    {
        if (!o.empty()) {
            add(o.left, o.top);
            add(o.right, o.bottom);
        }
    }
    // A rectangle of zero width or height adds nothing: it says nothing needs repainting.
    void add(const QRectF &r)
    {
        if (!r.isEmpty()) {
            add(r.left(), r.top());
            add(r.right(), r.bottom());
        }
    }
    // Whether r grown by margin on every side holds these bounds (empty bounds always fit).
    bool within(const Bounds &r, double margin) const
    {
        return empty()
               || (left >= r.left - margin && right <= r.right + margin && top >= r.top - margin
                   && bottom <= r.bottom + margin);
    }
};

inline bool isCurveEnd(const QPainterPath &path, int i)
{
    return path.elementAt(i).type == QPainterPath::CurveToDataElement
           && (i + 1 == path.elementCount()
               || path.elementAt(i + 1).type != QPainterPath::CurveToDataElement);
}

// Whether the shape passes through element i: move-to, line-to and curve ends do; control
// points do not (a curve bends toward them without reaching them).
inline bool isPassed(const QPainterPath &path, int i)
{
    const QPainterPath::ElementType t = path.elementAt(i).type;
    return t == QPainterPath::MoveToElement || t == QPainterPath::LineToElement
           || isCurveEnd(path, i);
}

// A piece of a drawn shape: the step from one element to the next (a line, or a part of a
// curve's control polygon). A move-to starts no piece. Compared byte for byte.
struct Piece
{
    uint64_t key[6];   // the bits of x and y, and type and whether passed, of both ends
    double x[2], y[2];
    bool passed[2];

    bool operator<(const Piece &o) const
    {
        return std::lexicographical_compare(key, key + 6, o.key, o.key + 6);
    }
};

// The pieces ending at elements first .. last - 1.
inline std::vector<Piece> piecesOf(const QPainterPath &path, int first, int last)
{
    std::vector<Piece> pieces;
    for (int i = std::max(first, 1); i < std::min(last, path.elementCount()); ++i) {
        if (path.elementAt(i).type == QPainterPath::MoveToElement)
            continue;
        Piece p;
        for (int k = 0; k < 2; ++k) {
            const QPainterPath::Element e = path.elementAt(i - 1 + k);
            p.x[k] = e.x;
            p.y[k] = e.y;
            p.passed[k] = isPassed(path, i - 1 + k);
            p.key[3 * k] = bitsOf(e.x);
            p.key[3 * k + 1] = bitsOf(e.y);
            p.key[3 * k + 2] = uint64_t(e.type) << 1 | uint64_t(p.passed[k]);
        }
        pieces.push_back(p);
    }
    return pieces;
}

// What changed between two states of a shape: the pieces the old state has and the new one has
// not (what must be erased) and the other way round (what must be drawn), as bounds of the
// points the shape passes through. The pieces compared lie between the common beginning and the
// common end of the element sequences (an outline grows in its middle, out along one side and
// back along the other), together with the pieces joining them to that beginning and end; a
// piece found in both states (a stretch moved to another place in the sequence) is no change.
inline Bounds changedBounds(const QPainterPath &before, const QPainterPath &after)
{
    const int nb = before.elementCount(), na = after.elementCount();
    int head = 0;
    while (head < nb && head < na && sameElement(before.elementAt(head), after.elementAt(head)))
        ++head;
    int tail = 0;
    while (tail < nb - head && tail < na - head
           && sameElement(before.elementAt(nb - 1 - tail), after.elementAt(na - 1 - tail)))
        ++tail;
    std::vector<Piece> old = piecesOf(before, head, nb - tail + 1);
    std::vector<Piece> now = piecesOf(after, head, na - tail + 1);
    std::sort(old.begin(), old.end());
    std::sort(now.begin(), now.end());
    std::vector<Piece> changed;
    std::set_symmetric_difference(old.begin(), old.end(), now.begin(), now.end(),
                                  std::back_inserter(changed));
    Bounds b;
    for (const Piece &p : changed) {
        for (int k = 0; k < 2; ++k) {
            if (p.passed[k])
                b.add(p.x[k], p.y[k]);
        }
    }
    return b;
}

} // namespace fuzzgeometry

#endif
