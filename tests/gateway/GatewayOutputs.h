#ifndef QUILLMARK_GATEWAYOUTPUTS_H
#define QUILLMARK_GATEWAYOUTPUTS_H

// The seven outputs of a sketch call, and a host that drives one gateway with them. (That the
// counts add up and the arrays are null exactly when empty, the gateway fuzzer and the C test
// check after every call.)

#include "OxQuillmarkGateway.h"

#include <gtest/gtest.h>

struct Outputs
{
    float left = -7, top = -7, width = -7, height = -7;
    int pointCount = -7, pathCount = -7;
    int *pathSizes = reinterpret_cast<int *>(0x1);
    float *coords = nullptr;

    QRectF rect() const { return QRectF(left, top, width, height); }
};

using G = OxQuillmarkGateway;

struct Host
{
    explicit Host(int penType = 0, float width = 6)
    {
        EXPECT_TRUE(penType == 0 || gateway.setEnvironmentPara(1, 1, width, penType));
    }

    // A sketch call (&G::endSketch2, say) with its leading arguments and fresh outputs.
    template <class Call, class... Args>
    Outputs call(Call sketchCall, Args... args)
    {
        Outputs o;
        o.coords = (gateway.*sketchCall)(args..., o.left, o.top, o.width, o.height, o.pointCount,
                                         o.pathCount, o.pathSizes);
        return o;
    }
    Outputs start(float x, float y, long long t) { return call(&G::startSketch, x, y, t); }
    Outputs move(float x, float y) { return call(&G::sketching, x, y); }

    OxQuillmarkGateway gateway;
};

#endif
