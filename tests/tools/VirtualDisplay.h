#ifndef QUILLMARK_TESTS_VIRTUALDISPLAY_H
#define QUILLMARK_TESTS_VIRTUALDISPLAY_H

// A virtual X server for the tests of a program's windows, and pointer and key events that the
// server itself generates (XTest), so they reach the windows as a user's do.
//
// Use:
//   1. VirtualDisplay::instance(): the first call starts Xvfb on a free display, points DISPLAY
//      at it and has Qt use the xcb platform; the test program's QApplication is made by
//      the environment in VirtualDisplay.cpp. Without Xvfb, ok() is false and installed()
//      too: tests then skip, saying why (problem()). An Xvfb that does not start is a failure.
//   2. XTestInput on the display: moveTo(), button(), key(); each returns once the server has
//      taken the event. The caller waits for the window to handle it (waitUntil).

#include <QPoint>
#include <functional>
#include <string>

class VirtualDisplay
{
public:
    static VirtualDisplay &instance();
    bool ok() const { return number >= 0; }
    bool installed() const { return !program.empty(); }
    const std::string &problem() const { return reason; }
    std::string name() const { return ":" + std::to_string(number); }
    // Stops the server.
    void stop();

private:
    VirtualDisplay();
    int number = -1;
    int serverPid = -1;
    std::string program;  // Xvfb's path; empty when it is not installed
    std::string reason;
};

// The server's own input devices, driven through XTest.
class XTestInput
{
public:
    explicit XTestInput(const std::string &display);
    ~XTestInput();
    XTestInput(const XTestInput &) = delete;
    XTestInput &operator=(const XTestInput &) = delete;

    bool ok() const { return connection != nullptr; }
    void moveTo(QPoint global);
    void button(bool down);
    // A key by its X name ("z", "Control_L", "Shift_L").
    void key(const char *name, bool down);

private:
    struct _XDisplay *connection = nullptr;
};

// Handles Qt's events until done() holds or timeoutMs pass; whether done() held.
bool waitUntil(const std::function<bool()> &done, int timeoutMs = 5000);

#endif
