// The gateway object: configuration, engine ownership and release.

#include "OxQuillmarkGateway.h"

#include "OxEngineKind.h"
#include "OxExportMirror_p.h"

#include <cmath>

namespace {
constexpr int kFilledPen = 1;
constexpr int kBrushPen = 2;

bool isPositiveFinite(float v)
{
    return std::isfinite(v) && v > 0;
}
} // namespace

QRectF OxQuillmarkGateway::accumulatedRect;

OxQuillmarkGateway::OxQuillmarkGateway()
    : factor1(1.0f), factor2(1.0f), penWidth(5.0f), penType(kFilledPen), engine(nullptr),
      exportCoords(nullptr), exportPathSizes(nullptr), exportPathCount(0), exportPointCount(0),
      exportMirror(std::make_unique<OxExportMirror>())
{
}

OxQuillmarkGateway::OxQuillmarkGateway(const OxQuillmarkGateway &other)
    : factor1(other.factor1), factor2(other.factor2), penWidth(other.penWidth),
      penType(other.penType), engine(nullptr), exportCoords(nullptr), exportPathSizes(nullptr),
      exportPathCount(0), exportPointCount(0), points(other.points), path(other.path),
      exportMirror(std::make_unique<OxExportMirror>())
{
}

OxQuillmarkGateway &OxQuillmarkGateway::operator=(const OxQuillmarkGateway &other)
{
    if (this == &other)
        return *this;
    freeStroke();
    clearup();
    factor1 = other.factor1;
    factor2 = other.factor2;
    penWidth = other.penWidth;
    penType = other.penType;
    points = other.points;
    path = other.path;
    return *this;
}

OxQuillmarkGateway::~OxQuillmarkGateway()
{
    freeStroke();
    clearup();
}

bool OxQuillmarkGateway::setEnvironmentPara(float newFactor1, float newFactor2,
                                            float newPenWidth, int newPenType)
{
    if (!isPositiveFinite(newFactor1) || !isPositiveFinite(newFactor2)
        || !isPositiveFinite(newPenWidth) || newPenType <= 0)
        return false;
    factor1 = newFactor1;
    factor2 = newFactor2;
    penWidth = newPenWidth;
    if (newPenType == penType) {
        // The same pen keeps its engine and the stroke inside it.
        if (!engine)
            engine = createFitStroke(newPenType);
        return true;
    }
    penType = newPenType;
    freeStroke();
    engine = createFitStroke(newPenType);
    return true;
}

OxStrokesFixWidth *OxQuillmarkGateway::createFitStroke(int type)
{
    const OxEngineKind *kind = OxEngineKind::byName(type == kFilledPen  ? "fill"
                                                    : type == kBrushPen ? "brush"
                                                                        : nullptr);
    return kind ? kind->make().release() : nullptr;
}

void OxQuillmarkGateway::freeStroke()
{
    delete engine;
    engine = nullptr;
    *exportMirror = OxExportMirror();
}

void OxQuillmarkGateway::clearup()
{
    releaseExport();
}

void OxQuillmarkGateway::releaseExport()
{
    delete[] exportCoords;
    exportCoords = nullptr;
    delete[] exportPathSizes;
    exportPathSizes = nullptr;
    exportPathCount = 0;
    exportPointCount = 0;
}
