#include "StrokeRecords.h"

#include <charconv>
#include <cmath>
#include <string>

OxStrokeRecord recordOf(const RecordedStroke &stroke, int engine, float width, quint32 rgba,
                        QPointF offset)
{
    OxStrokeRecord record;
    record.engine = engine;
    record.width = width;
    record.rgba = rgba;
    if (stroke.empty())
        return record;
    const long long first = stroke.front().timeMs;
    for (const RecordedSample &s : stroke)
        record.samples.push_back(OxRecordedSample{float(s.x + offset.x()), float(s.y + offset.y()),
                                                  qint32(s.timeMs - first), s.pressure});
    record.steps.push_back(OxRecordedStep{OxRecordedStep::kStart, 1});
    if (stroke.size() == 1)
        return record;
    for (std::size_t i = 1; i + 1 < stroke.size(); ++i)
        record.steps.push_back(OxRecordedStep{OxRecordedStep::kAdd, 1});
    record.steps.push_back(OxRecordedStep{OxRecordedStep::kEnd, 1});
    return record;
}

std::vector<OxStrokeRecord> recordsOf(const std::vector<RecordedStroke> &strokes, int engine,
                                      float width, quint32 rgba)
{
    std::vector<OxStrokeRecord> records;
    for (const RecordedStroke &stroke : strokes)
        records.push_back(recordOf(stroke, engine, width, rgba));
    return records;
}

RecordedStroke samplesOf(const OxStrokeRecord &record)
{
    RecordedStroke stroke;
    for (const OxRecordedSample &s : record.samples)
        stroke.push_back(RecordedSample{s.x, s.y, s.time, s.pressure});
    return stroke;
}

namespace {
bool readsBackAs(const char *text, const char *end, float v)
{
    double read = 0;
    std::from_chars(text, end, read);
    return float(read) == v;
}

// The fewest digits that read back as v through a double, as readStrokes() reads them (the
// float's own shortest form almost always; 17 digits of the double always).
void appendFloat(std::string &out, float v)
{
    char text[64];
    char *end = std::to_chars(text, text + sizeof text, v).ptr;
    for (int precision = 9; !readsBackAs(text, end, v) && precision <= 17; ++precision)
        end = std::to_chars(text, text + sizeof text, double(v), std::chars_format::general, precision).ptr;
    out.append(text, end);
}
} // namespace

void writeRecordText(std::ostream &out, const std::vector<OxStrokeRecord> &records)
{
    std::string line;
    for (const OxStrokeRecord &record : records) {
        for (const OxRecordedSample &s : record.samples) {
            line.clear();
            appendFloat(line, s.x);
            line += ' ';
            appendFloat(line, s.y);
            line += ' ';
            line += std::to_string(s.time);
            line += ' ';
            appendFloat(line, s.pressure);
            line += '\n';
            out << line;
        }
        out << '\n';
    }
}
