// The labels of the PNG need a QGuiApplication, the pad's widgets a QApplication; one serves
// every test of a program. The minimal platform (with its fonts on, as the render tool uses it)
// needs no display.

#ifdef QT_WIDGETS_LIB
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
#include <gtest/gtest.h>
#include <memory>

namespace {
class GuiEnvironment : public ::testing::Environment
{
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
        app = std::make_unique<TestApplication>(argc, argv);
    }
    void TearDown() override { app.reset(); }

    int argc = 1;
    char name[16] = "quillmark_tests";
    char *argv[2] = {name, nullptr};
    std::unique_ptr<TestApplication> app;
};

[[maybe_unused]] ::testing::Environment *const gui =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);
} // namespace
