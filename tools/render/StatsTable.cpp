#include "StatsTable.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <sstream>

namespace {
std::vector<double> perSampleMicros(const EngineDrawing &drawing)
{
    std::vector<double> times;
    for (const StrokeRun &stroke : drawing.strokes) {
        for (const EngineCall &call : stroke.calls) {
            if (call.samples == 0) {
                if (!times.empty())
                    times.back() += call.micros;
                continue;
            }
            times.insert(times.end(), size_t(call.samples), call.micros / call.samples);
        }
    }
    return times;
}

// Areas in drawing units squared, shortened with k, M and G so the columns stay narrow.
std::string area(double value)
{
    std::ostringstream out;
    out << std::fixed << std::setprecision(1);
    if (value >= 1e9)
        out << value / 1e9 << "G";
    else if (value >= 1e6)
        out << value / 1e6 << "M";
    else if (value >= 1e3)
        out << value / 1e3 << "k";
    else
        out << value;
    return out.str();
}
} // namespace

EngineStats engineStats(const EngineDrawing &drawing)
{
    EngineStats stats;
    stats.engine = drawing.engine->name;
    stats.strokes = drawing.strokes.size();
    for (const StrokeRun &stroke : drawing.strokes) {
        stats.elements += size_t(elementCount(stroke.shapes));
        for (const EngineCall &call : stroke.calls) {
            stats.samples += size_t(call.samples);
            if (call.opensStroke || !call.dirty.isEmpty())
                stats.accepted += size_t(call.samples);
            if (!call.dirty.isEmpty())
                stats.repaintedArea += call.dirty.width() * call.dirty.height();
        }
    }
    const QRectF bounds = drawingBounds(drawing);
    stats.fullRepaintArea = bounds.width() * bounds.height() * double(stats.samples);

    std::vector<double> times = perSampleMicros(drawing);
    if (!times.empty()) {
        std::sort(times.begin(), times.end());
        double sum = 0;
        for (double t : times)
            sum += t;
        stats.meanMicros = sum / double(times.size());
        const size_t rank = size_t(std::ceil(0.99 * double(times.size())));
        stats.p99Micros = times[std::max<size_t>(rank, 1) - 1];
        stats.maxMicros = times.back();
    }
    return stats;
}

std::string statsTable(const std::vector<EngineStats> &rows)
{
    // Titles and the narrowest width of each column, the space before it included; the engine
    // column is aligned left, the others right.
    const std::pair<const char *, size_t> columns[] = {
        {"engine", 10}, {"strokes", 8}, {"samples", 9}, {"accepted", 9},
        {"elements", 10}, {"mean us", 10}, {"p99 us", 9}, {"max us", 9},
        {"repainted", 11}, {"full", 9}, {"share", 8}};
    std::vector<std::vector<std::string>> cells(1);
    for (const auto &column : columns)
        cells[0].push_back(column.first);
    auto fixed = [](double value, const char *unit) {
        std::ostringstream out;
        out << std::fixed << std::setprecision(2) << value << unit;
        return out.str();
    };
    for (const EngineStats &s : rows) {
        const double share =
            s.fullRepaintArea > 0 ? 100.0 * s.repaintedArea / s.fullRepaintArea : 0.0;
        cells.push_back({s.engine, std::to_string(s.strokes), std::to_string(s.samples),
                         std::to_string(s.accepted), std::to_string(s.elements),
                         fixed(s.meanMicros, ""), fixed(s.p99Micros, ""), fixed(s.maxMicros, ""),
                         area(s.repaintedArea), area(s.fullRepaintArea), fixed(share, "%")});
    }
    // Huge figures widen their column, so that neighbouring cells never run into each other.
    std::vector<size_t> widths;
    for (const auto &column : columns)
        widths.push_back(column.second);
    for (const auto &row : cells)
        for (size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size() + 1);

    std::ostringstream out;
    for (const auto &row : cells) {
        out << std::left << std::setw(int(widths[0])) << row[0] << std::right;
        for (size_t i = 1; i < row.size(); ++i)
            out << std::setw(int(widths[i])) << row[i];
        out << "\n";
    }
    return out.str();
}
