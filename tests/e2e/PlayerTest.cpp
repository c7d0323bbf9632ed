// Plays the real game binary as a player would: in a window on a virtual X
// server (Xvfb), with xdotool sending real key presses and releases, and
// screenshots of the window read back through Xlib.

// GoogleTest comes first: Xlib defines macros (None, Bool, Status) that
// would break its declarations.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
// clang-format on
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using std::chrono::milliseconds;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

void Sleep(int ms) { std::this_thread::sleep_for(milliseconds(ms)); }

// Runs a command through the shell and returns what it printed.
std::string Output(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    pclose(pipe);
    return output;
}

// Waits up to `ms` for a child to end; its wait status, or -1 on timeout.
int WaitFor(pid_t pid, int ms) {
    for (int waited = 0; waited <= ms; waited += 20) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return status;
        Sleep(20);
    }
    return -1;
}

// A grabbed picture of the game window; y counts up from the bottom, as in
// the game's own screen coordinates.
class Screenshot {
public:
    Screenshot(Display* display, Window window) : pixels(kWidth * kHeight, 0) {
        XImage* image = XGetImage(display, window, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
        if (image == nullptr) return;
        for (int row = 0; row < kHeight; ++row) {
            for (int x = 0; x < kWidth; ++x) {
                unsigned long pixel = XGetPixel(image, x, row);
                pixels[static_cast<std::size_t>((kHeight - 1 - row) * kWidth + x)] =
                    static_cast<unsigned char>((pixel & image->red_mask) >> 16);
            }
        }
        XDestroyImage(image);
        valid = true;
    }

    int Grey(int x, int y) const { return pixels[static_cast<std::size_t>(y * kWidth + x)]; }

    // Pixels lit here and dark in `before`, within the box.
    int NewlyLit(const Screenshot& before, int left, int bottom, int right, int top) const {
        int count = 0;
        for (int y = bottom; y <= top; ++y) {
            for (int x = left; x <= right; ++x) count += Grey(x, y) > 0 && before.Grey(x, y) == 0;
        }
        return count;
    }

    bool valid = false;

private:
    std::vector<unsigned char> pixels;
};

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(Output("command -v xdotool").empty()) << "xdotool is not installed";
        StartXServer();
        ASSERT_FALSE(displayName.empty()) << "Xvfb did not start (is it installed?)";
        display = XOpenDisplay(displayName.c_str());
        ASSERT_NE(display, nullptr);
        StartGame();
        ASSERT_NE(window, 0u) << "no window titled Korvessa appeared";
        Xdo("windowfocus --sync " + std::to_string(window));
    }

    void TearDown() override {
        if (game > 0 && WaitFor(game, 0) == -1) {
            kill(game, SIGKILL);
            waitpid(game, nullptr, 0);
        }
        if (display != nullptr) XCloseDisplay(display);
        if (server > 0) {
            kill(server, SIGTERM);
            waitpid(server, nullptr, 0);
        }
    }

    void StartXServer() {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        server = fork();
        if (server == 0) {
            close(fds[0]);
            std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        displayName = ReadDisplayNumber(fds[0]);
        close(fds[0]);
    }

    // Xvfb writes the number and its newline in separate writes, and dies if
    // the pipe is closed between them: read up to the newline, never less.
    static std::string ReadDisplayNumber(int fd) {
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

    void StartGame() {
        game = fork();
        if (game == 0) {
            setenv("DISPLAY", displayName.c_str(), 1);
            setenv("SDL_VIDEODRIVER", "x11", 1);
            execl(KORVESSA_BINARY, KORVESSA_BINARY, static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int tries = 0; tries < 100 && window == 0; ++tries) {
            // The first window found; anything that is not a number means none yet.
            window = std::strtoul(Xdo("search --name '^Korvessa$'").c_str(), nullptr, 10);
            if (window == 0) Sleep(100);
        }
    }

    std::string Xdo(const std::string& arguments) {
        return Output("DISPLAY=" + displayName + " xdotool " + arguments + " 2>/dev/null");
    }

    Screenshot Grab() { return Screenshot(display, window); }

    // Grabs the window until `seen` holds or `ms` have passed.
    bool GrabUntil(int ms, const std::function<bool(const Screenshot&)>& seen) {
        auto end = std::chrono::steady_clock::now() + milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            if (seen(Grab())) return true;
        }
        return false;
    }

    std::string displayName;
    Display* display = nullptr;
    Window window = 0;
    pid_t server = 0;
    pid_t game = 0;
};

TEST_F(PlayerTest, TurnsShootsFiresTheLaserAndQuitsOnSigterm) {
    Sleep(500);  // the game is running; the ship sits at the centre, heading right
    Screenshot start = Grab();
    ASSERT_TRUE(start.valid);

    // A photon flies right from the centre after the space bar's release.
    Xdo("keydown space");
    Sleep(150);
    EXPECT_EQ(Grab().NewlyLit(start, 530, 378, 850, 390), 0) << "fired on press";
    Xdo("keyup space");
    EXPECT_TRUE(GrabUntil(600, [&](const Screenshot& shot) {
        return shot.NewlyLit(start, 530, 378, 850, 390) >= 4;
    })) << "no photon after releasing the space bar";

    // The laser beam, 400 units to the right, after Alt's release.
    Sleep(1300);  // the photon is gone
    // The beam lives six ticks (180 ms); a machine too busy to grab the
    // window in time gets one more try with the second charge.
    auto fireAndSeeBeam = [&] {
        Screenshot beforeBeam = Grab();
        Xdo("key Alt_L");
        return GrabUntil(500, [&](const Screenshot& shot) {
            return shot.NewlyLit(beforeBeam, 525, 382, 905, 386) >= 300;
        });
    };
    bool beamSeen = fireAndSeeBeam();
    if (!beamSeen) {
        Sleep(400);
        beamSeen = fireAndSeeBeam();
    }
    EXPECT_TRUE(beamSeen) << "no laser beam after releasing Alt";

    // Holding the left arrow turns the ship.
    Sleep(400);  // the beam is gone
    Screenshot beforeTurn = Grab();
    Xdo("keydown Left");
    Sleep(250);
    Xdo("keyup Left");
    Sleep(150);
    Screenshot afterTurn = Grab();
    int changed = afterTurn.NewlyLit(beforeTurn, 490, 362, 534, 406) +
                  beforeTurn.NewlyLit(afterTurn, 490, 362, 534, 406);
    EXPECT_GE(changed, 10) << "the ship did not turn";
    // Turning counter-clockwise lifts the nose: the ship's pixels above the
    // centre line grow.
    EXPECT_GT(afterTurn.NewlyLit(beforeTurn, 500, 390, 524, 406), 0);

    // SIGTERM reaches SDL as a quit event: a clean exit with status 0.
    kill(game, SIGTERM);
    int status = WaitFor(game, 5000);
    game = 0;
    ASSERT_NE(status, -1) << "the game did not quit";
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
