#ifndef QUILLMARK_GATEWAYOUTPUTS_H
#define QUILLMARK_GATEWAYOUTPUTS_H

// The seven outputs of a sketch call, set to sentinels so that a test sees what was written.

#include "OxQuillmarkGateway.h"

#include <gtest/gtest.h>
#include <cmath>

struct Outputs
{
    float left = -7, top = -7, width = -7, height = -7;
    int pointCount = -7, pathCount = -7;
    int *pathSizes = reinterpret_cast<int *>(0x1);
    float *coords = nullptr;

    bool untouched() const
    {
        return left == -7 && top == -7 && width == -7 && height == -7 && pointCount == -7
               && pathCount == -7 && pathSizes == reinterpret_cast<int *>(0x1);
    }
    QRectF rect() const { return QRectF(left, top, width, height); }
    int sizesSum() const
    {
        int sum = 0;
        for (int i = 0; i < pathCount; ++i)
            sum += pathSizes[i];
        return sum;
    }
    // The export's own invariants: counts add up, arrays null exactly when empty, numbers finite.
    void expectConsistent() const
    {
        ASSERT_GE(pathCount, 0);
        EXPECT_EQ(pointCount, sizesSum());
        EXPECT_EQ(pathSizes == nullptr, pathCount == 0);
        EXPECT_EQ(coords == nullptr, pointCount == 0);
        for (int i = 0; i < 2 * pointCount; ++i)
            ASSERT_TRUE(std::isfinite(coords[i]));
    }
};

// A host driving one gateway; every call starts from fresh sentinel outputs.
struct Host
{
    OxQuillmarkGateway gateway;

    Outputs start(float x, float y, long long t)
    {
        Outputs o;
        o.coords = gateway.startSketch(x, y, t, o.left, o.top, o.width, o.height, o.pointCount,
                                       o.pathCount, o.pathSizes);
        return o;
    }
    Outputs move(float x, float y)
    {
        Outputs o;
        o.coords = gateway.sketching(x, y, o.left, o.top, o.width, o.height, o.pointCount,
                                     o.pathCount, o.pathSizes);
        return o;
    }
    Outputs batch(int count, float *xy, long long *times)
    {
        Outputs o;
        o.coords = gateway.sketching2(count, xy, times, o.left, o.top, o.width, o.height,
                                      o.pointCount, o.pathCount, o.pathSizes);
        return o;
    }
    Outputs end(float x, float y)
    {
        Outputs o;
        o.coords = gateway.endSketch(x, y, o.left, o.top, o.width, o.height, o.pointCount,
                                     o.pathCount, o.pathSizes);
        return o;
    }
    // endSketch2, endSketch3 or endSketch4, chosen by number.
    Outputs endWithTime(int which, float x, float y, long long t)
    {
        Outputs o;
        auto call = which == 2 ? &OxQuillmarkGateway::endSketch2
                    : which == 3 ? &OxQuillmarkGateway::endSketch3
                                 : &OxQuillmarkGateway::endSketch4;
        o.coords = (gateway.*call)(x, y, t, o.left, o.top, o.width, o.height, o.pointCount,
                                   o.pathCount, o.pathSizes);
        return o;
    }
};

#endif
