#ifndef QUILLMARK_CPAGEHELD_H
#define QUILLMARK_CPAGEHELD_H

// The arrays a C host holds from a page (quillmark_page.h), each with a copy taken when it was
// handed out: the last keys, selection, polygons and bytes. Each stays valid until the page's
// next call of its kind that is done (a refused call keeps them) or the page's end, and must
// read the same, to the bit, at every look until then, whatever else was called on this page or
// another.

#include "FuzzChecks.h"
#include "quillmark_page.h"

#include <cstring>
#include <vector>

namespace cpage {

// A copy of count elements at data, compared byte for byte (NaN payloads and all).
template <class T>
class HeldArray
{
public:
    void hold(const T *array, size_t count)
    {
        data = array;
        copy.assign(array, array + count);
    }
    void require() const
    {
        FUZZ_REQUIRE(copy.empty() || std::memcmp(data, copy.data(), copy.size() * sizeof(T)) == 0);
    }

private:
    const T *data = nullptr;
    std::vector<T> copy;
};

struct Held
{
    HeldArray<quillmark_key> keys, selectedKeys;
    HeldArray<double> fractions;
    HeldArray<int> sizes;
    HeldArray<float> xy;
    HeldArray<unsigned char> bytes;

    void holdKeys(const quillmark_keys &k) { keys.hold(k.keys, size_t(k.count)); }
    // A call that hands out keys without giving them to the host (erase_strokes without removed).
    void dropKeys() { keys.hold(nullptr, 0); }
    void holdSelection(const quillmark_selection &s)
    {
        selectedKeys.hold(s.keys, size_t(s.count));
        fractions.hold(s.fractions, size_t(s.count));
    }
    void holdPolygons(const quillmark_polygons &p)
    {
        sizes.hold(p.sizes, size_t(p.count));
        xy.hold(p.xy, 2 * size_t(p.point_count));
    }
    void holdBytes(const quillmark_bytes &b) { bytes.hold(b.data, b.size); }

    void require() const
    {
        keys.require();
        selectedKeys.require();
        fractions.require();
        sizes.require();
        xy.require();
        bytes.require();
    }
};

} // namespace cpage

#endif
