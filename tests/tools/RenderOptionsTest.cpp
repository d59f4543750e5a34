#include "FakeEngines.h"
#include "RenderOptions.h"

#include <gtest/gtest.h>

namespace {
class RenderOptionsTest : public ::testing::Test
{
protected:
    ParsedOptions parse(const std::vector<std::string> &args)
    {
        return parseRenderOptions(args, table);
    }
    std::vector<EngineAdapter> table = {loggingAdapter(), batchLoggingAdapter()};
};
} // namespace

TEST_F(RenderOptionsTest, ReadsEveryOptionAndDefaultsToTheDemo)
{
    const ParsedOptions demo = parse({});
    ASSERT_EQ(demo.error, "");
    EXPECT_TRUE(demo.options.inputs.empty());
    EXPECT_EQ(demo.options.engines, (std::vector<const EngineAdapter *>{&table[0], &table[1]}));
    EXPECT_EQ(demo.options.svgPath, "quillmark-demo.svg");
    EXPECT_EQ(demo.options.pngPath, "quillmark-demo.png");
    EXPECT_TRUE(demo.options.stats);
    EXPECT_EQ(demo.options.feed.mode, FeedMode::Live);

    const ParsedOptions parsed =
        parse({"a.txt", "--engine", "batchy", "--width", "2.5", "-", "--mode", "batch", "--batch",
               "3", "--svg", "out.svg", "--png", "out.png", "--scale", "0.25", "--show-dirty"});
    ASSERT_EQ(parsed.error, "");
    const RenderOptions &o = parsed.options;
    EXPECT_EQ(o.inputs, (std::vector<std::string>{"a.txt", "-"}));
    EXPECT_EQ(o.engines, std::vector<const EngineAdapter *>{&table[1]});
    EXPECT_EQ(o.feed.width, 2.5f);
    EXPECT_EQ(o.feed.mode, FeedMode::Batch);
    EXPECT_EQ(o.feed.batchSize, 3);
    EXPECT_EQ(o.svgPath, "out.svg");
    EXPECT_EQ(o.pngPath, "out.png");
    EXPECT_EQ(o.scale, 0.25);
    EXPECT_TRUE(o.showDirty);
    EXPECT_FALSE(o.stats);

    EXPECT_EQ(parse({"--mode", "replay"}).options.feed.mode, FeedMode::Replay);
    EXPECT_TRUE(parse({"a.txt"}).options.stats);  // no picture asked for
    EXPECT_TRUE(parse({"--help"}).options.help);
    EXPECT_TRUE(parse({"a.txt", "--version", "--colour"}).options.version);
    // Batch mode takes the engines that have one.
    EXPECT_EQ(parse({"--mode", "batch"}).options.engines, std::vector<const EngineAdapter *>{&table[1]});
    table.pop_back();
    EXPECT_EQ(parse({"--mode", "batch"}).error, "no engine has a batch mode");
}

TEST_F(RenderOptionsTest, RejectsBadValues)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--engine", "nope"}, "unknown engine 'nope' (known: logging, batchy, all)"},
        {{"--mode", "batch", "--engine", "logging"}, "engine 'logging' has no batch mode"},
        {{"--width", "0"}, "--width must be a positive number, not '0'"},
        {{"--width", "-2"}, "--width must be a positive number, not '-2'"},
        {{"--width", "3px"}, "--width must be a positive number, not '3px'"},
        {{"--width", "nan"}, "--width must be a positive number, not 'nan'"},
        {{"--width", "1e39"}, "--width must be a positive number, not '1e39'"},  // beyond float
        {{"--width", "1e-50"}, "--width must be a positive number, not '1e-50'"},
        {{"--scale", "0"}, "--scale must be a positive number, not '0'"},
        {{"--scale", "inf"}, "--scale must be a positive number, not 'inf'"},
        {{"--batch", "0"}, "--batch must be a positive whole number, not '0'"},
        {{"--batch", "1.5"}, "--batch must be a positive whole number, not '1.5'"},
        {{"--mode", "fast"}, "unknown mode 'fast' (known: live, replay, batch)"},
        {{"--colour"}, "unknown option '--colour'"},
        {{"a.txt", "--svg"}, "option '--svg' needs a value"},
    };
    for (const auto &[args, error] : cases)
        EXPECT_EQ(parse(args).error, error);
}
