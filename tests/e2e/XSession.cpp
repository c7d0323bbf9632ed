#include "tests/e2e/XSession.h"

#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

// The game's menu trace (shell/screens/MenuScreen.h): one line per menu
// drawn, its title and the highlighted row.
constexpr const char* kMenuTraceVariable = "KORVESSA_MENU_TRACE";
constexpr const char* kMenuTraceSeparator = ": ";

std::vector<std::string> LinesOf(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

namespace e2e {

using std::chrono::milliseconds;

namespace {

// A window manager that follows the desktop conventions names its check
// window on the root window once it runs.
bool WindowManagerRunning(Display* display) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const int result = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                          XA_WINDOW, &type, &format, &count, &after, &data);
    if (data != nullptr) XFree(data);
    return result == Success && count == 1;
}

// A window can vanish between finding and reading it (a game that quits on
// its own); Xlib's default handler would end the test there and leave its
// children holding the output open, so a failed request only fails its call.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

}  // namespace

void Sleep(int ms) { std::this_thread::sleep_for(milliseconds(ms)); }

std::string Output(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    pclose(pipe);
    return output;
}

int WaitFor(pid_t pid, int ms) {
    for (int waited = 0; waited <= ms; waited += 20) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return status;
        Sleep(20);
    }
    return -1;
}

double CpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    // Fields after the command name, which is in parentheses and may hold spaces.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0;
    unsigned long long stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stoull(field);
        if (i == 15) stime = std::stoull(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

Screenshot::Screenshot(Display* display, Window window) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0) return;
    width = attributes.width;
    height = attributes.height;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr) return;
    pixels.assign(static_cast<std::size_t>(width) * height, 0);
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            unsigned long pixel = XGetPixel(image, x, row);
            pixels[static_cast<std::size_t>((height - 1 - row) * width + x)] =
                static_cast<unsigned char>((pixel & image->red_mask) >> 16);
        }
    }
    XDestroyImage(image);
    valid = true;
}

int Screenshot::NewlyLit(const Screenshot& before, int left, int bottom, int right, int top) const {
    int count = 0;
    for (int y = bottom; y <= top; ++y) {
        for (int x = left; x <= right; ++x) count += Grey(x, y) > 0 && before.Grey(x, y) == 0;
    }
    return count;
}

int Screenshot::Lit(int left, int bottom, int right, int top) const {
    int count = 0;
    for (int y = bottom; y <= top; ++y) {
        for (int x = left; x <= right; ++x) count += Grey(x, y) > 0;
    }
    return count;
}

bool Screenshot::operator==(const Screenshot& other) const {
    return valid && other.valid && width == other.width && height == other.height &&
           pixels == other.pixels;
}

void XSession::TearDown() {
    if (game > 0 && WaitFor(game, 0) == -1) {
        kill(game, SIGKILL);
        waitpid(game, nullptr, 0);
    }
    if (display != nullptr) XCloseDisplay(display);
    if (!configHome.empty()) Output("rm -rf " + configHome);
    for (pid_t child : {windowManager, server}) {
        if (child <= 0) continue;
        kill(child, SIGCONT);  // a test may have stopped the server
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
    }
}

void XSession::PressKeycodeOf(const char* keysym) {
    const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(keysym));
    ASSERT_NE(code, 0) << "no key for " << keysym;
    XTestFakeKeyEvent(display, code, True, 0);
    XTestFakeKeyEvent(display, code, False, 0);
    XFlush(display);
}

void XSession::StartXServer(const std::string& screen, bool withWindowManager) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    server = fork();
    if (server == 0) {
        close(fds[0]);
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
               "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    displayName = ReadDisplayNumber(fds[0]);
    close(fds[0]);
    ASSERT_FALSE(displayName.empty()) << "Xvfb did not start (is it installed?)";
    display = XOpenDisplay(displayName.c_str());
    ASSERT_NE(display, nullptr);
    XSetErrorHandler(IgnoreXError);
    if (!withWindowManager) return;
    ASSERT_FALSE(Output("command -v openbox").empty()) << "openbox is not installed";
    windowManager = fork();
    if (windowManager == 0) {
        setenv("DISPLAY", displayName.c_str(), 1);
        execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int tries = 0; tries < 100; ++tries) {
        if (WindowManagerRunning(display)) return;
        Sleep(100);
    }
    FAIL() << "openbox did not start";
}

