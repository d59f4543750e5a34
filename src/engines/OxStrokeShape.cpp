// Reading an engine's shape as runs of float pairs that a host's copy can follow.

#include "OxStrokeShape.h"

#include "OxEngineKind.h"
#include "OxGrowingRun_p.h"
#include "OxPathBuilder.h"

#include <algorithm>
#include <cmath>

using namespace quillmark::detail;

namespace {
using Run = OxStrokeShape::Run;

// A cubic is cut into at most this many chords: enough for a curve 10^6 units across (the
// largest size whose results are promised finite) to stay within about 0.75 units.
constexpr int kMaxCurveChords = 1024;

void appendPoint(std::vector<float> &xy, double x, double y)
{
    xy.push_back(float(x));
    xy.push_back(float(y));
}

// Follows a path of move-tos and line-tos that only grows (a side of a swept outline, the plain
// engine's centre line).
void followGrowingPath(const QPainterPath &path, Run &run)
{
    run.kept = followGrowingPoints(run.xy, path.elementCount(),
                                   [&](int i) { return QPointF(path.elementAt(i)); });
}

// run takes the points of fresh (which receives run's old ones); kept is what they share.
void replaceRun(Run &run, std::vector<float> &fresh)
{
    const size_t common = std::min(run.xy.size(), fresh.size());
    size_t i = 0;
    while (i + 1 < common && sameFloat(run.xy[i], fresh[i])
           && sameFloat(run.xy[i + 1], fresh[i + 1]))
        i += 2;
    run.kept = int(i / 2);
    run.xy.swap(fresh);
}

// The points of a cubic after p0, with chords within OxStrokeShape::kFlatness of it: a uniform
// cut into n pieces strays at most 3/4 M / n^2 from the curve, M being the greatest second
// difference of the control points.
void appendCubic(std::vector<float> &xy, QPointF p0, QPointF p1, QPointF p2, QPointF p3)
{
    const QPointF d1 = p0 - 2 * p1 + p2, d2 = p1 - 2 * p2 + p3;
    const double m = std::max(std::hypot(d1.x(), d1.y()), std::hypot(d2.x(), d2.y()));
    const double pieces = std::ceil(std::sqrt(0.75 * m / OxStrokeShape::kFlatness));
    const int n = std::isfinite(pieces) ? std::clamp(int(std::min(pieces, 1e9)), 1,
                                                     kMaxCurveChords)
                                        : 1;
    for (int k = 1; k <= n; ++k) {
        const double t = double(k) / n, s = 1 - t;
        const double a = s * s * s, b = 3 * s * s * t, c = 3 * s * t * t, d = t * t * t;
        appendPoint(xy, a * p0.x() + b * p1.x() + c * p2.x() + d * p3.x(),
                    a * p0.y() + b * p1.y() + c * p2.y() + d * p3.y());
    }
}

// Appends the points of path's elements first .. last - 1 to xy, in one piece: a tail of a
// thousand points is read at every sample.
void appendElementPoints(const QPainterPath &path, int first, int last, std::vector<float> &xy)
{
    const size_t at = xy.size();
    xy.resize(at + 2 * size_t(last - first));
    float *out = xy.data() + at;
    for (int i = first; i < last; ++i) {
        const QPainterPath::Element &e = path.elementAt(i);
        *out++ = float(e.x);
        *out++ = float(e.y);
    }
}

void appendPathPoints(const QPainterPath &path, std::vector<float> &xy)
{
    appendElementPoints(path, 0, path.elementCount(), xy);
}
} // namespace

void OxStrokeShape::update(OxStrokesFixWidth &engine, const QPainterPath &path)
{
    const int previousCount = looseCount;
    looseCount = 0;
    tails = 0;
    isClosed = true;
    const OxEngineKind &kind = *OxEngineKind::of(engine);
    if (OxPathBuilder *builder = kind.outlineBuilder(engine)) {
        // The body is assembled only while it is not a swept outline (and so small).
        if (!followOutline(*builder))
            addPolygons(kind.outlines(engine).front());
        const int bodyPolygons = looseCount;
        for (const QPainterPath &tail : kind.tails(engine))
            addPolygons(tail);
        tails = looseCount - bodyPolygons;
    } else {
        // The centre line is the left run; the others stay empty.
        isClosed = false;
        for (Run *run : {&caps[0], &caps[1], &sides[1]}) {
            run->xy.clear();
            run->kept = 0;
        }
        rightBackwardsFloats = 0;
        followGrowingPath(path, sides[0]);
    }
    // Polygons that are gone start afresh when their place is taken again.
    for (int i = looseCount; i < previousCount; ++i)
        loose[size_t(i)].xy.clear();
}

