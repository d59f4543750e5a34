// Predicted ink: the predicted samples drawn on a copy of an engine's recent state.

#include "OxPredictedInk.h"

#include "OxEngineKind.h"
#include "OxFiniteSample_p.h"
#include "OxInputGuards_p.h"
#include "OxStrokeSteps_p.h"
#include "OxStrokesFixWidthFill.h"
#include "OxStrokesVaryWidthBackwardTime.h"
#include "OxStrokesVaryWidthTime.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <limits>
#include <typeinfo>

using namespace quillmark::detail;

namespace {
// The copy keeps this many of the caller's last points: a creating call reads the last one and
// compares their count with 2 (the first step of a stroke).
constexpr size_t kPointsKept = 2;

// OxEngineKind's ids of the classes whose state the copy treats apart; the pressure engine and
// those after it derive from OxStrokesVaryWidthPressure.
constexpr int kFillId = 2;
constexpr int kPressureId = 3;
constexpr int kSpeedId = 4;

// to takes the values of from into a buffer of its own (reallocated only when too small).
template <class Values>
void copyValues(const Values &from, Values &to)
{
    to.resize(from.size());
    std::copy(from.cbegin(), from.cend(), to.begin());
}

// The last two points of a side of an outline, as a path of its own; the box of the points
// seen so far takes them in.
void stubOf(const QPainterPath &side, QPainterPath &stub, QPointF box[2])
{
    const int n = side.elementCount();
    const QPointF a = side.elementAt(n - 2), b = side.elementAt(n - 1);
    stub.clear();
    stub.moveTo(a);
    stub.lineTo(b);
    for (const QPointF &p : {a, b}) {
        box[0] = QPointF(std::min(box[0].x(), p.x()), std::min(box[0].y(), p.y()));
        box[1] = QPointF(std::max(box[1].x(), p.x()), std::max(box[1].y(), p.y()));
    }
}
} // namespace

OxPredictedInk::OxPredictedInk() = default;

OxPredictedInk::~OxPredictedInk() = default;

const char *OxPredictedInk::refusal(const OxStrokesFixWidth &engine,
                                    const std::vector<OxInkPoint> &points,
                                    const std::vector<OxInkPoint> &samples, float width) const
{
    if (!kindOf(engine))
        return "not one of the six engines";
    if (points.empty() || engine.smoothedPoints.empty())
        return "the stroke has not started";
    if (!std::isfinite(width))
        return "the width is not a finite number";
    // Compared as the engine reads times: in whole milliseconds.
    double previous = points.back().time;
    for (const OxInkPoint &s : samples) {
        if (!isFiniteSample(s) || std::fabs(s.time) > double(std::numeric_limits<int>::max()))
            return "a predicted sample is not a finite number";
        if (std::floor(s.time + 0.5) < std::floor(previous + 0.5))
            return "a predicted sample is older than the one before it";
        previous = s.time;
    }
    return nullptr;
}

bool OxPredictedInk::draw(OxStrokesFixWidth &engine, const std::vector<OxInkPoint> &points,
                          const QPainterPath &path, const std::vector<OxInkPoint> &samples,
                          float width, QRectF &changed)
{
    changed = QRectF();
    if (refusal(engine, points, samples, width))
        return false;
    changed = takeBack();
    if (samples.empty())
        return true;
    const QRectF overlap = refresh(engine, points, path, width);
    QRectF ink;
    {
        lend(engine);
        struct GiveBack
        {
            OxPredictedInk &ink;
            OxStrokesFixWidth &engine;
            ~GiveBack() { ink.giveBack(engine); }
        } giveBackAfterwards{*this, engine};
        for (const OxInkPoint &s : samples) {
            setParams(s);
            const QRectF r =
                copy->creating(copyPoints, copyPath, QPointF(s.x, s.y), params, width);
            if (r.isEmpty())
                continue;
            ink |= r;
            drawn.push_back(s);
        }
    }
    if (drawn.empty())
        return true;
    drawnRect = ink | overlap | outlineBox();
    changed |= drawnRect;
    return true;
}

QRectF OxPredictedInk::outlineBox() const
{
    QRectF box;
    if (const OxPathBuilder *builder = copyBuilder) {
        for (const QPainterPath *piece : {&builder->startCap, &builder->leftSide,
                                          &builder->rightSide, &builder->nibOnlyPath})
            box |= piece->controlPointRect();
        // A pending end cap is not made yet: the whole nib where it goes bounds it.
        box |= builder->endCapPending ? builder->placedNibBounds(builder->endCapPlacement)
                                      : builder->endCap.controlPointRect();
    }
    for (const QPainterPath &tail : kind->tails(*copy))
        box |= tail.controlPointRect();
    return box;
}

