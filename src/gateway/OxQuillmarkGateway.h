#ifndef OXQUILLMARKGATEWAY_H
#define OXQUILLMARKGATEWAY_H

#include "OxInkPoint.h"
#include "QuillmarkExport.h"

#include <QPainterPath>
#include <QRectF>
#include <QVector>
#include <memory>
#include <vector>

class OxStrokeShape;
class OxStrokesFixWidth;
struct OxExportMirror;

// The face of the library for hosts that do not use Qt types: one gateway serves one pen.
//
// Protocol:
//   1. setEnvironmentPara(factor1, factor2, penWidth, penType): pen type 1 is the filled
//      fixed-width pen, 2 the brush whose tail thins toward the pen tip. Returns false (and
//      changes nothing) for a setting that is not a positive finite number.
//   2. Per stroke: startSketch with the first sample; then either sketching per sample and
//      endSketch / endSketch2 with the last, or (backward-only mode, only the recent part of the
//      stroke is drawn) sketching2 per batch and endSketch3 / endSketch4 with the last.
//   3. After every call read or copy the outputs before the next call on this gateway.
//   4. clearup() when the arrays are no longer needed; freeStroke() or destruction at the end.
// A stroke starts on a fresh engine only after freeStroke() and setEnvironmentPara(); without an
// engine every sketch call returns null and writes nothing.
//
// Outputs of every sketch call: the changed rectangle (left, top, width, height; to repaint) and
// the current shape as arrays owned by the gateway, valid until the next exporting call on this
// gateway, clearup() or destruction (the host never frees them):
//
//   return value  float coords[2 * pointCount]  x0 y0 x1 y1 ...   (null when pointCount is 0)
//   pathSizes     int   sizes[pathCount]       pairs per path    (null when pathCount is 0)
//
//   coords: | path 0: x y x y ... x y | path 1: x y ... | ...
//             <--- pathSizes[0] pairs ---> <- pathSizes[1] ->
//
// pointCount is always the sum of pathSizes. For the brush the paths are the outline's elements
// (move-to, line-to and each cubic's three points, in order): the body, then the tail paths. For
// the filled pen the shape is its smoothed centre line as one path of points, except after
// sketching2 and endSketch4, which hand out the filled outline. Every element counts: a path
// holding nothing but a move-to (Qt puts one at (0, 0) into an empty path whose fill rule is
// set, as in a brush tail without a segment yet) is one pair; only a path without elements gets
// no entry.
//
// Time stamps are milliseconds; 0 or less means "now" (the time of day). sketching and endSketch
// take no time stamp (they use the time of day) and round the position to whole units.
class QUILLMARK_EXPORT OxQuillmarkGateway
{
public:
    OxQuillmarkGateway();
    // Copies the settings, points and path; the copy starts without an engine and without
    // export arrays (counts 0), so nothing is ever shared or released twice.
    OxQuillmarkGateway(const OxQuillmarkGateway &other);
    // Releases this gateway's engine and arrays, then copies as the copy constructor does.
    OxQuillmarkGateway &operator=(const OxQuillmarkGateway &other);
    virtual ~OxQuillmarkGateway();

    bool setEnvironmentPara(float factor1, float factor2, float penWidth, int penType);
    // Destroys the engine; settings, points, path and arrays stay.
    void freeStroke();
    // Releases the export arrays; counts become 0.
    void clearup();

    float *startSketch(float x, float y, long long time, float &left, float &top, float &width,
                       float &height, int &pointCount, int &pathCount, int *&pathSizes);
    float *sketching(float x, float y, float &left, float &top, float &width, float &height,
                     int &pointCount, int &pathCount, int *&pathSizes);
    // count positions as x, y pairs in xy; times[0] (null: now) stamps the newest. count <= 0 or
    // a null xy returns null and writes nothing.
    float *sketching2(int count, float *xy, long long *times, float &left, float &top,
                      float &width, float &height, int &pointCount, int &pathCount,
                      int *&pathSizes);
    float *endSketch(float x, float y, float &left, float &top, float &width, float &height,
                     int &pointCount, int &pathCount, int *&pathSizes);
    float *endSketch2(float x, float y, long long time, float &left, float &top, float &width,
                      float &height, int &pointCount, int &pathCount, int *&pathSizes);
    // Reports the union of the rectangles of this backward-only stroke (startSketch, sketching2,
    // this call), kept once per process. The filled pen calls nothing and leaves the four
    // rectangle outputs alone.
    float *endSketch3(float x, float y, long long time, float &left, float &top, float &width,
                      float &height, int &pointCount, int &pathCount, int *&pathSizes);
    float *endSketch4(float x, float y, long long time, float &left, float &top, float &width,
                      float &height, int &pointCount, int &pathCount, int *&pathSizes);

    // Adds the elements of one path to the working vectors of an export: appends them, or
    // writes them in place into coords pre-sized to the export's total. A path without elements
    // adds nothing; a lone move-to adds its one pair.
    static void appendPathElements(const QPainterPath &path, QVector<int> &counts,
                                   QVector<float> &coords, bool append);
    static int sumCounts(const QVector<int> &counts);

    float factor1;
    float factor2;
    float penWidth;
    int penType;
    OxStrokesFixWidth *engine;
    float *exportCoords;
    int *exportPathSizes;
    int exportPathCount;
    int exportPointCount;
    std::vector<OxInkPoint> points;
    QPainterPath path;

    // One per process, shared by all gateways: the rectangle endSketch3 reports.
    static QRectF accumulatedRect;

private:
    OxStrokesFixWidth *createFitStroke(int penType);

    void releaseExport();
    // Makes the export arrays for pointCount pairs in pathCount paths and reports them.
    void allocateExport(int pointCount, int pathCount);
    float *reportExport(int &pointCount, int &pathCount, int *&pathSizes) const;
    // Exports the elements of paths, one path each (a path without elements of its own gets no
    // entry), after the outline of body when it is not null.
    float *publishPaths(const QVector<QPainterPath> &paths, const OxStrokeShape *body,
                        int &pointCount, int &pathCount, int *&pathSizes);
    float *publishSmoothedPoints(int &pointCount, int &pathCount, int *&pathSizes);
    float *publishEngineShape(bool brushTailOnly, int &pointCount, int &pathCount,
                              int *&pathSizes);

    // The parts of the exported shape that grow with the stroke, followed from call to call.
    std::unique_ptr<OxExportMirror> exportMirror;
};

#endif
