#include "RenderCommand.h"

#include "EngineTable.h"
#include "InputStrokes.h"
#include "OutputFile.h"
#include "PageEdits.h"
#include "PngWriter.h"
#include "RenderOptions.h"
#include "StatsTable.h"
#include "SvgWriter.h"
#include "quillmark_c.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <sstream>

namespace {
enum ExitStatus
{
    kSuccess = 0,
    kCannotWrite = 1,
    kBadInput = 2,
};

// Pictures beyond this many pixels (a dozen 4K screens) are refused instead of allocated.
const double kMaxPixels = 100'000'000;

int fail(std::ostream &err, ExitStatus status, std::string message)
{
    std::replace(message.begin(), message.end(), '\n', ' ');
    std::replace(message.begin(), message.end(), '\r', ' ');
    err << "quillmark-render: " << message << "\n";
    return status;
}
} // namespace

int runRender(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    const ParsedOptions parsed = parseRenderOptions(args, engineTable());
    if (!parsed.error.empty())
        return fail(err, kBadInput, parsed.error);
    const RenderOptions &o = parsed.options;
    if (o.help) {
        out << renderUsage(engineTable());
        return kSuccess;
    }
    if (o.version) {
        out << "quillmark-render " << quillmark_version() << "\n";
        return kSuccess;
    }

    const InputStrokes input = o.inputs.empty() ? demoStrokes() : readInputs(o.inputs);
    if (!input.error.empty())
        return fail(err, kBadInput, input.error);

    std::vector<EngineDrawing> drawings;
    for (const EngineAdapter *engine : o.engines) {
        drawings.push_back(drawStrokes(*engine, input.strokes, o.feed));
        for (const std::string &note : applyPageEdits(drawings.back(), input.edited))
            err << "quillmark-render: note: " << note << "\n";
    }

    const PanelLayout layout = layoutPanels(drawings, o.scale, o.showDirty);
    QByteArray svg, png;
    if (!o.svgPath.empty())
        svg = svgDocument(drawings, layout, o.showDirty);
    if (!o.pngPath.empty()) {
        const QSizeF page = layout.pageSize();
        if (!(page.width() * page.height() <= kMaxPixels)) {
            std::ostringstream message;
            message << std::setprecision(10) << "the picture would be "
                    << std::ceil(page.width()) << " x " << std::ceil(page.height())
                    << " pixels; lower --scale";
            return fail(err, kBadInput, message.str());
        }
        png = pngBytes(renderPicture(drawings, layout, o.showDirty));
        if (png.isEmpty())
            return fail(err, kCannotWrite, o.pngPath + ": cannot encode the picture");
    }
    for (const auto &[path, bytes] : {std::pair(o.svgPath, svg), std::pair(o.pngPath, png)}) {
        if (path.empty())
            continue;
        const std::string error = writeFileAtomically(path, bytes);
        if (!error.empty())
            return fail(err, kCannotWrite, error);
    }

    if (o.stats) {
        std::vector<EngineStats> rows;
        for (const EngineDrawing &drawing : drawings)
            rows.push_back(engineStats(drawing));
        out << statsTable(rows);
    }
    return kSuccess;
}
