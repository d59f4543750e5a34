#include "StrokeFile.h"

#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {
bool isBlank(const std::string &line)
{
    return line.find_first_not_of(" \t\r") == std::string::npos;
}

std::string describe(const std::string &name, int lineNumber, const std::string &what)
{
    return name + ":" + std::to_string(lineNumber) + ": " + what;
}
} // namespace

StrokeFileResult readStrokes(std::istream &in, const std::string &name)
{
    StrokeFileResult result;
    RecordedStroke current;
    std::string line;
    int lineNumber = 0;
    auto endStroke = [&] {
        if (!current.empty())
            result.strokes.push_back(std::move(current));
        current.clear();
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        const size_t first = line.find_first_not_of(" \t");
        if (first != std::string::npos && line[first] == '#')
            continue;
        if (isBlank(line)) {
            endStroke();
            continue;
        }
        std::istringstream fields(line);
        RecordedSample s;
        double time = 0;
        if (!(fields >> s.x >> s.y >> time >> s.pressure)) {
            result.error = describe(name, lineNumber, "expected four numbers: x y t_ms pressure");
            return result;
        }
        std::string rest;
        if (fields >> rest) {
            result.error = describe(name, lineNumber, "unexpected text after the pressure: " + rest);
            return result;
        }
        if (!std::isfinite(s.x) || !std::isfinite(s.y) || !std::isfinite(time)
            || !std::isfinite(s.pressure)) {
            result.error = describe(name, lineNumber, "a value is not a finite number");
            return result;
        }
        s.timeMs = (long long)std::llround(time);
        current.push_back(s);
    }
    endStroke();
    return result;
}

StrokeFileResult readStrokeFile(const std::string &path)
{
    if (path == "-")
        return readStrokes(std::cin, "<stdin>");
    std::ifstream file(path);
    if (!file) {
        StrokeFileResult result;
        result.error = path + ": cannot open file";
        return result;
    }
    return readStrokes(file, path);
}
