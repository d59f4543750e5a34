// The tail of the backward-extending engines: its distance taper, its outline, and committing it
// and the body to the stroke's outline.

#include "OxStrokesVaryWidthBackwardExtend.h"

#include "OxGeometry.h"
#include "OxLineSegments_p.h"
#include "OxSamplePoint_p.h"
#include "OxStrokeSteps_p.h"
#include "OxTailCollector_p.h"
#include "OxTailSweep_p.h"

#include <algorithm>
#include <cmath>

using namespace quillmark::detail;

namespace {
// The nib size at the pen tip and its growth per unit of path length walked back.
constexpr double kTipRadius = 0.1;
constexpr double kTaperPerUnit = 0.05;
// A radius this close to half the width counts as full.
constexpr double kFullTolerance = 0.000001;

bool isFull(float radius, float halfWidth)
{
    return radius > halfWidth || std::fabs(double(radius) - double(halfWidth)) <= kFullTolerance;
}

float taperedRadius(float halfWidth, double radius)
{
    return float(std::min(double(halfWidth), radius));
}
} // namespace

bool OxStrokesVaryWidthBackwardExtend::prepareBackwardPath(QVector<OxBackwardInfo> &infos,
                                                           std::vector<OxInkPoint> &pts,
                                                           int &index, QPointF endPt, float width)
{
    const int n = int(pts.size());
    if (n < 2) {
        index = 0;
        return false;
    }
    const float halfWidth = width * 0.5f;
    index = n - 2;
    QPointF cur = position(pts[size_t(index)]);
    QPointF prev = endPt;
    float prevRadius = float(kTipRadius);
    float curRadius = taperedRadius(
        halfWidth, kTipRadius + kTaperPerUnit * pointDistance(pts[size_t(index)].x,
                                                              pts[size_t(index)].y,
                                                              float(endPt.x()), float(endPt.y())));
    // Collected from the tip backwards, stored oldest first.
    TailCollector tail(infos);
    bool reachedFullWidth = false;
    for (;;) {
        if (isFull(curRadius, halfWidth) && isFull(prevRadius, halfWidth)) {
            reachedFullWidth = true;
            break;
        }
        tail.addOlder(OxBackwardInfo(cur, curRadius, prev, prevRadius));
        if (--index < 0) {
            index = 0;
            break;
        }
        prev = cur;
        prevRadius = curRadius;
        cur = position(pts[size_t(index)]);
        curRadius = taperedRadius(halfWidth,
                                  prevRadius + kTaperPerUnit * twoPointDistance(cur, prev));
    }
    tail.finish();
    return reachedFullWidth;
}

void OxStrokesVaryWidthBackwardExtend::computeBackwardPath(QVector<OxBackwardInfo> &infos,
                                                           QVector<QPainterPath> &paths,
                                                           QRectF &rect)
{
    // The rectangles the segments change are not read here: the sweep skips them.
    TailSweep sweep(*pathConnector);
    for (const OxBackwardInfo &s : infos)
        sweep.add(float(s.startPoint.x()), float(s.startPoint.y()), s.startRadius,
                  float(s.endPoint.x()), float(s.endPoint.y()), s.endRadius);
    QRectF bounds;
    paths.append(sweep.finish(bounds));
    rect = unionTwoRect(rect, bounds);
}

QRectF OxStrokesVaryWidthBackwardExtend::computeBackwardConnectPath(QVector<OxBackwardInfo> &infos)
{
    QRectF changed;
    for (const OxBackwardInfo &s : infos)
        changed |= pathGenerator->addSegment(float(s.startPoint.x()), float(s.startPoint.y()),
                                             s.startRadius, float(s.endPoint.x()),
                                             float(s.endPoint.y()), s.endRadius);
    return changed.isEmpty() ? changed : inflateRect(changed, kOutlineMargin);
}

QRectF OxStrokesVaryWidthBackwardExtend::computeConnectPaths(std::vector<OxInkPoint> &pts,
                                                             int from, int to, float width)
{
    QRectF changed;
    const float halfWidth = width * 0.5f;
    forEachSegment(pts, from, to, [&](int, const OxInkPoint &a, const OxInkPoint &b) {
        changed = unionTwoRect(changed,
                               pathGenerator->addSegment(a.x, a.y, halfWidth, b.x, b.y, halfWidth));
    });
    return changed.isEmpty() ? changed : inflateRect(changed, kOutlineMargin);
}

void OxStrokesVaryWidthBackwardExtend::setPointsPressureInfo(std::vector<OxInkPoint> &pts,
                                                             QVector<OxBackwardInfo> &infos,
                                                             float width)
{
    const int n = int(pts.size());
    const int m = infos.size();
    const int k = n - m;
    for (int i = 0; i < n; ++i) {
        const int j = i - k + 1;
        float relative = 1.0f;
        if (i == n - 1) {
            if (j - 1 >= 0 && j - 1 < m)
                relative = infos[j - 1].endRadius * 2 / width;
        } else if (j >= 0 && j < m) {
            relative = infos[j].startRadius * 2 / width;
        }
        pts[size_t(i)].pressure = relative;
    }
}
