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
    std::ostringstream out;
    out << std::left << std::setw(10) << "engine" << std::right << std::setw(8) << "strokes"
        << std::setw(9) << "samples" << std::setw(9) << "accepted" << std::setw(10) << "elements"
        << std::setw(10) << "mean us" << std::setw(9) << "p99 us" << std::setw(9) << "max us"
        << std::setw(11) << "repainted" << std::setw(9) << "full" << std::setw(8) << "share"
        << "\n";
    for (const EngineStats &s : rows) {
        const double share =
            s.fullRepaintArea > 0 ? 100.0 * s.repaintedArea / s.fullRepaintArea : 0.0;
        std::ostringstream percent;
        percent << std::fixed << std::setprecision(2) << share << "%";
        out << std::left << std::setw(10) << s.engine << std::right << std::setw(8) << s.strokes
            << std::setw(9) << s.samples << std::setw(9) << s.accepted << std::setw(10)
            << s.elements << std::fixed << std::setprecision(2) << std::setw(10) << s.meanMicros
            << std::setw(9) << s.p99Micros << std::setw(9) << s.maxMicros << std::setw(11)
            << area(s.repaintedArea) << std::setw(9) << area(s.fullRepaintArea) << std::setw(8)
            << percent.str() << "\n";
    }
    return out.str();
}
