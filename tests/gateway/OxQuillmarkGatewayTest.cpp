#include "GatewayOutputs.h"
#include "OxStrokesFixWidthFill.h"
#include "OxStrokesVaryWidthBackwardTime.h"

#include <gtest/gtest.h>

// Refused settings leave a gateway without engine whose calls write nothing: tests/capi.
TEST(OxQuillmarkGatewayConfig, EngineFollowsThePenType)
{
    Host h(1);
    OxStrokesFixWidth *filled = h.gateway.engine;
    EXPECT_NE(dynamic_cast<OxStrokesFixWidthFill *>(filled), nullptr);
    ASSERT_TRUE(h.gateway.setEnvironmentPara(1, 1, 9, 1));
    EXPECT_EQ(h.gateway.engine, filled);  // same pen: same engine, new width
    EXPECT_EQ(h.gateway.penWidth, 9.0f);

    h.start(10, 10, 100);
    h.move(30, 10);
    const auto points = h.gateway.points.size();
    const int elements = h.gateway.path.elementCount();
    ASSERT_TRUE(h.gateway.setEnvironmentPara(1, 1, 9, 2));  // mid-stroke change
    EXPECT_NE(dynamic_cast<OxStrokesVaryWidthBackwardTime *>(h.gateway.engine), nullptr);
    EXPECT_EQ(h.gateway.points.size(), points);
    EXPECT_EQ(h.gateway.path.elementCount(), elements);

    h.gateway.freeStroke();
    h.gateway.freeStroke();
    EXPECT_EQ(h.gateway.engine, nullptr);
    EXPECT_EQ(h.gateway.penType, 2);
    ASSERT_TRUE(h.gateway.setEnvironmentPara(1, 1, 9, 2));
    EXPECT_NE(h.gateway.engine, nullptr);

    // Other positive pen types are accepted and leave the gateway without an engine.
    EXPECT_TRUE(h.gateway.setEnvironmentPara(2, 3, 7, 3));
    EXPECT_EQ(h.gateway.engine, nullptr);
    EXPECT_EQ(h.gateway.factor2, 3.0f);
}

TEST(OxQuillmarkGatewayConfig, CopiesStartWithoutEngineOrArraysAndReleasesAreIdempotent)
{
    Host h;
    h.gateway.setEnvironmentPara(2, 3, 6, 2);
    h.start(5, 5, 1);
    ASSERT_NE(h.move(20, 5).coords, nullptr);
    OxQuillmarkGateway copy(h.gateway);
    EXPECT_EQ(copy.engine, nullptr);
    EXPECT_EQ(copy.exportCoords, nullptr);
    EXPECT_EQ(copy.exportPointCount, 0);
    EXPECT_EQ(copy.penWidth, 6.0f);
    EXPECT_EQ(copy.factor2, 3.0f);
    EXPECT_EQ(copy.points.size(), h.gateway.points.size());

    OxQuillmarkGateway assigned;
    assigned.setEnvironmentPara(1, 1, 4, 1);
    assigned = h.gateway;
    assigned = assigned;
    EXPECT_EQ(assigned.engine, nullptr);
    EXPECT_EQ(assigned.penType, 2);
    // Each gateway still owns its own: both can be configured and destroyed.
    EXPECT_TRUE(assigned.setEnvironmentPara(1, 1, 4, 2));
    EXPECT_NE(assigned.engine, h.gateway.engine);

    h.gateway.clearup();
    h.gateway.clearup();
    EXPECT_EQ(h.gateway.exportCoords, nullptr);
    EXPECT_EQ(h.gateway.exportPathSizes, nullptr);
    EXPECT_EQ(h.gateway.exportPathCount, 0);
    EXPECT_EQ(h.gateway.exportPointCount, 0);
}
