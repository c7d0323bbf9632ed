// A private X server (Xvfb) for end-to-end tests, optionally with a window
// manager, the game binary started on it, xdotool to act as the player, and
// screenshots read back through Xlib.
#pragma once

// GoogleTest comes first: Xlib defines macros (None, Bool, Status) that
// would break its declarations.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
// clang-format on
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/TemporaryFolder.h"

namespace e2e {

void Sleep(int ms);

// Runs a command through the shell and returns what it printed.
std::string Output(const std::string& command);

// Waits up to `ms` for a child to end; its wait status, or -1 on timeout.
int WaitFor(pid_t pid, int ms);

// CPU time (user + system) a process has used so far, in seconds.
double CpuSeconds(pid_t pid);

// A grabbed picture of a window; y counts up from the bottom, as in the
// game's own screen coordinates. Holds the red channel.
class Screenshot {
public:
    Screenshot(Display* display, Window window);

    int Grey(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    // Pixels lit here and dark in `before`, within the box.
    int NewlyLit(const Screenshot& before, int left, int bottom, int right, int top) const;
    // Pixels lit within the box.
    int Lit(int left, int bottom, int right, int top) const;
    bool operator==(const Screenshot& other) const;

    bool valid = false;
    int width = 0;
    int height = 0;

private:
    std::vector<unsigned char> pixels;
};

class XSession : public ::testing::Test {
protected:
    void TearDown() override;

    // Xvfb with one screen of the given size; openbox on it if asked.
    void StartXServer(const std::string& screen = "1280x1024x24", bool windowManager = false);
    // The game with these arguments and extra environment ("NAME=value");
    // waits for its window and focuses it.
    void StartGame(const std::vector<std::string>& arguments = {},
                   const std::vector<std::string>& environment = {});

    std::string Xdo(const std::string& arguments);
    // Presses and releases the key of `keysym` through XTEST by its own
    // keycode: xdotool sends any Control key as the first one, Control_L.
    void PressKeycodeOf(const char* keysym);
    Screenshot Grab() { return Screenshot(display, window); }
    // Grabs the window until `seen` holds or `ms` have passed.
    bool GrabUntil(int ms, const std::function<bool(const Screenshot&)>& seen);
    // The game window's size as the X server has it.
    void WindowSize(int& width, int& height);
    // Asks the game to quit as a window manager would; its exit status.
    int Terminate();
    // Waits for the menu titled `menu` to be drawn, moves its highlight down
    // to the row whose text starts with `row` and chooses it, as the game's
    // menu trace tells; false when the menu never showed or has no such row.
    // Choosing by name, a test does not change when a menu gains a row.
    bool Choose(const std::string& menu, const std::string& row);

    // XDG_CONFIG_HOME for the game: a settings file that says the player
    // has been here, unless a test makes its own.
    std::string configHome;
    testing_support::TemporaryFolder configFolder;  // configHome unless a test makes its own
    std::string menuTrace;                          // where the game writes the menus it draws
    std::size_t menuTraceRead = 0;                  // its lines Choose() has acted on
    std::string displayName;
    Display* display = nullptr;
    Window window = 0;
    pid_t server = 0;
    pid_t windowManager = 0;
    pid_t game = 0;

private:
    static std::string ReadDisplayNumber(int fd);
};

}  // namespace e2e
