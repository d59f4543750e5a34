#include "ConvertCommand.h"

#include "OxEngineKind.h"
#include "OxPageFile.h"
#include "PageOrText.h"
#include "QuillmarkVersion.h"
#include "StrokeRecords.h"

#include <QFile>
#include <QSaveFile>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace {
struct ConvertOptions
{
    std::string input, output;
    const OxEngineKind *engine = OxEngineKind::byName("brush");
    float width = 6;
    quint32 rgba = 0x000000ff;
    bool help = false;
    bool version = false;
};

// Fills options from args; returns what is wrong, or nothing.
std::string parse(const std::vector<std::string> &args, ConvertOptions &options)
{
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg == "--version") {
            options.version = true;
            continue;
        }
        if (arg != "--engine" && arg != "--width" && arg != "--colour") {
            if (arg.size() > 1 && arg[0] == '-')
                return "unknown option " + arg;
            files.push_back(arg);
            continue;
        }
        if (i + 1 == args.size())
            return arg + " needs a value";
        const std::string &value = args[++i];
        if (arg == "--engine") {
            options.engine = OxEngineKind::byName(value.c_str());
            if (!options.engine)
                return "unknown engine '" + value + "'";
        } else if (arg == "--width") {
            char *end = nullptr;
            options.width = std::strtof(value.c_str(), &end);
            if (value.empty() || *end || !std::isfinite(options.width) || options.width <= 0)
                return "--width " + value + ": a positive number was expected";
        } else {
            char *end = nullptr;
            const unsigned long rgba = std::strtoul(value.c_str(), &end, 16);
            if (value.size() != 8 || *end)
                return "--colour " + value + ": eight hex digits RRGGBBAA were expected";
            options.rgba = quint32(rgba);
        }
    }
    if (options.help || options.version)
        return std::string();
    if (files.size() != 2)
        return "expected an input and an output file";
    options.input = files[0];
    options.output = files[1];
    return std::string();
}

// The records of a text file, drawn as options say; returns what is wrong, or nothing.
std::string recordsOfText(const QByteArray &bytes, const ConvertOptions &options,
                          std::vector<OxStrokeRecord> &records)
{
    std::istringstream in(bytes.toStdString());
    const StrokeFileResult file = readStrokes(in, options.input);
    if (!file.error.empty())
        return file.error;
    if (file.strokes.empty())
        return "no strokes in " + options.input;
    records = recordsOf(file.strokes, options.engine->id, options.width, options.rgba);
    return std::string();
}

QByteArray textOf(const std::vector<OxStrokeRecord> &records, const std::string &source)
{
    std::ostringstream out;
    out << "# converted from " << source << " by quillmark-convert: " << records.size()
        << " strokes\n# x y t_ms pressure\n";
    for (std::size_t i = 0; i < records.size(); ++i) {
        const OxStrokeRecord &record = records[i];
        char colour[9];
        std::snprintf(colour, sizeof colour, "%08x", unsigned(record.rgba));
        out << "\n# stroke " << i + 1 << ": " << OxEngineKind::byId(record.engine)->name
            << ", width " << record.width << ", colour " << colour << "\n";
        writeRecordText(out, {record});
    }
    return QByteArray::fromStdString(out.str());
}

std::string writeFile(const std::string &path, const QByteArray &bytes)
{
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return path + ": " + file.errorString().toStdString();
    return std::string();
}
} // namespace

std::string convertUsage()
{
    return "usage: quillmark-convert IN OUT [--engine NAME] [--width W] [--colour RRGGBBAA]\n"
           "\n"
           "Converts a text stroke file (x y t_ms pressure a line, a blank line between strokes)\n"
           "to a page file, and a page file back to text. Every number comes back exactly.\n"
           "\n"
           "  --engine NAME      the engine of the text's strokes: fix, fill, pressure, speed,\n"
           "                     extend or brush (default brush)\n"
           "  --width W          their pen width (default 6)\n"
           "  --colour RRGGBBAA  their colour (default 000000ff)\n"
           "  --help, --version\n"
           "\n"
           "A page file keeps the engine, width and colour of each stroke; its text gives them\n"
           "in a comment line above the stroke.\n";
}

int runConvert(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    ConvertOptions options;
    const std::string wrong = parse(args, options);
    if (!wrong.empty()) {
        err << "quillmark-convert: " << wrong << " (--help for usage)\n";
        return 2;
    }
    if (options.help || options.version) {
        out << (options.help ? convertUsage() : "quillmark-convert " QUILLMARK_VERSION_STRING "\n");
        return 0;
    }
    QFile input(QString::fromStdString(options.input));
    if (!input.open(QIODevice::ReadOnly)) {
        err << "quillmark-convert: " << options.input << ": cannot open file\n";
        return 2;
    }
    const QByteArray bytes = input.readAll();
    std::vector<OxStrokeRecord> records;
    QByteArray converted;
    if (isPageFile(bytes)) {
        const OxStorageError error = OxPageFile::fromBytes(bytes, records);
        if (!error.ok()) {
            err << "quillmark-convert: " << options.input << ": " << error.message.toStdString() << "\n";
            return 2;
        }
        converted = textOf(records, options.input);
    } else {
        const std::string error = recordsOfText(bytes, options, records);
        if (!error.empty()) {
            err << "quillmark-convert: " << error << "\n";
            return 2;
        }
        const OxStorageError written = OxPageFile::toBytes(records, converted);
        if (!written.ok()) {
            err << "quillmark-convert: " << written.message.toStdString() << "\n";
            return 2;
        }
    }
    const std::string failed = writeFile(options.output, converted);
    if (!failed.empty()) {
        err << "quillmark-convert: " << failed << "\n";
        return 1;
    }
    return 0;
}
