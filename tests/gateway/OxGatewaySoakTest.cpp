// A long session of one gateway: 1,000 strokes of 1,000 samples (data/synth-1k.txt, shifted a
// little per stroke), the pen switching between the filled pen and the brush, freeStroke and
// setEnvironmentPara between strokes as a host does. Whatever a stroke allocates must be given
// back: the resident size after the last stroke stays within kMargin of the size after the first
// 100 (by then the allocator has settled).
//
// The filled pen runs the normal mode (sketching per sample, endSketch). The brush runs the
// backward-only mode with the host's time stamps (sketching2 per batch, 8 ms a sample,
// endSketch4): sketching stamps samples with the time of day, and a test feeding them far faster
// than a pen would keep the whole stroke inside the brush's tail, which is rebuilt at every
// sample.
//
// Not built in the sanitizer build: the address sanitizer keeps freed memory in quarantine, so
// the resident size there says nothing about leaks (its leak checker covers them instead).

#include "GatewayOutputs.h"
#include "TestData.h"

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

constexpr int kStrokes = 1000;
constexpr int kSettleStrokes = 100;
constexpr long kMargin = 4L << 20;   // bytes; one leaked engine with its outline is larger
constexpr int kBatch = 4;
constexpr long long kSampleMs = 8;

long residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

void drawFilled(Host &h, const RecordedStroke &stroke, float dx)
{
    const RecordedSample &first = stroke.front();
    h.start(float(first.x) + dx, float(first.y), 1);
    for (size_t i = 1; i + 1 < stroke.size(); ++i)
        h.move(float(stroke[i].x) + dx, float(stroke[i].y));
    const Outputs o = h.call(&G::endSketch, float(stroke.back().x) + dx, float(stroke.back().y));
    ASSERT_GT(o.pointCount, 0);
}

void drawBrush(Host &h, const RecordedStroke &stroke, float dx)
{
    long long t = 1;
    h.start(float(stroke.front().x) + dx, float(stroke.front().y), t);
    std::vector<float> xy;
    for (size_t i = 1; i + 1 < stroke.size(); ++i) {
        xy.push_back(float(stroke[i].x) + dx);
        xy.push_back(float(stroke[i].y));
        t += kSampleMs;
        if (xy.size() == 2 * kBatch || i + 2 == stroke.size()) {
            h.call(&G::sketching2, int(xy.size() / 2), xy.data(), &t);
            xy.clear();
        }
    }
    const Outputs o = h.call(&G::endSketch4, float(stroke.back().x) + dx,
                               float(stroke.back().y), t + kSampleMs);
    ASSERT_GT(o.pointCount, 0);
}

} // namespace

TEST(OxGatewaySoak, ThousandStrokesGiveBackWhatTheyTake)
{
    const std::vector<RecordedStroke> strokes = loadStrokes("synth-1k.txt");
    ASSERT_EQ(strokes.size(), 1u);
    const RecordedStroke &stroke = strokes.front();
    ASSERT_EQ(stroke.size(), 1000u);

    Host h;
    long settled = 0;
    for (int s = 0; s < kStrokes; ++s) {
        const int penType = 1 + s % 2;
        ASSERT_TRUE(h.gateway.setEnvironmentPara(1, 1, float(4 + s % 5), penType));
        const float dx = float(s % 7);
        if (penType == 1)
            drawFilled(h, stroke, dx);
        else
            drawBrush(h, stroke, dx);
        h.gateway.freeStroke();
        if (s + 1 == kSettleStrokes)
            settled = residentBytes();
    }
    h.gateway.clearup();
    const long last = residentBytes();
    EXPECT_LE(last, settled + kMargin) << "resident after stroke " << kSettleStrokes << ": "
                                       << settled << " bytes, after the last: " << last;
}
