#include "VirtualDisplay.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
// Last: Xlib defines macros (None, Bool, Status) that other headers use as names.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

// Under the leak checker: the X platform's system libraries keep a few allocations to the end
// (D-Bus, and a library Qt loads and unloads, whose leak is known by the pthread_once that made
// it; its frames need the slow unwinder). The pad's own code is leak-checked offscreen.
extern "C" const char *__asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libdbus-1.so\nleak:__pthread_once_slow\n";
}

namespace {
// Xvfb starts in well under a second; a loaded machine may take longer.
constexpr int kStartTimeoutMs = 20000;

// Reads the display number Xvfb writes to fd once it accepts connections; -1 on a timeout.
int readDisplayNumber(int fd)
{
    std::string text;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kStartTimeoutMs) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char c = 0;
        if (read(fd, &c, 1) != 1)
            return -1;
        if (c == '\n')
            return text.empty() ? -1 : std::stoi(text);
        text += c;
    }
    return -1;
}
} // namespace

VirtualDisplay &VirtualDisplay::instance()
{
    static VirtualDisplay display;
    return display;
}

VirtualDisplay::VirtualDisplay()
{
    program = QStandardPaths::findExecutable(QStringLiteral("Xvfb")).toStdString();
    if (program.empty()) {
        reason = "Xvfb is not installed (Debian package xvfb; scripts/setup.sh installs it)";
        return;
    }
    int fds[2];
    if (pipe(fds) != 0) {
        reason = "no pipe for Xvfb";
        return;
    }
    const std::string fd = std::to_string(fds[1]);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execl(program.c_str(), program.c_str(), "-displayfd", fd.c_str(), "-screen", "0",
              "1024x768x24", "-nolisten", "tcp", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    serverPid = pid;
    number = pid > 0 ? readDisplayNumber(fds[0]) : -1;
    close(fds[0]);
    if (number < 0) {
        reason = program + " did not start";
        stop();
        return;
    }
    qputenv("DISPLAY", name().c_str());
    qputenv("QT_QPA_PLATFORM", "xcb");
}

void VirtualDisplay::stop()
{
    if (serverPid > 0) {
        kill(serverPid, SIGTERM);
        waitpid(serverPid, nullptr, 0);
    }
    serverPid = -1;
}

XTestInput::XTestInput(const std::string &display) : connection(XOpenDisplay(display.c_str()))
{
    int event = 0, error = 0, major = 0, minor = 0;
    if (connection && !XTestQueryExtension(connection, &event, &error, &major, &minor)) {
        XCloseDisplay(connection);
        connection = nullptr;
    }
}

XTestInput::~XTestInput()
{
    if (connection)
        XCloseDisplay(connection);
}

void XTestInput::moveTo(QPoint global)
{
    XTestFakeMotionEvent(connection, -1, global.x(), global.y(), CurrentTime);
    XSync(connection, False);
}

void XTestInput::button(bool down)
{
    XTestFakeButtonEvent(connection, 1, down, CurrentTime);
    XSync(connection, False);
}

void XTestInput::key(const char *name, bool down)
{
    const KeyCode code = XKeysymToKeycode(connection, XStringToKeysym(name));
    XTestFakeKeyEvent(connection, code, down, CurrentTime);
    XSync(connection, False);
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

namespace {
// One QApplication on the virtual display for every test of the program; none without it.
class XEnvironment : public ::testing::Environment
{
    void SetUp() override
    {
        if (VirtualDisplay::instance().ok())
            app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override
    {
        app.reset();
        VirtualDisplay::instance().stop();
    }

    int argc = 1;
    char name[16] = "quillmark_tests";
    char *argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
};

[[maybe_unused]] ::testing::Environment *const environment =
    ::testing::AddGlobalTestEnvironment(new XEnvironment);
} // namespace
