// quillmark-render: feeds recorded strokes to the stroke engines and draws what they return.
// See RenderOptions.h for the command line, or run it with --help.

#include "RenderCommand.h"

#include <QGuiApplication>
#include <iostream>

namespace {
QtMessageHandler qtHandler = nullptr;

// Qt's start-up looks for a display server in the runtime folder and complains when
// XDG_RUNTIME_DIR is not set; the renderer opens no window, so that complaint is not passed on.
void quietAboutTheRuntimeFolder(QtMsgType type, const QMessageLogContext &context,
                                const QString &message)
{
    if (!message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        qtHandler(type, context, message);
}
} // namespace

int main(int argc, char **argv)
{
    qtHandler = qInstallMessageHandler(quietAboutTheRuntimeFolder);
    // The labels of the PNG need fonts, which come with a GUI application. No window is ever
    // opened, so the minimal platform (with its fonts on) serves on any machine, display or not.
    // Qt gets no arguments of ours to interpret.
    qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    return runRender(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