void OxPredictedInk::setParams(const OxInkPoint &sample)
{
    // The values are written in place: looking the two keys up costs about a tenth of a call.
    // A map shared with another (none is, but a call could keep a copy) is detached first.
    if (!timeValue || !params.isDetached()) {
        timeValue = &params[QStringLiteral("time")];
        pressureValue = &params[QStringLiteral("pressure")];
    }
    timeValue->setValue(roundedTime(sample.time));
    pressureValue->setValue(sample.pressure);
}

QRectF OxPredictedInk::takeBack()
{
    const QRectF area = drawn.empty() ? QRectF() : drawnRect;
    drawn.clear();
    drawnRect = QRectF();
    return area;
}

const OxEngineKind *OxPredictedInk::kindOf(const OxStrokesFixWidth &engine) const
{
    // Comparing type_info objects may compare their names; the same object is the same class.
    const std::type_info &type = typeid(engine);
    if (&type != knownType) {
        knownType = &type;
        // A class derived from an engine's may draw otherwise: only the six classes are copied.
        const OxEngineKind *found = OxEngineKind::of(engine);
        knownKind = found->isOwnClass(engine) ? found : nullptr;
    }
    return knownKind;
}

void OxPredictedInk::lend(OxStrokesFixWidth &engine)
{
    std::vector<OxInkPoint> &line = engine.smoothedPoints;
    lentPoints = line.size();
    lentFrom = size_t(std::clamp(engine.lastDrawnIndex, 0, int(lentPoints)));
    savedPoints.assign(line.begin() + long(lentFrom), line.end());
    line.swap(copy->smoothedPoints);
    if (kind->id == kSpeedId) {
        auto &arcLengths = static_cast<OxStrokesVaryWidthTime &>(engine).arcLengths;
        lentArcLengths = arcLengths.size();
        arcLengths.swap(static_cast<OxStrokesVaryWidthTime &>(*copy).arcLengths);
    }
}

void OxPredictedInk::giveBack(OxStrokesFixWidth &engine)
{
    std::vector<OxInkPoint> &line = copy->smoothedPoints;
    line.erase(line.begin() + long(lentPoints), line.end());
    std::copy(savedPoints.begin(), savedPoints.end(), line.begin() + long(lentFrom));
    line.swap(engine.smoothedPoints);
    if (kind->id == kSpeedId) {
        auto &arcLengths = static_cast<OxStrokesVaryWidthTime &>(*copy).arcLengths;
        arcLengths.erase(arcLengths.begin() + long(lentArcLengths), arcLengths.end());
        arcLengths.swap(static_cast<OxStrokesVaryWidthTime &>(engine).arcLengths);
    }
}

