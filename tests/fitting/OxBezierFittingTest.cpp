#include "OxBezierFitting.h"
#include "OxGeometry.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {
OxInkPoint at(float x, float y, double time = 0, float pressure = 0)
{
    return OxInkPoint(x, y, time, pressure, 0, 0);
}

std::vector<OxInkPoint> fit(std::vector<OxInkPoint> run)
{
    std::vector<OxInkPoint> out;
    fitCurve(run, 0, int(run.size()) - 1, 1.0f, out);
    return out;
}

void expectFinite(const std::vector<OxInkPoint> &ctrl)
{
    ASSERT_EQ(ctrl.size(), 4u);
    for (const OxInkPoint &p : ctrl) {
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
        EXPECT_TRUE(std::isfinite(p.time) && std::isfinite(p.pressure));
    }
}

float distanceToCurve(std::vector<OxInkPoint> &curve, const OxInkPoint &p)
{
    float best = 1e9f;
    for (int i = 0; i <= 1000; ++i) {
        const OxInkPoint q = bezierPoint(curve, float(i) / 1000, 3);
        best = std::min(best, pointDistance(q.x, q.y, p.x, p.y));
    }
    return best;
}
} // namespace

TEST(OxBezierFitting, OnePointGivesFourCopies)
{
    std::vector<OxInkPoint> out{at(9, 9), at(9, 9)};
    std::vector<OxInkPoint> run{at(3, 4, 7, 0.5f)};
    fitCurve(run, 0, 0, 1.0f, out);
    ASSERT_EQ(out.size(), 4u);   // assigned, not appended
    for (const OxInkPoint &p : out) {
        EXPECT_EQ(p.x, 3);
        EXPECT_EQ(p.time, 7);
    }
}

TEST(OxBezierFitting, TwoPointsGiveThirdsOfTheChord)
{
    const auto ctrl = fit({at(0, 0, 0, 0.2f), at(30, 0, 90, 0.8f)});
    ASSERT_EQ(ctrl.size(), 4u);
    EXPECT_FLOAT_EQ(ctrl[1].x, 10);
    EXPECT_FLOAT_EQ(ctrl[2].x, 20);
    EXPECT_EQ(ctrl[1].y, 0);
    EXPECT_EQ(ctrl[3].x, 30);
    // The tangents carry the time and pressure differences along, scaled like the position.
    EXPECT_NEAR(ctrl[1].time, 30, 1e-4);
    EXPECT_NEAR(ctrl[2].pressure, 0.8f - 0.2f, 1e-6);
}

TEST(OxBezierFitting, SamplesOfACubicAreReproduced)
{
    std::vector<OxInkPoint> source{at(0, 0), at(10, 40), at(50, 40), at(60, 0)};
    std::vector<OxInkPoint> run;
    for (int i = 0; i <= 12; ++i)
        run.push_back(bezierPoint(source, float(i) / 12, 3));
    auto ctrl = fit(run);
    expectFinite(ctrl);
    for (const OxInkPoint &p : run)
        EXPECT_LT(distanceToCurve(ctrl, p), 1.0f);
    EXPECT_EQ(ctrl[0].x, 0);
    EXPECT_EQ(ctrl[3].x, 60);
}

TEST(OxBezierFitting, ZigZagStillGivesOneCurve)
{
    std::vector<OxInkPoint> run;
    for (int i = 0; i < 15; ++i)
        run.push_back(at(i * 5.0f, (i % 2) * 20.0f, i));
    expectFinite(fit(run));
}

TEST(OxBezierFitting, DegenerateRunsFallBack)
{
    const auto same = fit({at(2, 2, 1), at(2, 2, 2), at(2, 2, 3), at(2, 2, 4)});
    expectFinite(same);
    for (const OxInkPoint &p : same)
        EXPECT_EQ(p.x, 2);
    // Coinciding first or last two points leave that tangent without length.
    const auto firstTwo = fit({at(0, 0), at(0, 0), at(10, 5), at(20, 0)});
    expectFinite(firstTwo);
    EXPECT_EQ(firstTwo[1].x, 0);
    expectFinite(fit({at(0, 0), at(10, 5), at(20, 0), at(20, 0)}));
    // Newton steps drive some parameters far outside [0, 1]; the solved lengths overflow floats.
    expectFinite(fit({at(46.15f, 9), at(28.55f, 9), at(28.55f, 9800), at(43800, 22600),
                      at(43800, 45.1f), at(4.53e-5f, 45.1f), at(4.53e-5f, 45.1f),
                      at(5.7f, 7.95f)}));
}

TEST(OxBezierFitting, ParametersAndNewtonStep)
{
    std::vector<OxInkPoint> run{at(0, 0), at(3, 4), at(3, 10)};
    std::vector<float> u;
    chordLengthParameterize(run, 0, 2, u);
    EXPECT_EQ(u, (std::vector<float>{0, 5.0f / 11, 1}));

    // The straight curve from (0, 0) to (30, 0) with even control points: t moves toward x / 30.
    std::vector<OxInkPoint> line{at(0, 0), at(10, 0), at(20, 0), at(30, 0)};
    const float t = newtonRaphsonRootFind(line, at(15, 5), 0.4f);
    // q = (12, 0), q' = (30, 0), q'' = 0: t - (-3 * 30) / 900.
    EXPECT_FLOAT_EQ(t, 0.5f);
    std::vector<OxInkPoint> tooShort{at(0, 0)};
    EXPECT_EQ(newtonRaphsonRootFind(tooShort, at(1, 1), 0.3f), 0.3f);
}

TEST(OxBezierFitting, RangesOutsideThePointsAreNotFitted)
{
    std::vector<OxInkPoint> run{at(0, 0), at(1, 1)};
    std::vector<OxInkPoint> out;
    fitCurve(run, 0, 5, 1.0f, out);
    fitCurve(run, 1, 0, 1.0f, out);
    fitCurve(run, -1, 1, 1.0f, out);
    EXPECT_TRUE(out.empty());
    std::vector<float> u;
    chordLengthParameterize(run, 0, 3, u);
    EXPECT_TRUE(u.empty());
    EXPECT_EQ(computeLeftTangent(run, 1).x, 0);
}
