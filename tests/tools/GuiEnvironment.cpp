// The labels of the PNG need a QGuiApplication; one serves every test of the program. The
// minimal platform (with its fonts on, as the tool uses it) needs no display.

#include <QGuiApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {
class GuiEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { app.reset(); }

private:
    int argc = 1;
    char name[13] = "render_tests";
    char *argv[2] = {name, nullptr};
    std::unique_ptr<QGuiApplication> app;
};

[[maybe_unused]] ::testing::Environment *const gui =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);
} // namespace
