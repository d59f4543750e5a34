#include "GatewayOutputs.h"
#include "OxStrokesFixWidthFill.h"
#include "OxStrokesVaryWidthBackwardTime.h"

#include <gtest/gtest.h>

// Refused settings leave a gateway without engine whose calls write nothing: tests/capi. Which
// pen types have an engine, that copies and assignments start without engine or arrays, and that
// releases may come in any order, the gateway fuzzer checks after every such call.
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
}
