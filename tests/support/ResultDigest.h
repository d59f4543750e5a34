#ifndef QUILLMARK_RESULTDIGEST_H
#define QUILLMARK_RESULTDIGEST_H

// A running 64-bit FNV-1a hash of every number a stroke produced: rectangles, outline elements,
// points and exported arrays, bit for bit.

#include "OxInkPoint.h"

#include <QPainterPath>
#include <QRectF>
#include <cstdint>
#include <cstring>
#include <vector>

class ResultDigest
{
public:
    void addBytes(const void *data, size_t size)
    {
        const auto *bytes = static_cast<const unsigned char *>(data);
        for (size_t i = 0; i < size; ++i) {
            hash_ ^= bytes[i];
            hash_ *= 1099511628211ull;
        }
    }
    template <class T>
    void add(T value)
    {
        addBytes(&value, sizeof value);
    }
    void add(const QRectF &r)
    {
        add(r.x());
        add(r.y());
        add(r.width());
        add(r.height());
    }
    void add(const QPainterPath &path)
    {
        add(path.elementCount());
        add(int(path.fillRule()));
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            add(int(e.type));
            add(e.x);
            add(e.y);
        }
    }
    void add(const std::vector<OxInkPoint> &points)
    {
        add(points.size());
        for (const OxInkPoint &p : points) {
            add(p.x);
            add(p.y);
            add(p.time);
            add(p.pressure);
        }
    }
    uint64_t value() const { return hash_; }

private:
    uint64_t hash_ = 14695981039346656037ull;
};

#endif
