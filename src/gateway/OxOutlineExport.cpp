// Handing shapes to the host as plain arrays.

#include "OxQuillmarkGateway.h"

#include "OxBufferRoom_p.h"
#include "OxEngineKind.h"
#include "OxExportMirror_p.h"
#include "OxGrowingRun_p.h"
#include "OxStrokesFixWidth.h"

#include <algorithm>

using namespace quillmark::detail;

void OxQuillmarkGateway::appendPathElements(const QPainterPath &path, QVector<int> &counts,
                                            QVector<float> &coords, bool append)
{
    // Every element counts, a lone move-to as well: Qt gives an empty path a move-to (0, 0) as
    // soon as its fill rule is set, and such a path is handed out as that one pair.
    const int n = path.elementCount();
    if (n == 0)
        return;
    const int before = sumCounts(counts);
    counts.append(n);
    for (int j = 0; j < n; ++j) {
        const QPainterPath::Element e = path.elementAt(j);
        if (append) {
            coords.append(float(e.x));
            coords.append(float(e.y));
        } else {
            coords[2 * (before + j)] = float(e.x);
            coords[2 * (before + j) + 1] = float(e.y);
        }
    }
}

int OxQuillmarkGateway::sumCounts(const QVector<int> &counts)
{
    int sum = 0;
    for (int c : counts)
        sum += c;
    return sum;
}

void OxQuillmarkGateway::allocateExport(int pointCount, int pathCount)
{
    releaseExport();
    exportPointCount = pointCount;
    exportPathCount = pathCount;
    // Sizes that repeat from call to call, so that each array takes the place of the one just
    // released (see OxBufferRoom_p.h).
    if (pathCount > 0)
        exportPathSizes = new int[size_t(bufferRoomFor(pathCount))];
    if (pointCount > 0)
        exportCoords = new float[size_t(bufferRoomFor(2 * pointCount))];
}

float *OxQuillmarkGateway::reportExport(int &pointCount, int &pathCount, int *&pathSizes) const
{
    pointCount = exportPointCount;
    pathCount = exportPathCount;
    pathSizes = exportPathSizes;
    return exportCoords;
}

float *OxQuillmarkGateway::publishPaths(const QVector<QPainterPath> &paths,
                                        const OxStrokeShape *body, int &pointCount,
                                        int &pathCount, int *&pathSizes)
{
    const int bodySize = body ? body->outlineSize() : 0;
    int total = bodySize, entries = bodySize > 0 ? 1 : 0;
    for (const QPainterPath &p : paths) {
        const int n = p.elementCount();
        total += n;
        entries += n > 0 ? 1 : 0;
    }
    allocateExport(total, entries);
    int *sizes = exportPathSizes;
    float *xy = exportCoords;
    if (bodySize > 0) {
        body->writeOutline(xy);
        *sizes++ = bodySize;
        xy += 2 * bodySize;
    }
    for (const QPainterPath &p : paths) {
        const int n = p.elementCount();
        if (n == 0)
            continue;
        *sizes++ = n;
        for (int j = 0; j < n; ++j) {
            const QPainterPath::Element &e = p.elementAt(j);
            *xy++ = float(e.x);
            *xy++ = float(e.y);
        }
    }
    return reportExport(pointCount, pathCount, pathSizes);
}

float *OxQuillmarkGateway::publishSmoothedPoints(int &pointCount, int &pathCount,
                                                 int *&pathSizes)
{
    const std::vector<OxInkPoint> &line = engine->smoothedPoints;
    std::vector<float> &copy = exportMirror->centreLine;
    followGrowingPoints(copy, int(line.size()),
                        [&](int i) { return QPointF(line[size_t(i)].x, line[size_t(i)].y); });
    const int n = int(line.size());
    allocateExport(n, 1);
    exportPathSizes[0] = n;
    std::copy(copy.begin(), copy.end(), exportCoords);
    return reportExport(pointCount, pathCount, pathSizes);
}

float *OxQuillmarkGateway::publishEngineShape(bool brushTailOnly, int &pointCount,
                                              int &pathCount, int *&pathSizes)
{
    // The brush draws an outline and tails; the filled pen hands out its centre line.
    const OxEngineKind &kind = *OxEngineKind::of(*engine);
    if (kind.drawn != OxEngineKind::Drawn::kOutlineAndTails)
        return publishSmoothedPoints(pointCount, pathCount, pathSizes);
    if (brushTailOnly)
        return publishPaths(kind.tails(*engine), nullptr, pointCount, pathCount, pathSizes);
    // The body outline grows with the stroke: it is copied from the followed runs, and
    // assembled only when they cannot give it.
    OxStrokeShape &body = exportMirror->body;
    if (body.followOutline(*kind.outlineBuilder(*engine)) && body.outlineSize() >= 0)
        return publishPaths(kind.tails(*engine), &body, pointCount, pathCount, pathSizes);
    return publishPaths(kind.outlines(*engine), nullptr, pointCount, pathCount, pathSizes);
}
