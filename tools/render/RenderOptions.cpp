#include "RenderOptions.h"

#include "EngineRange.h"

#include <QByteArray>
#include <cmath>

namespace {
const char *const kDemoSvg = "quillmark-demo.svg";
const char *const kDemoPng = "quillmark-demo.png";
// The demo picture holds one panel per engine side by side; at this scale the bundled strokes
// stay legible without making the picture wider than a screen or two.
const double kDemoScale = 0.5;

std::string engineNames(const std::vector<EngineAdapter> &table)
{
    std::string names;
    for (const EngineAdapter &engine : table)
        names += engine.name + ", ";
    return names + "all";
}

// A finite number above zero, in the C locale whatever the user's locale is.
bool parsePositive(const std::string &text, double &value)
{
    bool ok = false;
    const double parsed = QByteArray::fromStdString(text).toDouble(&ok);
    if (!ok || !std::isfinite(parsed) || parsed <= 0)
        return false;
    value = parsed;
    return true;
}

bool parseMode(const std::string &text, FeedMode &mode)
{
    if (text == "live")
        mode = FeedMode::Live;
    else if (text == "replay")
        mode = FeedMode::Replay;
    else if (text == "batch")
        mode = FeedMode::Batch;
    else
        return false;
    return true;
}

bool takesValue(const std::string &option)
{
    for (const char *name :
         {"--engine", "--width", "--mode", "--batch", "--svg", "--png", "--scale"})
        if (option == name)
            return true;
    return false;
}

// Applies one option with a value; returns the error, empty when the value is good.
std::string applyValue(RenderOptions &o, std::string &engineName, const std::string &option,
                       const std::string &value)
{
    double number = 0;
    if (option == "--engine") {
        engineName = value;
    } else if (option == "--width") {
        // The engines take the width as a float: it must stay above zero and finite there too.
        if (!parsePositive(value, number) || !std::isfinite(float(number)) || float(number) <= 0)
            return "--width must be a positive number, not '" + value + "'";
        if (number > kEngineRange)
            return beyondEngineRange("--width " + value);
        o.feed.width = float(number);
    } else if (option == "--mode") {
        if (!parseMode(value, o.feed.mode))
            return "unknown mode '" + value + "' (known: live, replay, batch)";
    } else if (option == "--batch") {
        bool ok = false;
        const int size = QByteArray::fromStdString(value).toInt(&ok);
        if (!ok || size <= 0)
            return "--batch must be a positive whole number, not '" + value + "'";
        o.feed.batchSize = size;
    } else if (option == "--svg") {
        o.svgPath = value;
    } else if (option == "--png") {
        o.pngPath = value;
    } else if (option == "--scale") {
        if (!parsePositive(value, number))
            return "--scale must be a positive number, not '" + value + "'";
        o.scale = number;
    }
    return std::string();
}

std::string selectEngines(RenderOptions &o, const std::string &name,
                          const std::vector<EngineAdapter> &table)
{
    const bool batch = o.feed.mode == FeedMode::Batch;
    if (name == "all") {
        for (const EngineAdapter &engine : table)
            if (!batch || engine.hasBatchMode())
                o.engines.push_back(&engine);
        return o.engines.empty() ? "no engine has a batch mode" : std::string();
    }
    for (const EngineAdapter &engine : table) {
        if (engine.name != name)
            continue;
        if (batch && !engine.hasBatchMode())
            return "engine '" + name + "' has no batch mode";
        o.engines.push_back(&engine);
        return std::string();
    }
    return "unknown engine '" + name + "' (known: " + engineNames(table) + ")";
}
} // namespace

ParsedOptions parseRenderOptions(const std::vector<std::string> &args,
                                 const std::vector<EngineAdapter> &table)
{
    ParsedOptions parsed;
    RenderOptions &o = parsed.options;
    std::string engineName = "all";
    if (args.empty()) {
        o.svgPath = kDemoSvg;
        o.pngPath = kDemoPng;
        o.scale = kDemoScale;
        o.stats = true;
    }
    for (size_t i = 0; i < args.size() && parsed.error.empty(); ++i) {
        const std::string &arg = args[i];
        if (arg == "-" || arg.compare(0, 1, "-") != 0) {
            o.inputs.push_back(arg);
        } else if (arg == "--help" || arg == "-h") {
            o.help = true;
            return parsed;
        } else if (arg == "--version") {
            o.version = true;
            return parsed;
        } else if (arg == "--stats") {
            o.stats = true;
        } else if (arg == "--show-dirty") {
            o.showDirty = true;
        } else if (!takesValue(arg)) {
            parsed.error = "unknown option '" + arg + "'";
        } else if (i + 1 == args.size()) {
            parsed.error = "option '" + arg + "' needs a value";
        } else {
            parsed.error = applyValue(o, engineName, arg, args[++i]);
        }
    }
    if (parsed.error.empty())
        parsed.error = selectEngines(o, engineName, table);
    if (o.svgPath.empty() && o.pngPath.empty())
        o.stats = true;
    return parsed;
}

std::string renderUsage(const std::vector<EngineAdapter> &table)
{
    const FeedSettings defaults;
    return "usage: quillmark-render [options] [strokes.txt | page.qmk ... | -]\n"
           "Feeds recorded strokes to the stroke engines and draws what they return. With no\n"
           "arguments: every engine on the bundled strokes, drawn into " + std::string(kDemoPng) +
           "\nand " + kDemoSvg + ", and the stats table.\n"
           "  --engine NAME   " + engineNames(table) + " (default all)\n"
           "  --width W       pen width in drawing units (default " +
           QByteArray::number(defaults.width).toStdString() + ")\n"
           "  --mode MODE     live: one phase call per sample (default); replay: one\n"
           "                  loadFromWholePoints per stroke; batch: samples in batches\n"
           "  --batch N       samples per batch call in batch mode (default " +
           std::to_string(defaults.batchSize) + ")\n"
           "  --svg FILE      write the drawing as SVG\n"
           "  --png FILE      write the drawing as PNG\n"
           "  --scale S       output units per drawing unit (default 1)\n"
           "  --show-dirty    overlay the rectangles the engines reported\n"
           "  --stats         print the stats table (also when no picture is asked for)\n"
           "  --version       print the library's version\n"
           "Input files hold one sample 'x y t_ms pressure' a line and a blank line between\n"
           "strokes, or are page files (quillmark-pad's, quillmark-convert's): their strokes\n"
           "are drawn from their samples alike, and the pieces an eraser left are cut as the\n"
           "page cut them. '-' reads standard input. Exit status 2: bad command line or input;\n"
           "1: an output file could not be written.\n";
}
