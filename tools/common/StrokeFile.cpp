#include "StrokeFile.h"

#include <charconv>
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

const char *const kExpectedNumbers = "expected four numbers: x y t_ms pressure";

// One field as a number, in the C locale whatever the user's locale is. Returns what is wrong
// with it, or nothing.
std::string parseNumber(const std::string &field, double &value)
{
    // from_chars takes no plus sign.
    const bool plus = field.size() > 1 && field[0] == '+' && field[1] != '-';
    const char *last = field.data() + field.size();
    const auto [end, error] = std::from_chars(field.data() + (plus ? 1 : 0), last, value);
    if (end != last || error == std::errc::invalid_argument)
        return kExpectedNumbers;
    if (error == std::errc::result_out_of_range)
        return "a value is out of the range of a double: " + field;
    if (!std::isfinite(value))
        return "a value is not a finite number: " + field;
    return std::string();
}

// The four numbers of a sample line. Returns what is wrong with the line, or nothing.
std::string parseSample(const std::string &line, RecordedSample &s)
{
    std::istringstream in(line);
    std::string fields[4], rest;
    double values[4];
    for (int i = 0; i < 4; ++i) {
        if (!(in >> fields[i]))
            return kExpectedNumbers;
        const std::string error = parseNumber(fields[i], values[i]);
        if (!error.empty())
            return error;
    }
    if (in >> rest)
        return "unexpected text after the pressure: " + rest;
    if (!std::isfinite(float(values[3])))
        return "the pressure is out of the range of a float: " + fields[3];
    s.x = values[0];
    s.y = values[1];
    s.timeMs = (long long)std::llround(values[2]);
    s.pressure = float(values[3]);
    return std::string();
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
        RecordedSample s;
        const std::string error = parseSample(line, s);
        if (!error.empty()) {
            result.error = describe(name, lineNumber, error);
            return result;
        }
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
