// Time from launching a program to its window being mapped on the X server of DISPLAY, for
// kovrant and for a bare Qt Widgets window, launched in turns; prints the medians and their
// ratio, and also the ratio to a bare window with one line of Japanese text, which pays what
// every window with text pays at its start: Qt's font database and a font for Japanese. make
// bench runs it inside Xvfb. Each start gets fresh settings and runtime folders, so
// that it is a first start and no other instance is found.
#include <QByteArray>
#include <QTemporaryDir>

#include <X11/Xlib.h>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <vector>

extern char** environ;

namespace {

double Now()
{
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Waits for the next event for at most seconds; false when none came.
bool NextEvent(Display* display, XEvent& event, double seconds)
{
    const double end = Now() + seconds;
    while (!XPending(display)) {
        const double left = end - Now();
        if (left <= 0)
            return false;
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(ConnectionNumber(display), &fds);
        timeval timeout{long(left), long((left - double(long(left))) * 1e6)};
        ::select(ConnectionNumber(display) + 1, &fds, nullptr, nullptr, &timeout);
    }
    XNextEvent(display, &event);
    return true;
}

// Seconds from launch to the first mapped top-level window; negative when none came.
double TimeToMap(Display* display, const char* program, const char* argument = nullptr)
{
    QTemporaryDir home;
    const std::string config =
        "XDG_CONFIG_HOME=" + home.filePath(QStringLiteral("config")).toStdString();
    const std::string runtime = "XDG_RUNTIME_DIR=" + home.path().toStdString();
    std::vector<char*> env;
    for (char** e = environ; *e; ++e) {
        if (std::strncmp(*e, "XDG_CONFIG_HOME=", 16) != 0 &&
            std::strncmp(*e, "XDG_RUNTIME_DIR=", 16) != 0)
            env.push_back(*e);
    }
    env.push_back(const_cast<char*>(config.c_str()));
    env.push_back(const_cast<char*>(runtime.c_str()));
    env.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program), const_cast<char*>(argument), nullptr};

    XSync(display, True); // nothing of an earlier start is counted
    const double start = Now();
    pid_t child = 0;
    if (::posix_spawn(&child, program, nullptr, nullptr, argv, env.data()) != 0)
        return -1;
    double mapped = -1;
    XEvent event;
    while (mapped < 0 && NextEvent(display, event, 10)) {
        if (event.type == MapNotify && !event.xmap.override_redirect)
            mapped = Now() - start;
    }
    ::kill(child, SIGTERM);
    ::waitpid(child, nullptr, 0);
    return mapped;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    const bool brief = argc > 1 && std::strcmp(argv[1], "--brief") == 0;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::printf("3. start-up: no X display (run it under xvfb-run)\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    constexpr int Runs = 15;
    std::vector<double> program, bare, text;
    for (int i = 0; i < Runs + 1; ++i) {
        const double p = TimeToMap(display, KOVRANT_PROGRAM);
        const double b = TimeToMap(display, KOVRANT_BARE_WINDOW);
        const double t = TimeToMap(display, KOVRANT_BARE_WINDOW, "--text");
        if (p < 0 || b < 0 || t < 0) {
            std::printf("3. start-up: a window was not mapped\n");
            return 1;
        }
        if (i > 0) { // the first round warms the caches
            program.push_back(p);
            bare.push_back(b);
            text.push_back(t);
        }
    }
    const double p = Median(program), b = Median(bare), t = Median(text);
    if (!brief)
        std::printf("median of %d starts each, launch to window mapped:\n", Runs);
    std::printf("3. start-up: kovrant %.0f ms, a bare Qt Widgets window %.0f ms, ratio %.2f "
                "(with a line of Japanese %.0f ms, ratio %.2f)\n",
                p * 1e3, b * 1e3, p / b, t * 1e3, p / t);
    XCloseDisplay(display);
    return 0;
}
