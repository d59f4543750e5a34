#ifndef QUILLMARK_RECORDCOMPARE_H
#define QUILLMARK_RECORDCOMPARE_H

// Stroke records compared to the bit, edits included, with the first difference named. Used by the tests and the
// page reader's fuzz target.

#include "OxStrokeRecord.h"

#include <cstdint>
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

// Empty when actual is expected to the bit; otherwise what differs first.
inline std::string recordDifference(const std::vector<OxStrokeRecord> &expected,
                                    const std::vector<OxStrokeRecord> &actual)
{
    const auto at = [](std::size_t stroke) { return "stroke " + std::to_string(stroke) + ": "; };
    if (expected.size() != actual.size())
        return std::to_string(actual.size()) + " strokes, expected " + std::to_string(expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const OxStrokeRecord &e = expected[i], &a = actual[i];
        if (e.engine != a.engine || bitsOf(e.width) != bitsOf(a.width) || e.rgba != a.rgba)
            return at(i) + "engine, width or colour differ";
        if (e.samples.size() != a.samples.size())
            return at(i) + std::to_string(a.samples.size()) + " samples, expected " +
                   std::to_string(e.samples.size());
        for (std::size_t j = 0; j < e.samples.size(); ++j) {
            const OxRecordedSample &se = e.samples[j], &sa = a.samples[j];
            if (bitsOf(se.x) != bitsOf(sa.x) || bitsOf(se.y) != bitsOf(sa.y) ||
                se.time != sa.time || bitsOf(se.pressure) != bitsOf(sa.pressure))
                return at(i) + "sample " + std::to_string(j) + " is (" + std::to_string(sa.x) +
                       ", " + std::to_string(sa.y) + ", " + std::to_string(sa.time) + ", " +
                       std::to_string(sa.pressure) + "), expected (" + std::to_string(se.x) + ", " +
                       std::to_string(se.y) + ", " + std::to_string(se.time) + ", " +
                       std::to_string(se.pressure) + ")";
        }
        if (e.steps.size() != a.steps.size())
            return at(i) + "step counts differ";
        for (std::size_t j = 0; j < e.steps.size(); ++j)
            if (e.steps[j].call != a.steps[j].call || e.steps[j].samples != a.steps[j].samples)
                return at(i) + "step " + std::to_string(j) + " differs";
        if (e.edits.size() != a.edits.size())
            return at(i) + std::to_string(a.edits.size()) + " edits, expected " +
                   std::to_string(e.edits.size());
        for (std::size_t j = 0; j < e.edits.size(); ++j) {
            const OxRecordedEdit &ee = e.edits[j], &ea = a.edits[j];
            bool same = ee.kind == ea.kind && ee.piece == ea.piece &&
                        bitsOf(ee.radius) == bitsOf(ea.radius) && ee.xy.size() == ea.xy.size();
            for (std::size_t k = 0; same && k < ee.xy.size(); ++k)
                same = bitsOf(ee.xy[k]) == bitsOf(ea.xy[k]);
            if (!same)
                return at(i) + "edit " + std::to_string(j) + " differs";
        }
    }
    return std::string();
}

#endif