// Xvfb writes the number and its newline in separate writes, and dies if the
// pipe is closed between them: read up to the newline, never less.
std::string XSession::ReadDisplayNumber(int fd) {
    std::string number;
    char c = 0;
    while (number.size() < 16) {
        ssize_t got = read(fd, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return "";  // the server ended before naming its display
        if (c == '\n') return number.empty() ? "" : ":" + number;
        if (c < '0' || c > '9') return "";
        number += c;
    }
    return "";
}

void XSession::StartGame(const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment) {
    ASSERT_FALSE(Output("command -v xdotool").empty()) << "xdotool is not installed";
    if (configHome.empty()) {
        configHome = configFolder.Bare();
        Output("mkdir " + configHome + "/korvessa && echo 'korvessa settings 1' > " + configHome +
               "/korvessa/settings.ini");
    }
    menuTrace = configHome + "/menu-trace";
    menuTraceRead = 0;
    std::remove(menuTrace.c_str());
    game = fork();
    if (game == 0) {
        setenv("DISPLAY", displayName.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        // Quiet on a machine with no sound card; scores kept apart from the user's.
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("XDG_DATA_HOME", "/nonexistent/korvessa-tests", 1);
        setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
        setenv(kMenuTraceVariable, menuTrace.c_str(), 1);
        for (const std::string& variable : environment) putenv(strdup(variable.c_str()));
        std::vector<char*> argv{const_cast<char*>(KORVESSA_BINARY)};
        for (const std::string& argument : arguments) argv.push_back(strdup(argument.c_str()));
        argv.push_back(nullptr);
        execv(KORVESSA_BINARY, argv.data());
        _exit(127);
    }
    for (int tries = 0; tries < 100 && window == 0; ++tries) {
        // The first window found; anything that is not a number means none yet.
        window = std::strtoul(Xdo("search --name '^Korvessa$'").c_str(), nullptr, 10);
        if (window == 0) Sleep(100);
    }
    ASSERT_NE(window, 0u) << "no window titled Korvessa appeared";
    Xdo("windowfocus --sync " + std::to_string(window));
}

bool XSession::Choose(const std::string& menu, const std::string& row) {
    const std::string prefix = menu + kMenuTraceSeparator;
    std::vector<std::string> lines;
    // A line drawn since `seen` lines, by this menu.
    auto drawn = [&](std::size_t seen) {
        for (int waited = 0; waited < 3000; waited += 20) {
            lines = LinesOf(menuTrace);
            if (lines.size() > seen && lines.back().rfind(prefix, 0) == 0) return true;
            Sleep(20);
        }
        return false;
    };
    if (!drawn(menuTraceRead)) return false;
    for (int presses = 0; presses < 40; ++presses) {
        Xdo("windowactivate --sync " + std::to_string(window));
        if (lines.back().compare(prefix.size(), row.size(), row) == 0) {
            Xdo("key Return");
            menuTraceRead = lines.size();
            return true;
        }
        const std::size_t seen = lines.size();
        Xdo("key Down");
        if (!drawn(seen)) return false;
    }
    return false;
}

std::string XSession::Xdo(const std::string& arguments) {
    return Output("DISPLAY=" + displayName + " xdotool " + arguments + " 2>/dev/null");
}

bool XSession::GrabUntil(int ms, const std::function<bool(const Screenshot&)>& seen) {
    auto end = std::chrono::steady_clock::now() + milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        if (seen(Grab())) return true;
    }
    return false;
}

void XSession::WindowSize(int& width, int& height) {
    XWindowAttributes attributes;
    width = height = 0;
    if (XGetWindowAttributes(display, window, &attributes) == 0) return;
    width = attributes.width;
    height = attributes.height;
}

int XSession::Terminate() {
    kill(game, SIGTERM);
    const int status = WaitFor(game, 5000);
    if (status == -1) return status;
    // The next game has windows of its own: a stale id would steer xdotool
    // and the screenshots at a window that is gone.
    game = 0;
    window = 0;
    return status;
}

}  // namespace e2e
