// Handing shapes to the host as plain arrays.

#include "OxQuillmarkGateway.h"

#include "OxBufferRoom_p.h"
#include "OxStrokesFixWidthFill.h"
#include "OxStrokesVaryWidthBackwardTime.h"

#include <algorithm>

using namespace quillmark::detail;

namespace {
template <class T>
T *copyToArray(const QVector<T> &values)
{
    T *array = new T[size_t(values.size())];
    std::copy(values.begin(), values.end(), array);
    return array;
}
} // namespace

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

float *OxQuillmarkGateway::publishPaths(const QVector<QPainterPath> &paths, bool inPlace,
                                        int &pointCount, int &pathCount, int *&pathSizes)
{
    QVector<int> counts;
    QVector<float> coords;
    if (inPlace) {
        // Sized once and filled in place: the calls made for every sample do not grow it.
        int total = 0;
        for (const QPainterPath &p : paths)
            total += p.elementCount();
        coords.reserve(bufferRoomFor(2 * total));
        coords.fill(0.0f, 2 * total);
    }
    for (const QPainterPath &p : paths)
        appendPathElements(p, counts, coords, !inPlace);

    releaseExport();
    exportPointCount = sumCounts(counts);
    exportPathCount = counts.size();
    if (exportPathCount > 0)
        exportPathSizes = copyToArray(counts);
    if (!coords.isEmpty())
        exportCoords = copyToArray(coords);
    pointCount = exportPointCount;
    pathCount = exportPathCount;
    pathSizes = exportPathSizes;
    return exportCoords;
}

float *OxQuillmarkGateway::publishSmoothedPoints(int &pointCount, int &pathCount,
                                                 int *&pathSizes)
{
    const std::vector<OxInkPoint> &line = engine->smoothedPoints;
    const int n = int(line.size());
    releaseExport();
    exportPathCount = 1;
    exportPointCount = n;
    exportPathSizes = new int[1]{n};
    if (n > 0) {
        exportCoords = new float[size_t(2 * n)];
        for (int i = 0; i < n; ++i) {
            exportCoords[2 * i] = line[size_t(i)].x;
            exportCoords[2 * i + 1] = line[size_t(i)].y;
        }
    }
    pointCount = exportPointCount;
    pathCount = exportPathCount;
    pathSizes = exportPathSizes;
    return exportCoords;
}

float *OxQuillmarkGateway::publishEngineShape(bool brushTailOnly, bool inPlace, int &pointCount,
                                              int &pathCount, int *&pathSizes)
{
    if (auto *brush = dynamic_cast<OxStrokesVaryWidthBackwardTime *>(engine)) {
        QVector<QPainterPath> paths;
        if (!brushTailOnly)
            paths.append(brush->getPathWhole());
        paths += brush->backwardPaths;
        return publishPaths(paths, inPlace, pointCount, pathCount, pathSizes);
    }
    return publishSmoothedPoints(pointCount, pathCount, pathSizes);
}
