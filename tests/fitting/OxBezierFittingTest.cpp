#include "OxBezierFitting.h"
#include "OxGeometry.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>

namespace {
OxInkPoint at(float x, float y, double time = 0, float pressure = 0)
{
    return OxInkPoint(x, y, time, pressure, 0, 0);
}

// The curve fitted to the whole run; four control points of finite numbers.
std::vector<OxInkPoint> fit(std::vector<OxInkPoint> run)
{
    std::vector<OxInkPoint> out;
    fitCurve(run, 0, int(run.size()) - 1, 1.0f, out);
    EXPECT_EQ(out.size(), 4u);
    for (const OxInkPoint &p : out)
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.time)
                    && std::isfinite(p.pressure));
    return out;
}

// How far the sample of run farthest from the curve lies from it.
float farthestFromCurve(const std::vector<OxInkPoint> &run, std::vector<OxInkPoint> curve)
{
    float farthest = 0;
    for (const OxInkPoint &p : run) {
        float best = 1e9f;
        for (int i = 0; i <= 1000; ++i) {
            const OxInkPoint q = bezierPoint(curve, float(i) / 1000, 3);
            best = std::min(best, pointDistance(q.x, q.y, p.x, p.y));
        }
        farthest = std::max(farthest, best);
    }
    return farthest;
}
} // namespace

TEST(OxBezierFitting, OneOrTwoPointsAndRangesOutsideThePoints)
{
    std::vector<OxInkPoint> out{at(9, 9), at(9, 9)};
    std::vector<OxInkPoint> one{at(3, 4, 7, 0.5f)};
    fitCurve(one, 0, 0, 1.0f, out);
    ASSERT_EQ(out.size(), 4u);  // assigned, not appended
    for (const OxInkPoint &p : out)
        EXPECT_TRUE(p.x == 3 && p.time == 7);

    const auto ctrl = fit({at(0, 0, 0, 0.2f), at(30, 0, 90, 0.8f)});
    EXPECT_FLOAT_EQ(ctrl[1].x, 10);  // thirds of the chord
    EXPECT_FLOAT_EQ(ctrl[2].x, 20);
    EXPECT_EQ(ctrl[1].y, 0);
    EXPECT_EQ(ctrl[3].x, 30);
    // The tangents carry the time and pressure differences along, scaled like the position.
    EXPECT_NEAR(ctrl[1].time, 30, 1e-4);
    EXPECT_NEAR(ctrl[2].pressure, 0.8f - 0.2f, 1e-6);

    std::vector<OxInkPoint> run{at(0, 0), at(1, 1)}, none;
    fitCurve(run, 0, 5, 1.0f, none);
    fitCurve(run, 1, 0, 1.0f, none);
    fitCurve(run, -1, 1, 1.0f, none);
    EXPECT_TRUE(none.empty());
    std::vector<float> u;
    chordLengthParameterize(run, 0, 3, u);
    EXPECT_TRUE(u.empty());
    EXPECT_EQ(computeLeftTangent(run, 1).x, 0);
}

TEST(OxBezierFitting, SamplesOfACubicAreReproducedAndAZigZagGivesOneCurve)
{
    std::vector<OxInkPoint> source{at(0, 0), at(10, 40), at(50, 40), at(60, 0)};
    std::vector<OxInkPoint> run, zigzag;
    for (int i = 0; i <= 12; ++i)
        run.push_back(bezierPoint(source, float(i) / 12, 3));
    auto ctrl = fit(run);
    EXPECT_EQ(ctrl[0].x, 0);
    EXPECT_EQ(ctrl[3].x, 60);
    EXPECT_LT(farthestFromCurve(run, ctrl), 1.0f);
    for (int i = 0; i < 15; ++i)
        zigzag.push_back(at(i * 5.0f, (i % 2) * 20.0f, i));
    fit(zigzag);
}

// The fit reparameterises up to four times before it takes the curve as it is: this run comes
// within the error only at the fourth (after the third, a sample lies 1.6 off the curve).
TEST(OxBezierFitting, TheFitTriesFourReparameterisations)
{
    const std::vector<OxInkPoint> run{at(11, 38), at(14, 24), at(13, 29), at(3, 3)};
    EXPECT_LT(farthestFromCurve(run, fit(run)), 1.0f)
        << "the curve of the fourth reparameterisation lies within 0.6 of every sample";
}

// The Bernstein weights 3 t (1 - t)^2 and 3 t^2 (1 - t) square first and multiply then; grouped
// otherwise they round differently and the control points move by an ulp or more.
TEST(OxBezierFitting, WeightsAreEvaluatedAsWritten)
{
    std::vector<OxInkPoint> run{at(0, 0), at(10, 0), at(20, 10), at(20, 20)};
    std::vector<float> u;
    chordLengthParameterize(run, 0, 3, u);
    std::vector<OxInkPoint> once;
    generateBezier(run, 0, 3, u, at(1, 0), at(0, -1), once);
    ASSERT_EQ(once.size(), 4u);
    EXPECT_EQ(once[1].x, 14.7140474f);
    EXPECT_EQ(once[2].y, 5.28595543f);
    const auto ctrl = fit(run);
    EXPECT_EQ(ctrl[1].x, 16.3738346f);
    EXPECT_EQ(ctrl[1].y, 0);
    EXPECT_EQ(ctrl[2].y, 3.6261692f);
}

TEST(OxBezierFitting, DegenerateRunsFallBack)
{
    for (const OxInkPoint &p : fit({at(2, 2, 1), at(2, 2, 2), at(2, 2, 3), at(2, 2, 4)}))
        EXPECT_EQ(p.x, 2);
    // Coinciding first or last two points leave that tangent without length.
    EXPECT_EQ(fit({at(0, 0), at(0, 0), at(10, 5), at(20, 0)})[1].x, 0);
    fit({at(0, 0), at(10, 5), at(20, 0), at(20, 0)});
    // Newton steps drive some parameters far outside [0, 1]; the fit stays finite.
    fit({at(46.15f, 9), at(28.55f, 9), at(28.55f, 9800), at(43800, 22600), at(43800, 45.1f),
         at(4.53e-5f, 45.1f), at(4.53e-5f, 45.1f), at(5.7f, 7.95f)});

    // A left tangent length of about 8e38 is finite in double but not in float: the fall-back,
    // whose inner control points lie a third of the chord along the tangents.
    std::vector<OxInkPoint> far{at(0, 0), at(3e38f, 1), at(1, 0)};
    std::vector<float> u{0, 0.5f, 1};
    std::vector<OxInkPoint> out;
    generateBezier(far, 0, 2, u, at(1, 0), at(0, 1), out);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_FLOAT_EQ(out[1].x, 1.0f / 3);
    EXPECT_FLOAT_EQ(out[2].y, 1.0f / 3);
}
