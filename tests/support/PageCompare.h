#ifndef QUILLMARK_PAGECOMPARE_H
#define QUILLMARK_PAGECOMPARE_H

// Two pages compared as a host sees them: the same keys in the same order, the same next key,
// and for every stroke the same polygons, colour and record, to the bit; the first difference
// named. Used by the tests and the page reader's fuzz target.

#include "OxStrokePage.h"
#include "RecordCompare.h"

#include <string>
#include <vector>

inline std::string pageDifference(const OxStrokePage &expected, const OxStrokePage &actual)
{
    const std::vector<OxStrokePage::Key> keys = expected.keys();
    if (actual.keys() != keys)
        return "the keys or their order differ";
    if (actual.contents().nextKey != expected.contents().nextKey)
        return "the next keys differ";
    for (OxStrokePage::Key key : keys) {
        const std::string stroke = "stroke " + std::to_string(key) + ": ";
        std::vector<int> sizes, actualSizes;
        std::vector<float> xy, actualXY;
        expected.polygons(key, sizes, xy);
        actual.polygons(key, actualSizes, actualXY);
        if (sizes != actualSizes || xy.size() != actualXY.size()
            || std::memcmp(xy.data(), actualXY.data(), xy.size() * sizeof(float)) != 0)
            return stroke + "the polygons differ";
        if (expected.rgba(key) != actual.rgba(key))
            return stroke + "the colours differ";
        std::vector<OxStrokeRecord> records(1), actualRecords(1);
        expected.record(key, records[0]);
        actual.record(key, actualRecords[0]);
        const std::string difference = recordDifference(records, actualRecords);
        if (!difference.empty())
            return stroke + difference;
    }
    return std::string();
}

#endif
