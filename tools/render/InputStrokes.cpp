#include "InputStrokes.h"

#include "EngineRange.h"
#include "PageOrText.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {
struct DemoRow
{
    const char *file;
    std::vector<size_t> strokes;  // indices in the file
};

// Handwriting recorded with a mouse, and three strokes of a tablet painting (with pressure).
const DemoRow kDemoRows[] = {
    {"pf-recorded.txt", {0}},
    {"mypaint-painting30sec.txt", {0, 2, 3}},
};

const double kDemoGap = 40;  // drawing units between neighbouring strokes and rows

struct Bounds
{
    double left, top, right, bottom;
};

Bounds boundsOf(const RecordedStroke &stroke)
{
    Bounds b{stroke.front().x, stroke.front().y, stroke.front().x, stroke.front().y};
    for (const RecordedSample &s : stroke) {
        b.left = std::min(b.left, s.x);
        b.top = std::min(b.top, s.y);
        b.right = std::max(b.right, s.x);
        b.bottom = std::max(b.bottom, s.y);
    }
    return b;
}

// Lays the strokes out left to right with their tops at top; returns the row's bottom edge.
double placeRow(std::vector<RecordedStroke> &strokes, double top)
{
    double left = 0, bottom = top;
    for (RecordedStroke &stroke : strokes) {
        const Bounds b = boundsOf(stroke);
        for (RecordedSample &s : stroke) {
            s.x += left - b.left;
            s.y += top - b.top;
        }
        left += b.right - b.left + kDemoGap;
        bottom = std::max(bottom, top + b.bottom - b.top);
    }
    return bottom;
}

// What lies beyond the engines' range in the strokes of file, or nothing.
std::string outOfRange(const std::vector<RecordedStroke> &strokes, const std::string &file)
{
    for (size_t i = 0; i < strokes.size(); ++i) {
        for (size_t j = 0; j < strokes[i].size(); ++j) {
            const RecordedSample &s = strokes[i][j];
            const std::pair<const char *, double> values[] = {
                {"x", s.x}, {"y", s.y}, {"pressure", s.pressure}};
            for (const auto &[name, value] : values) {
                if (std::fabs(value) <= kEngineRange)
                    continue;
                std::ostringstream where;
                where << file << ": stroke " << i + 1 << ", sample " << j + 1 << ": " << name
                      << " " << value;
                return beyondEngineRange(where.str());
            }
        }
    }
    return std::string();
}
} // namespace

InputStrokes readInputs(const std::vector<std::string> &paths)
{
    InputStrokes all;
    for (const std::string &path : paths) {
        PageOrText file = readPageOrText(path);
        const std::string name = path == "-" ? "standard input" : path;
        if (file.error.empty() && file.strokes.empty())
            file.error = "no strokes in " + name;
        if (file.error.empty())
            file.error = outOfRange(file.strokes, name);
        if (!file.error.empty()) {
            all.error = file.error;
            return all;
        }
        for (size_t i = 0; i < file.records.size(); ++i)
            if (!file.records[i].edits.empty())
                all.edited.emplace(all.strokes.size() + i, std::move(file.records[i]));
        std::move(file.strokes.begin(), file.strokes.end(), std::back_inserter(all.strokes));
    }
    return all;
}

InputStrokes demoStrokes()
{
    InputStrokes demo;
    double top = 0;
    for (const DemoRow &row : kDemoRows) {
        StrokeFileResult file = readStrokeFile(std::string(QUILLMARK_DATA_DIR) + "/" + row.file);
        if (!file.error.empty()) {
            demo.error = file.error;
            return demo;
        }
        std::vector<RecordedStroke> picked;
        for (size_t index : row.strokes)
            if (index < file.strokes.size())
                picked.push_back(file.strokes[index]);
        top = placeRow(picked, top) + kDemoGap;
        std::move(picked.begin(), picked.end(), std::back_inserter(demo.strokes));
    }
    return demo;
}
