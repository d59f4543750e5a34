// The two candidates for the page's polygon booleans, on the same ink: Clipper (what the page
// uses) and Boost.Geometry. Each case is one stroke of the benchmarks' page that an eraser step
// of radius 8 (a move of 10 units) touches, or that a lasso of 200 points meets:
//   Cut        the stroke's ink less the eraser's swept disc (round ends, chords within 0.01)
//   LassoArea  the area of the stroke's ink inside the lasso
//   Resolve    the engines' self-crossing outline, nonzero, made into rings that do not cross
//              (Clipper only: Boost.Geometry takes valid polygons and has no nonzero fill)
// Both work on the rings the page hands out (Clipper on its grid, Boost in doubles).
//
//   build/release/bench/page_bench --benchmark_filter=Candidate

#include "PageOfStrokes.h"

#include <benchmark/benchmark.h>
#include <boost/geometry.hpp>
#include <clipper.hpp>
#include <cmath>

namespace {
namespace bg = boost::geometry;
using BPoint = bg::model::d2::point_xy<double>;
// Clipper's outlines wind counter-clockwise (y up) and repeat no point at the end.
using BPolygon = bg::model::polygon<BPoint, false, false>;
using BMulti = bg::model::multi_polygon<BPolygon>;
using BRing = bg::model::ring<BPoint, false, false>;

constexpr double kScale = 1024;  // the page's grid
constexpr double kRadius = 8;
constexpr double kTolerance = 0.01;

struct Case
{
    ClipperLib::Paths ink;
    ClipperLib::Paths cutter;  // eraser or lasso, on the grid
    BMulti boostInk;
    BMulti boostCutter;
};

BMulti toBoost(const ClipperLib::Paths &paths)
{
    BMulti out;
    std::vector<BRing> holes;
    for (const ClipperLib::Path &path : paths) {
        BRing ring;
        for (const ClipperLib::IntPoint &p : path)
            ring.push_back(BPoint(double(p.X) / kScale, double(p.Y) / kScale));
        if (ClipperLib::Orientation(path)) {
            out.emplace_back();
            out.back().outer() = ring;
        } else {
            holes.push_back(ring);
        }
    }
    for (const BRing &hole : holes) {
        for (BPolygon &polygon : out) {
            if (bg::within(hole.front(), polygon.outer())) {
                polygon.inners().push_back(hole);
                break;
            }
        }
    }
    return out;
}

ClipperLib::Paths inkOf(const OxStrokePage &page, OxStrokePage::Key key)
{
    std::vector<int> sizes;
    std::vector<float> xy;
    page.polygons(key, sizes, xy);
    ClipperLib::Paths paths;
    size_t at = 0;
    for (int size : sizes) {
        paths.emplace_back();
        for (int i = 0; i < size; ++i, at += 2)
            paths.back().emplace_back(std::llround(xy[at] * kScale),
                                      std::llround(xy[at + 1] * kScale));
    }
    return paths;
}

ClipperLib::Paths sweptDisc(QPointF a, QPointF b)
{
    ClipperLib::ClipperOffset offset;
    offset.ArcTolerance = kTolerance * kScale;
    offset.AddPath({{std::llround(a.x() * kScale), std::llround(a.y() * kScale)},
                    {std::llround(b.x() * kScale), std::llround(b.y() * kScale)}},
                   ClipperLib::jtRound, ClipperLib::etOpenRound);
    ClipperLib::Paths out;
    offset.Execute(out, (kRadius + kTolerance) * kScale + 1);
    return out;
}

BMulti boostSweptDisc(QPointF a, QPointF b)
{
    // As many points a circle as Clipper's chords within the tolerance.
    const int points = int(std::ceil(M_PI / std::acos(1 - kTolerance / kRadius)));
    bg::model::linestring<BPoint> line{BPoint(a.x(), a.y()), BPoint(b.x(), b.y())};
    BMulti out;
    bg::buffer(line, out, bg::strategy::buffer::distance_symmetric<double>(kRadius + kTolerance),
               bg::strategy::buffer::side_straight(), bg::strategy::buffer::join_round(points),
               bg::strategy::buffer::end_round(points), bg::strategy::buffer::point_circle(points));
    return out;
}

// Strokes an eraser step touches, with the step.
const std::vector<Case> &eraserCases()
{
    static const std::vector<Case> cases = [] {
        const OxStrokePage &page = *PageOfStrokes::get(OxStrokePage::Lookup::kIndex).page;
        std::vector<Case> out;
        for (QPointF p : placesOnInk(page, 256)) {
            const QPointF a = p - QPointF(3, 4), b = p + QPointF(3, 4);
            std::vector<OxStrokePage::Key> touched;
            page.hitSwept({a, b}, kRadius, touched);
            for (OxStrokePage::Key key : touched) {
                Case c{inkOf(page, key), sweptDisc(a, b), {}, boostSweptDisc(a, b)};
                c.boostInk = toBoost(c.ink);
                out.push_back(std::move(c));
            }
        }
        return out;
    }();
    return cases;
}

// Strokes a 200-point lasso meets, with the lasso.
const std::vector<Case> &lassoCases()
{
    static const std::vector<Case> cases = [] {
        const OxStrokePage &page = *PageOfStrokes::get(OxStrokePage::Lookup::kIndex).page;
        std::vector<Case> out;
        for (QPointF c : placesOnInk(page, 32)) {
            std::vector<QPointF> lasso;
            ClipperLib::Path path;
            BPolygon boostLasso;
            for (int k = 0; k < 200; ++k) {
                const double a = 2 * M_PI * k / 200, r = 150 + 30 * std::sin(5 * a);
                lasso.emplace_back(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
                path.emplace_back(std::llround(lasso.back().x() * kScale),
                                  std::llround(lasso.back().y() * kScale));
            }
            if (!ClipperLib::Orientation(path))
                ClipperLib::ReversePath(path);
            for (const ClipperLib::IntPoint &p : path)
                boostLasso.outer().push_back(BPoint(double(p.X) / kScale, double(p.Y) / kScale));
            std::vector<OxStrokePage::Selected> selected;
            page.lasso(lasso, selected);
            for (const OxStrokePage::Selected &s : selected) {
                if (s.fraction >= 1)
                    continue;  // wholly inside: the page measures nothing
                Case one{inkOf(page, s.key), {path}, {}, {boostLasso}};
                one.boostInk = toBoost(one.ink);
                out.push_back(std::move(one));
            }
        }
        return out;
    }();
    return cases;
}

void BM_CandidateCut_Clipper(benchmark::State &state)
{
    const std::vector<Case> &cases = eraserCases();
    size_t i = 0;
    for (auto _ : state) {
        const Case &c = cases[i++ % cases.size()];
        ClipperLib::Clipper clipper(ClipperLib::ioPreserveCollinear);
        clipper.AddPaths(c.ink, ClipperLib::ptSubject, true);
        clipper.AddPaths(c.cutter, ClipperLib::ptClip, true);
        ClipperLib::PolyTree left;
        clipper.Execute(ClipperLib::ctDifference, left, ClipperLib::pftNonZero,
                        ClipperLib::pftNonZero);
        benchmark::DoNotOptimize(left.Total());
    }
    state.counters["cases"] = double(cases.size());
}

void BM_CandidateCut_Boost(benchmark::State &state)
{
    const std::vector<Case> &cases = eraserCases();
    size_t i = 0;
    for (auto _ : state) {
        const Case &c = cases[i++ % cases.size()];
        BMulti left;
        bg::difference(c.boostInk, c.boostCutter, left);
        benchmark::DoNotOptimize(left.size());
    }
}

void BM_CandidateLassoArea_Clipper(benchmark::State &state)
{
    const std::vector<Case> &cases = lassoCases();
    size_t i = 0;
    for (auto _ : state) {
        const Case &c = cases[i++ % cases.size()];
        ClipperLib::Clipper clipper;
        clipper.AddPaths(c.ink, ClipperLib::ptSubject, true);
        clipper.AddPaths(c.cutter, ClipperLib::ptClip, true);
        ClipperLib::Paths common;
        clipper.Execute(ClipperLib::ctIntersection, common, ClipperLib::pftNonZero,
                        ClipperLib::pftNonZero);
        double area = 0;
        for (const ClipperLib::Path &p : common)
            area += ClipperLib::Area(p);
        benchmark::DoNotOptimize(area);
    }
    state.counters["cases"] = double(cases.size());
}

void BM_CandidateLassoArea_Boost(benchmark::State &state)
{
    const std::vector<Case> &cases = lassoCases();
    size_t i = 0;
    for (auto _ : state) {
        const Case &c = cases[i++ % cases.size()];
        BMulti common;
        bg::intersection(c.boostInk, c.boostCutter, common);
        benchmark::DoNotOptimize(bg::area(common));
    }
}

void BM_CandidateSweptDisc_Clipper(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(sweptDisc(QPointF(100, 100), QPointF(106, 108)).size());
}

void BM_CandidateSweptDisc_Boost(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(boostSweptDisc(QPointF(100, 100), QPointF(106, 108)).size());
}
} // namespace

BENCHMARK(BM_CandidateCut_Clipper)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CandidateCut_Boost)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CandidateLassoArea_Clipper)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CandidateLassoArea_Boost)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CandidateSweptDisc_Clipper)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CandidateSweptDisc_Boost)->Unit(benchmark::kMicrosecond);