QRectF OxPredictedInk::refresh(OxStrokesFixWidth &engine, const std::vector<OxInkPoint> &points,
                               const QPainterPath &path, float width)
{
    const OxEngineKind *engineKind = kindOf(engine);
    if (!copy || engineKind != kind) {
        kind = engineKind;
        copy = kind->make();
        copyBuilder = kind->outlineBuilder(*copy);
        // The copy's side counts would be thrown away at the next refresh unread.
        if (kind->id == kFillId)
            static_cast<OxStrokesFixWidthFill &>(*copy).recordsSideCounts = false;
    }
    // The engine and the copy are of the same class, one of the six.
    const bool isFill = kind->id == kFillId;
    const bool isVarying = kind->id >= kPressureId;
    OxStrokesVaryWidthTime *speed =
        kind->id == kSpeedId ? static_cast<OxStrokesVaryWidthTime *>(&engine) : nullptr;
    auto *fill = isFill ? static_cast<OxStrokesFixWidthFill *>(&engine) : nullptr;
    auto *varying = isVarying ? static_cast<OxStrokesVaryWidthPressure *>(&engine) : nullptr;
    auto *copyFill = isFill ? static_cast<OxStrokesFixWidthFill *>(copy.get()) : nullptr;
    auto *copyVarying = isVarying ? static_cast<OxStrokesVaryWidthPressure *>(copy.get()) : nullptr;
    OxPathBuilder *generator = varying ? varying->pathGenerator
                               : fill  ? fill->pathGenerator
                                       : nullptr;
    OxPathBuilder *copyGenerator = copyVarying ? copyVarying->pathGenerator
                                   : copyFill  ? copyFill->pathGenerator
                                               : nullptr;

    // What the copy writes while it draws is kept in buffers of its own: the stubs of the sides,
    // the last segment's corners and the pressure weights (the engines write through non-const
    // access, so a buffer shared with the engine would be copied at every draw). They are set
    // aside, so that the assignment does not free them, and take the engine's values after it.
    if (copyGenerator) {
        sideStubs[0].swap(copyGenerator->leftSide);
        sideStubs[1].swap(copyGenerator->rightSide);
        keptCorners.swap(copyGenerator->lastCorners);
    }
    if (copyVarying)
        keptWeights.swap(copyVarying->smoothWeights);
    {
        // The engine's histories and what the copy keeps apart are swapped out while it is copied
        // (the copy gets empty ones), and back in afterwards, also when copying throws.
        QMap<int, int> counts[2];
        QPainterPath sides[2];
        QPolygonF corners;
        QVector<int> weights;
        auto swapApart = [&] {
            engine.smoothedPoints.swap(emptyPoints);
            if (speed)
                speed->arcLengths.swap(emptyFloats);
            if (fill) {
                fill->leftSideCounts.swap(counts[0]);
                fill->rightSideCounts.swap(counts[1]);
            }
            if (generator) {
                generator->leftSide.swap(sides[0]);
                generator->rightSide.swap(sides[1]);
                generator->lastCorners.swap(corners);
            }
            if (varying)
                varying->smoothWeights.swap(weights);
        };
        struct Restore
        {
            decltype(swapApart) &swapBack;
            ~Restore() { swapBack(); }
        };
        swapApart();
        Restore restore{swapApart};
        kind->assign(*copy, engine);
    }
    if (copyGenerator) {
        copyGenerator->lastCorners.swap(keptCorners);
        copyValues(generator->lastCorners, copyGenerator->lastCorners);
    }
    if (copyVarying) {
        copyVarying->smoothWeights.swap(keptWeights);
        copyValues(varying->smoothWeights, copyVarying->smoothWeights);
    }

    const size_t keep = std::min(points.size(), kPointsKept);
    copyPoints.assign(points.end() - long(keep), points.end());
    // Only the centre-line engine reads its path (where it ends); the others only add to it.
    copyPath.clear();
    if (kind->drawn == OxEngineKind::Drawn::kCentreLine && path.elementCount() > 0)
        copyPath.moveTo(path.currentPosition());
    copyWidth = width;

    QRectF overlap;
    if (copyGenerator) {
        copyGenerator->leftSide.swap(sideStubs[0]);
        copyGenerator->rightSide.swap(sideStubs[1]);
        if (generator->leftSide.elementCount() >= 2 && generator->rightSide.elementCount() >= 2) {
            // The copy's outline starts across the last committed segment.
            const QPainterPath &left = generator->leftSide;
            const QPointF first = left.elementAt(left.elementCount() - 1);
            QPointF box[2] = {first, first};
            stubOf(generator->leftSide, copyGenerator->leftSide, box);
            stubOf(generator->rightSide, copyGenerator->rightSide, box);
            // No start cap: closing the outline joins the right stub's start to the left's.
            copyGenerator->startCap = QPainterPath();
            overlap = OxStrokesFixWidth::inflateRect(QRectF(box[0], box[1]), kOutlineMargin);
        } else {
            copyGenerator->leftSide = generator->leftSide;
            copyGenerator->rightSide = generator->rightSide;
            copyGenerator->startCap = generator->startCap;
        }
        const bool outlineBegun =
            !generator->leftSide.isEmpty() || !generator->nibOnlyPath.isEmpty();
        if (outlineBegun && copyVarying) {
            copyVarying->setWholePath(QPainterPath());
            copyVarying->wholePathFollowsGenerator();
        } else if (outlineBegun && copyFill) {
            copyFill->setWholePath(QPainterPath());
            copyFill->wholePathFollowsGenerator();
        }
    }
    return overlap;
}

QVector<QPainterPath> OxPredictedInk::outlines() const
{
    if (drawn.empty())
        return {};
    return kind->outlines(*copy);
}

QPainterPath OxPredictedInk::centreLine() const
{
    if (drawn.empty() || kind->drawn != OxEngineKind::Drawn::kCentreLine)
        return QPainterPath();
    return copyPath;
}

OxStrokesFixWidth *OxPredictedInk::engine() const
{
    return drawn.empty() ? nullptr : copy.get();
}

void OxPredictedInk::paint(QPainter *painter, QRectF rect, const QBrush &brush) const
{
    if (!painter || drawn.empty())
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    if (kind->drawn == OxEngineKind::Drawn::kCentreLine) {
        painter->strokePath(copyPath, QPen(brush, copyWidth, Qt::SolidLine, Qt::RoundCap,
                                           Qt::RoundJoin));
    } else {
        for (const QPainterPath &outline : outlines()) {
            if (rect.intersects(outline.boundingRect()))
                painter->fillPath(outline, brush);
        }
    }
    painter->restore();
}
