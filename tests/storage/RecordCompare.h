#ifndef QUILLMARK_RECORDCOMPARE_H
#define QUILLMARK_RECORDCOMPARE_H

// Stroke records compared to the bit, with the first difference named.

#include "OxStrokeRecord.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

inline std::uint32_t bitsOf(float v)
{
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

inline float floatOfBits(std::uint32_t bits)
{
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

inline testing::AssertionResult sameRecords(const std::vector<OxStrokeRecord> &expected,
                                            const std::vector<OxStrokeRecord> &actual)
{
    if (expected.size() != actual.size())
        return testing::AssertionFailure() << actual.size() << " strokes, expected " << expected.size();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const OxStrokeRecord &e = expected[i], &a = actual[i];
        if (e.engine != a.engine || bitsOf(e.width) != bitsOf(a.width) || e.rgba != a.rgba)
            return testing::AssertionFailure() << "stroke " << i << ": engine, width or colour differ";
        if (e.samples.size() != a.samples.size())
            return testing::AssertionFailure() << "stroke " << i << ": " << a.samples.size()
                                               << " samples, expected " << e.samples.size();
        for (std::size_t j = 0; j < e.samples.size(); ++j) {
            const OxRecordedSample &se = e.samples[j], &sa = a.samples[j];
            if (bitsOf(se.x) != bitsOf(sa.x) || bitsOf(se.y) != bitsOf(sa.y) ||
                se.time != sa.time || bitsOf(se.pressure) != bitsOf(sa.pressure))
                return testing::AssertionFailure()
                       << "stroke " << i << ", sample " << j << ": (" << sa.x << ", " << sa.y << ", "
                       << sa.time << ", " << sa.pressure << "), expected (" << se.x << ", " << se.y
                       << ", " << se.time << ", " << se.pressure << ")";
        }
        if (e.steps.size() != a.steps.size())
            return testing::AssertionFailure() << "stroke " << i << ": step counts differ";
        for (std::size_t j = 0; j < e.steps.size(); ++j)
            if (e.steps[j].call != a.steps[j].call || e.steps[j].samples != a.steps[j].samples)
                return testing::AssertionFailure() << "stroke " << i << ", step " << j << " differs";
    }
    return testing::AssertionSuccess();
}

#endif