bool OxStrokeShape::followOutline(OxPathBuilder &builder)
{
    if (builder.leftSide.isEmpty()) {
        clearBody();
        return false;
    }
    const QPainterPath *paths[4] = {&builder.startCap, &builder.leftSide, nullptr,
                                    &builder.rightSide};
    for (int k : {0, 1, 3}) {
        const QPainterPath &path = *paths[k];
        const int n = path.elementCount();
        ends[k][0] = n > 0 ? QPointF(path.elementAt(0)) : QPointF();
        ends[k][1] = n > 0 ? QPointF(path.elementAt(n - 1)) : QPointF();
    }
    followGrowingPath(builder.leftSide, sides[0]);
    followGrowingPath(builder.rightSide, sides[1]);
    followRightBackwards();
    // The start cap is made with the sides' first points and stays while they only grow.
    if (sides[0].kept > 0 && sides[1].kept > 0) {
        caps[0].kept = caps[0].count();
    } else {
        scratch.clear();
        appendPathPoints(builder.startCap, scratch);
        replaceRun(caps[0], scratch);
    }

    // The end cap is made from where it goes, as the builder makes it when the outline is
    // assembled, without making the builder keep it; unless it goes where it went before.
    scratch.clear();
    if (builder.endCapPending) {
        const auto &m = builder.endCapPlacement;
        const EndCapPlace place{{m.m11(), m.m12(), m.m21(), m.m22(), m.dx(), m.dy(),
                                 builder.endCapStart.x(), builder.endCapStart.y()},
                                builder.endCapFrom,
                                builder.endCapTo};
        if (caps[1].count() > 0 && place == endCapPlace) {
            caps[1].kept = caps[1].count();
            return true;
        }
        endCapPlace = place;
        const auto cap = builder.capPoints(m, builder.endCapStart, builder.endCapFrom,
                                           builder.endCapTo);
        for (const QPointF &p : cap)
            appendPoint(scratch, p.x(), p.y());
        ends[2][0] = cap.first();
        ends[2][1] = cap.last();
    } else {
        endCapPlace = EndCapPlace();
        const int n = builder.endCap.elementCount();
        appendPathPoints(builder.endCap, scratch);
        ends[2][0] = n > 0 ? QPointF(builder.endCap.elementAt(0)) : QPointF();
        ends[2][1] = n > 0 ? QPointF(builder.endCap.elementAt(n - 1)) : QPointF();
    }
    replaceRun(caps[1], scratch);
    return true;
}

void OxStrokeShape::followRightBackwards()
{
    const Run &right = sides[1];
    const size_t kept = 2 * size_t(right.kept), needed = right.xy.size();
    if (rightBackwards.size() < needed) {
        std::vector<float> grown(std::max(needed, 2 * rightBackwards.size()));
        std::copy(rightBackwards.end() - long(kept), rightBackwards.end(), grown.end() - long(kept));
        rightBackwards.swap(grown);
    }
    float *front = rightBackwards.data() + rightBackwards.size() - kept;
    for (int i = right.kept; i < right.count(); ++i) {
        front -= 2;
        front[0] = right.xy[2 * size_t(i)];
        front[1] = right.xy[2 * size_t(i) + 1];
    }
    rightBackwardsFloats = needed;
}

