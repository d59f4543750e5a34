// The filled engine's life: its builders, the phase calls of the normal mode and painting.

#include "OxStrokesFixWidthFill.h"

#include "OxDeferredOutline_p.h"
#include "OxEngineBuilders_p.h"
#include "OxGeometry.h"
#include "OxInputGuards_p.h"
#include "OxLineSegments_p.h"
#include "OxStrokeEnd_p.h"

#include <algorithm>
#include <memory>

using namespace quillmark::detail;

namespace {
// A circle of radius 40 that stands for the width 40: a builder given the width w sweeps a round
// nib of radius w, so the engine hands it half the stroke width.
constexpr float kNibSize = 40.0f;

// Every filled engine's builders take their round nib from here.
const OxPathBuilder &roundNib()
{
    static const OxPathGenerator holder = [] {
        QPainterPath nib;
        nib.addEllipse(QPointF(100, 100), kNibSize, kNibSize);
        return nibHolder(nib, kNibSize);
    }();
    return holder;
}
} // namespace

OxStrokesFixWidthFill::OxStrokesFixWidthFill() : pathConnector(nullptr), pathGenerator(nullptr)
{
    std::unique_ptr<OxPathConnector> connector(newBuilderWithNib<OxPathConnector>(roundNib()));
    pathGenerator = newBuilderWithNib<OxPathGenerator>(roundNib());
    pathConnector = connector.release();
}

OxStrokesFixWidthFill::OxStrokesFixWidthFill(const OxStrokesFixWidthFill &other)
    : OxStrokesFixWidthFill()
{
    *this = other;
}

OxStrokesFixWidthFill &OxStrokesFixWidthFill::operator=(const OxStrokesFixWidthFill &other)
{
    OxStrokesFixWidth::operator=(other);
    *pathConnector = *other.pathConnector;
    backwardRect = other.backwardRect;
    pathWhole = other.pathWhole;
    *pathGenerator = *other.pathGenerator;
    leftSideCounts = other.leftSideCounts;
    rightSideCounts = other.rightSideCounts;
    pathWholeStale = other.pathWholeStale;
    return *this;
}

OxStrokesFixWidthFill::~OxStrokesFixWidthFill()
{
    delete pathGenerator;
    delete pathConnector;
}

QRectF OxStrokesFixWidthFill::startCreate(std::vector<OxInkPoint> &points, QPainterPath &path,
                                          QPointF point, QMap<QString, QVariant> params,
                                          float width)
{
    int time = 0;
    if (!isUsableSample(point, width) || !readTimeParam(params, time))
        return QRectF();
    lastDrawnIndex = 0;
    const OxInkPoint p = samplePoint(point, time);
    points.push_back(p);
    smoothedPoints.push_back(p);
    wholePath().addEllipse(point, width / 2, width / 2);
    path.moveTo(point);
    return inflateRect(wholePath().boundingRect(), kOutlineMargin);
}

QRectF OxStrokesFixWidthFill::creating(std::vector<OxInkPoint> &points, QPainterPath &path,
                                       QPointF point, QMap<QString, QVariant> params,
                                       float width)
{
    const std::optional<SampleStep> step =
        takeSample(points, point, params, width, SampleReads::kNothing);
    if (!step)
        return QRectF();
    smoothingStep(points, step->sample, step->last, step->dist);

    QRectF result;
    if (smoothedPoints.size() == 2) {
        // The first step: the start dot gives way to the outline.
        result |= inflateRect(wholePath().boundingRect(), kOutlineMargin);
        setWholePath(QPainterPath());
    }
    const int lastIndex = int(smoothedPoints.size()) - 1;
    result |= computePaths(smoothedPoints, lastDrawnIndex, lastIndex, width);

    const int firstNew = std::max(lastDrawnIndex + 1, 0);
    lastDrawnIndex = lastIndex;
    for (int i = firstNew; i <= lastIndex; ++i)
        path.lineTo(position(smoothedPoints[size_t(i)]));
    wholePathFollowsGenerator();
    return result;
}

QRectF OxStrokesFixWidthFill::endCreate(std::vector<OxInkPoint> &points, QPainterPath &path,
                                        QPointF point, QMap<QString, QVariant> params,
                                        float width)
{
    int time = 0;
    if (points.empty() || smoothedPoints.empty() || !isUsableSample(point, width)
        || !readTimeParam(params, time))
        return QRectF();
    switch (appendTimedEndPoint(points, point, time)) {
    case EndPoint::kDot:
        path.lineTo(position(points.back()));
        setWholePath(QPainterPath());
        break;
    case EndPoint::kSample:
        path.lineTo(point);
        break;
    case EndPoint::kNone:
        break;
    }
    // The smoothed line trails the pen, so it is tested against its own end.
    appendTimedEndPoint(smoothedPoints, point, time);

    QRectF result;
    const int lastIndex = int(smoothedPoints.size()) - 1;
    if (lastDrawnIndex < lastIndex)
        result |= computePaths(smoothedPoints, lastDrawnIndex, lastIndex, width);
    lastDrawnIndex = lastIndex;
    wholePathFollowsGenerator();
    if (&points != &smoothedPoints)
        points = smoothedPoints;
    return result;
}

void OxStrokesFixWidthFill::paint(QPainter *painter, QRectF rect, QColor color)
{
    fillInside(painter, rect, wholePath(), QBrush(color, Qt::SolidPattern));
}

QPainterPath OxStrokesFixWidthFill::getPathWhole() const
{
    return wholePath();
}

QPainterPath &OxStrokesFixWidthFill::wholePath() const
{
    return currentOutline(pathWhole, pathWholeStale, *pathGenerator);
}

void OxStrokesFixWidthFill::setWholePath(const QPainterPath &path)
{
    replaceOutline(pathWhole, pathWholeStale, path);
}

void OxStrokesFixWidthFill::wholePathFollowsGenerator()
{
    pathWholeStale = true;
}

QRectF OxStrokesFixWidthFill::computePaths(std::vector<OxInkPoint> &points, int start, int end,
                                           float width)
{
    QRectF rect;
    const float r = width * 0.5f;
    forEachSegment(points, start, end, [&](int i, const OxInkPoint &a, const OxInkPoint &b) {
        rect |= pathGenerator->addSegment(a.x, a.y, r, b.x, b.y, r);
        computePoints2PathInfo(i, pathGenerator);
    });
    return inflateRect(rect, kOutlineMargin);
}

void OxStrokesFixWidthFill::computePoints2PathInfo(int index, OxPathGenerator *generator)
{
    if (!generator || !recordsSideCounts)
        return;
    auto countOf = [](const QPainterPath &side) {
        const int count = side.elementCount();
        return count == 0 ? -1 : count;
    };
    if (!leftSideCounts.contains(index))
        leftSideCounts.insert(index, countOf(generator->leftSide));
    if (!rightSideCounts.contains(index))
        rightSideCounts.insert(index, countOf(generator->rightSide));
}
