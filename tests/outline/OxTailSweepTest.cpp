#include "OxGeometry.h"
#include "OxPathConnector.h"
#include "OxPathGenerator.h"
#include "OxTailSweep_p.h"
#include "TestData.h"
#include "TurnedEllipseNib.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {
// A builder with the variable-width engines' nib.
template <class Builder>
struct WithNib : Builder
{
    WithNib() { this->setSamplePath(turnedEllipseNib(), 40); }
    using Builder::sections;
};

struct Segment
{
    float x0, y0, w0, x1, y1, w1;
};

// The tail the distance taper would build over the last samples up to end: radius 0.1 at the
// tip, 0.05 more per unit walked back, at most halfWidth; oldest segment first.
std::vector<Segment> taperedTail(const RecordedStroke &stroke, size_t end, float halfWidth)
{
    std::vector<Segment> tail;
    float r = 0.1f;
    for (size_t i = end; i > 0 && tail.size() < 200; --i) {
        const RecordedSample &a = stroke[i - 1], &b = stroke[i];
        const float older = std::min(halfWidth, r + 0.05f * float(std::hypot(a.x - b.x, a.y - b.y)));
        tail.push_back({float(a.x), float(a.y), older, float(b.x), float(b.y), r});
        if (older >= halfWidth)
            break;
        r = older;
    }
    std::reverse(tail.begin(), tail.end());
    return tail;
}

bool sameElements(const QPainterPath &a, const QPainterPath &b)
{
    if (a.elementCount() != b.elementCount() || a.fillRule() != b.fillRule())
        return false;
    for (int i = 0; i < a.elementCount(); ++i) {
        const QPainterPath::Element p = a.elementAt(i), q = b.elementAt(i);
        if (p.x != q.x || p.y != q.y || p.type != q.type)
            return false;
    }
    return true;
}

bool sameRect(const QRectF &a, const QRectF &b)
{
    return a.x() == b.x() && a.y() == b.y() && a.width() == b.width() && a.height() == b.height();
}
} // namespace

// A swept tail is the outline that resetOutline, addSegment per segment and getOutlinePath give,
// element for element, with that outline's bounding rectangle; afterwards the connector's own
// addSegment reports the same changed rectangles as a generator's again.
TEST(OxTailSweep, GivesThePublicOutlineAndItsBoundsOverRecordedTails)
{
    WithNib<OxPathConnector> swept, plain;
    int tails = 0;
    for (const char *file : {"pf-recorded.txt", "mypaint-painting30sec.txt"}) {
        for (const RecordedStroke &stroke : loadStrokes(file)) {
            for (size_t end = 1; end < stroke.size(); end += 3) {
                for (float halfWidth : {1.5f, 4.0f, 20.0f}) {
                    const std::vector<Segment> tail = taperedTail(stroke, end, halfWidth);
                    quillmark::detail::TailSweep sweep(swept);
                    plain.resetOutline();
                    for (const Segment &s : tail) {
                        sweep.add(s.x0, s.y0, s.w0, s.x1, s.y1, s.w1);
                        plain.addSegment(s.x0, s.y0, s.w0, s.x1, s.y1, s.w1);
                    }
                    QRectF bounds;
                    const QPainterPath outline = sweep.finish(bounds);
                    const QPainterPath expected = plain.getOutlinePath();
                    ASSERT_TRUE(sameElements(outline, expected))
                        << file << ", sample " << end << ", half width " << halfWidth;
                    ASSERT_TRUE(sameRect(bounds, expected.boundingRect()))
                        << file << ", sample " << end << ", half width " << halfWidth;
                    ++tails;
                }
            }
        }
    }
    EXPECT_GT(tails, 1000);

    WithNib<OxPathGenerator> generator;
    swept.resetOutline();
    for (const Segment &s : taperedTail(loadStrokes("pf-recorded.txt").front(), 40, 4)) {
        EXPECT_TRUE(sameRect(swept.addSegment(s.x0, s.y0, s.w0, s.x1, s.y1, s.w1),
                             generator.addSegment(s.x0, s.y0, s.w0, s.x1, s.y1, s.w1)));
    }
}

// Each end of a segment takes the sector of its own direction of travel, the start the forward
// one and the end the reverse one, vertical and horizontal directions included.
TEST(OxTailSweep, EachEndTakesTheSectorOfItsDirection)
{
    WithNib<OxPathGenerator> g;
    auto sectorOf = [&](float angle) {
        for (const OxPathSectionPara &s : g.sections)
            if (s.startAngle <= angle && angle < s.endAngle)
                return s.startAngle;
        return g.sections.last().startAngle;
    };
    for (int i = 0; i < 720; ++i) {
        const double a = i * M_PI / 360;
        const float dx = i % 90 == 0 ? float(std::lround(std::cos(a))) : float(7 * std::cos(a));
        const float dy = i % 90 == 0 ? float(std::lround(std::sin(a))) : float(7 * std::sin(a));
        OxPathSectionPara start, end;
        QMatrix m0, m1;
        QRectF r0, r1;
        g.placeSegment(3, 4, 1, 3 + dx, 4 + dy, 1, start, m0, r0, end, m1, r1);
        EXPECT_EQ(start.startAngle, sectorOf(lineAngle(3, 4, 3 + dx, 4 + dy, true))) << i;
        EXPECT_EQ(end.startAngle, sectorOf(lineAngle(3 + dx, 4 + dy, 3, 4, true))) << i;
    }
}