OxStrokeShape::OutlineJoints OxStrokeShape::outlineJoints() const
{
    // Assembled as start cap, left side, end cap, then the right side backwards; each piece is
    // joined as QPainterPath::connectPath joins a path of two points or more.
    const Run *runs[4] = {&caps[0], &sides[0], &caps[1], &sides[1]};
    const QPointF first[4] = {ends[0][0], ends[1][0], ends[2][0], ends[3][1]};
    const QPointF last[4] = {ends[0][1], ends[1][1], ends[2][1], ends[3][0]};
    OutlineJoints joints;
    int size = 0;
    for (int k = 0; k < 4; ++k) {
        if (runs[k]->count() < 2)
            return joints;
        joints.dropFirst[k] = k > 0 && first[k] == last[k - 1];
        size += runs[k]->count() - (joints.dropFirst[k] ? 1 : 0);
    }
    // As QPainterPath::closeSubpath closes it.
    const QPointF start = first[0], end = last[3];
    if (start.x() != end.x() || start.y() != end.y()) {
        joints.snapEnd = qFuzzyCompare(start.x(), end.x()) && qFuzzyCompare(start.y(), end.y());
        joints.closeEnd = !joints.snapEnd;
    }
    joints.size = size + (joints.closeEnd ? 1 : 0);
    return joints;
}

int OxStrokeShape::outlineSize() const
{
    return outlineJoints().size;
}

void OxStrokeShape::writeOutline(float *xy) const
{
    const OutlineJoints joints = outlineJoints();
    if (joints.size < 0)
        return;
    float *out = xy;
    for (int k = 0; k < 3; ++k) {
        const Run &run = k == 1 ? sides[0] : caps[k / 2];
        const size_t from = joints.dropFirst[k] ? 2 : 0;
        std::copy(run.xy.begin() + long(from), run.xy.end(), out);
        out += run.xy.size() - from;
    }
    const size_t skip = joints.dropFirst[3] ? 2 : 0;
    const float *backwards = rightBackwards.data() + rightBackwards.size() - rightBackwardsFloats;
    out = std::copy(backwards + skip, backwards + rightBackwardsFloats, out);
    if (joints.snapEnd) {
        out[-2] = float(ends[0][0].x());
        out[-1] = float(ends[0][0].y());
    }
    if (joints.closeEnd) {
        *out++ = float(ends[0][0].x());
        *out++ = float(ends[0][0].y());
    }
}

void OxStrokeShape::clearBody()
{
    for (Run *run : {&caps[0], &caps[1], &sides[0], &sides[1]}) {
        run->xy.clear();
        run->kept = 0;
    }
    rightBackwardsFloats = 0;
}

void OxStrokeShape::addPolygons(const QPainterPath &path)
{
    scratch.clear();
    scratch.reserve(2 * size_t(path.elementCount()));
    auto finishPolygon = [&] {
        if (scratch.size() >= 4) {   // a lone point fills nothing
            if (size_t(looseCount) == loose.size())
                loose.emplace_back();
            replaceRun(loose[size_t(looseCount++)], scratch);
        }
        scratch.clear();
    };
    const int n = path.elementCount();
    QPointF current;
    for (int i = 0; i < n;) {
        const QPainterPath::Element &e = path.elementAt(i);
        if (e.isMoveTo())
            finishPolygon();
        if (e.isCurveTo() && i + 2 < n) {
            const QPointF end = path.elementAt(i + 2);
            appendCubic(scratch, current, e, path.elementAt(i + 1), end);
            current = end;
            i += 3;
            continue;
        }
        // This element's point and those of the line-tos after it.
        int last = i + 1;
        while (last < n && path.elementAt(last).isLineTo())
            ++last;
        appendElementPoints(path, i, last, scratch);
        current = path.elementAt(last - 1);
        i = last;
    }
    finishPolygon();
}

void OxStrokeShape::appendPolygons(std::vector<int> &sizes, std::vector<float> &xy) const
{
    const int body = caps[0].count() + sides[0].count() + caps[1].count() + sides[1].count();
    if (body > 0) {
        sizes.push_back(body);
        xy.insert(xy.end(), caps[0].xy.begin(), caps[0].xy.end());
        xy.insert(xy.end(), sides[0].xy.begin(), sides[0].xy.end());
        xy.insert(xy.end(), caps[1].xy.begin(), caps[1].xy.end());
        for (int i = sides[1].count() - 1; i >= 0; --i)
            appendPoint(xy, sides[1].xy[2 * size_t(i)], sides[1].xy[2 * size_t(i) + 1]);
    }
    for (int i = 0; i < looseCount; ++i) {
        const Run &polygon = loose[size_t(i)];
        sizes.push_back(polygon.count());
        xy.insert(xy.end(), polygon.xy.begin(), polygon.xy.end());
    }
}
