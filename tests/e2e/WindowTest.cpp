// The player's window under a real window manager: resizing, fullscreen,
// pause, minimising, focus moving away, a stalled X server, a small screen.

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "tests/e2e/XSession.h"
#include "tests/support/TemporaryFolder.h"
// After it: Xlib's macros would break gtest's names.
#include <X11/Xatom.h>

namespace {

using e2e::Screenshot;
using e2e::Sleep;

class WindowTest : public e2e::XSession {
protected:
    std::string Id() const { return std::to_string(window); }

    // A key pressed and released in the game's window, made sure to have the
    // focus first: a window manager may still be placing it.
    void Key(const std::string& name) {
        Xdo((windowManager > 0 ? "windowactivate --sync " : "windowfocus --sync ") + Id());
        Xdo("key " + name);
    }

    bool WaitForSize(int width, int height) {
        for (int tries = 0; tries < 50; ++tries) {
            int w = 0;
            int h = 0;
            WindowSize(w, h);
            if (w == width && h == height) return true;
            Sleep(100);
        }
        return false;
    }

    // The playfield drawn at (x, y, width × height) of the shot, black around it.
    static bool Letterboxed(const Screenshot& shot, int x, int y, int width, int height) {
        if (!shot.valid) return false;
        const int scaledGlyph = 16 * height / 768;
        return shot.Lit(0, 0, x - 1, shot.height - 1) == 0 &&
               shot.Lit(x + width, 0, shot.width - 1, shot.height - 1) == 0 &&
               shot.Lit(0, 0, shot.width - 1, y - 1) == 0 &&
               shot.Lit(0, y + height, shot.width - 1, shot.height - 1) == 0 &&
               // "lives 3" at the top left, "laser 2" at the top right.
               shot.Lit(x, y + height - scaledGlyph, x + 7 * scaledGlyph, y + height - 1) > 50 &&
               shot.Lit(x + width - 7 * scaledGlyph, y + height - scaledGlyph, x + width - 1,
                        y + height - 1) > 50;
    }

    bool PausedTextShown(const Screenshot& shot) { return shot.Lit(464, 528, 560, 543) > 100; }

    // Thrusts blind into the asteroids until the game ends, firing now and
    // then so as to score (a game that scores nothing keeps its replay but
    // takes no place in the table): the replay's path, or empty after `ms`.
    // A slower game fires as often per tick, not per second: more shots
    // would clear the asteroids it is meant to meet.
    std::string ThrustUntilGameOver(const std::string& data, int ms, int speedPercent = 100) {
        const int firingEveryMs = 1000 * 100 / speedPercent / 250 * 250;
        Xdo("keydown Up");
        std::string replay;
        for (int waited = 0; waited < ms && replay.empty(); waited += 250) {
            if (waited % firingEveryMs == 0) Xdo("key space");
            Sleep(250);
            replay = e2e::Output("ls " + data + "replays/*.kvr 2>/dev/null | head -n 1");
        }
        Xdo("keyup Up");
        return replay.substr(0, replay.find('\n'));
    }
};

TEST_F(WindowTest, ResizedAndFullscreenWindowsShowTheWholePlayfieldBetweenBlackBars) {
    StartXServer("1920x1080x24", true);
    StartGame();
    Xdo("windowsize --sync " + Id() + " 1600 900");
    ASSERT_TRUE(WaitForSize(1600, 900));
    // 900 / 768 of the playfield: 1200 wide, centred.
    EXPECT_TRUE(
        GrabUntil(2000, [&](const Screenshot& s) { return Letterboxed(s, 200, 0, 1200, 900); }));

    Key("F11");
    ASSERT_TRUE(WaitForSize(1920, 1080)) << "F11 did not fill the screen";
    EXPECT_TRUE(
        GrabUntil(2000, [&](const Screenshot& s) { return Letterboxed(s, 240, 0, 1440, 1080); }));

    Key("F11");
    EXPECT_TRUE(WaitForSize(1600, 900)) << "leaving fullscreen did not restore the size";
    // No smaller than the size at which every screen still reads.
    Xdo("windowsize --sync " + Id() + " 320 240");
    EXPECT_TRUE(WaitForSize(640, 480)) << "the window went below 640 x 480";
    EXPECT_EQ(Terminate(), 0);
}

TEST_F(WindowTest, PauseFreezesTheFrameAndCostsNextToNothing) {
    StartXServer("1280x1024x24", true);
    StartGame();
    Sleep(500);
    const double playing0 = e2e::CpuSeconds(game);
    Sleep(3000);
    const double playing = (e2e::CpuSeconds(game) - playing0) / 3;

    Key("p");
    Sleep(300);
    Screenshot first = Grab();
    EXPECT_TRUE(PausedTextShown(first));
    const double paused0 = e2e::CpuSeconds(game);
    Sleep(3000);
    const double paused = (e2e::CpuSeconds(game) - paused0) / 3;
    Screenshot later = Grab();
    EXPECT_TRUE(first == later) << "the frame changed while paused";
    std::printf("CPU share of one core: playing %.2f %%, paused %.2f %%\n", 100 * playing,
                100 * paused);
    EXPECT_LT(paused, 0.01);

    Key("p");
    EXPECT_TRUE(GrabUntil(1000, [&](const Screenshot& s) { return !(s == later); }))
        << "the game did not resume";

    // Minimised, the game pauses, and stays paused when shown again.
    Xdo("windowminimize --sync " + Id());
    Sleep(300);
    Xdo("windowactivate --sync " + Id());
    Sleep(300);
    Screenshot shown = Grab();
    Sleep(700);
    EXPECT_TRUE(PausedTextShown(shown));
    EXPECT_TRUE(shown == Grab()) << "the game ran on after being minimised";

    // Q quits while paused.
    Key("q");
    const int status = e2e::WaitFor(game, 5000);
    ASSERT_NE(status, -1) << "Q did not quit";
    game = 0;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(WindowTest, AltReleasedAsFocusMovesAwayFiresNoLaser) {
    StartXServer("1920x1080x24", true);
    StartGame();
    Sleep(500);  // the ship sits at the centre, heading right
    Screenshot before = Grab();

    Window other =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 1500, 800, 100, 100, 0, 0, 0);
    XMapWindow(display, other);
    XFlush(display);
    Xdo("keydown Alt_L");
    Sleep(100);
    Xdo("windowactivate --sync " + std::to_string(other));
    Sleep(300);
    Xdo("keyup Alt_L");
    Sleep(300);
    // The focus loss paused the game; a beam fired by it would be frozen in view.
    Screenshot paused = Grab();
    EXPECT_TRUE(PausedTextShown(paused));
    EXPECT_LT(paused.NewlyLit(before, 525, 382, 905, 386), 100) << "the laser fired";
    EXPECT_EQ(Terminate(), 0);
}

TEST_F(WindowTest, OnAScreenSmallerThanTheGameTheWindowFits) {
    StartXServer("800x600x24");
    StartGame();
    int width = 0;
    int height = 0;
    WindowSize(width, height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    EXPECT_TRUE(
        GrabUntil(2000, [&](const Screenshot& s) { return Letterboxed(s, 0, 0, 800, 600); }));
    EXPECT_EQ(Terminate(), 0);
}

// A screen a little too short for the window and its title bar: the window
// opens smaller, so that the frame the window manager puts around it fits.
TEST_F(WindowTest, TheWindowWithItsFrameFitsTheScreen) {
    constexpr int kGameHeight = 768;  // the window's height on a roomy screen
    constexpr int kScreenWidth = 1280;
    constexpr int kScreenHeight = 790;
    StartXServer("1280x790x24", true);
    StartGame();
    long extents[4] = {0, 0, 0, 0};  // left, right, top, bottom
    const Atom property = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    for (int tries = 0; tries < 50 && extents[2] == 0; ++tries) {
        Atom type;
        int format;
        unsigned long count, remaining;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, window, property, 0, 4, False, XA_CARDINAL, &type, &format,
                               &count, &remaining, &data) == Success &&
            data != nullptr && count == 4) {
            for (int i = 0; i < 4; ++i) extents[i] = reinterpret_cast<long*>(data)[i];
        }
        if (data != nullptr) XFree(data);
        if (extents[2] == 0) Sleep(100);
    }
    ASSERT_GT(extents[2], 0) << "the window manager gave the window no title bar";
    ASSERT_GT(kGameHeight + extents[2] + extents[3], kScreenHeight) << "the screen is not short";
    Sleep(500);  // placed and, if need be, resized
    int width = 0;
    int height = 0;
    WindowSize(width, height);
    int x = 0;
    int y = 0;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    EXPECT_GE(x - extents[0], 0);
    EXPECT_GE(y - extents[2], 0);
    EXPECT_LE(x + width + extents[1], kScreenWidth);
    EXPECT_LE(y + height + extents[3], kScreenHeight) << "the frame runs off the bottom";
    EXPECT_GT(height, kScreenHeight - 2 * (extents[2] + extents[3])) << "needlessly small";
    EXPECT_EQ(Terminate(), 0);
}

// A finished game is kept with its replay; watching the replay ends on the
// same game-over screen, and verifying it gives the same score.
TEST_F(WindowTest, FinishedGameIsKeptAndItsReplayPlaysAndVerifies) {
    const testing_support::TemporaryFolder scratch;
    const std::string folder = scratch.Bare();
    const std::string data = std::string(folder) + "/korvessa/";
    StartXServer();
    StartGame({"--seed", "5"}, {std::string("XDG_DATA_HOME=") + folder});
    Sleep(300);
    EXPECT_NE(access(data.c_str(), F_OK), 0) << "something was written before a game ended";

    const std::string path = ThrustUntilGameOver(data, 90000);
    ASSERT_FALSE(path.empty()) << "no game ended within 90 s";
    Sleep(300);
    const Screenshot played = Grab();
    ASSERT_EQ(Terminate(), 0);

    // 20250614-201509-12450.kvr: the score is in the name.
    const std::string name = path.substr(0, path.size() - 4);
    const std::string score = name.substr(name.rfind('-') + 1);
    if (score != "0") {
        const std::string table = e2e::Output("grep -v '^#' " + data + "scores.txt | sed -n 2p");
        EXPECT_EQ(table.substr(0, table.find(' ')), score) << table;
    }
    const std::string verified =
        e2e::Output(std::string(KORVESSA_BINARY) + " --verify " + path + "; echo status $?");
    EXPECT_NE(verified.find(": score " + score + ", "), std::string::npos) << verified;
    EXPECT_NE(verified.find("status 0"), std::string::npos) << verified;

    // Watched, the game runs again to the same game-over screen. Each text
    // paints its whole cells, so nothing else shows through them.
    game = 0;
    window = 0;
    StartGame({path});
    const int scoreHalfWidth = 8 * static_cast<int>(6 + score.size());
    auto sameCells = [&](const Screenshot& shot, int left, int right, int bottom) {
        for (int y = bottom; y < bottom + 16; ++y) {
            for (int x = left; x < right; ++x) {
                if ((shot.Grey(x, y) > 0) != (played.Grey(x, y) > 0)) return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(GrabUntil(90000, [&](const Screenshot& shot) {
        return sameCells(shot, 440, 584, 400) &&
               sameCells(shot, 512 - scoreHalfWidth, 512 + scoreHalfWidth, 368);
    })) << "the replay did not end on the recorded game-over screen";
    EXPECT_EQ(Terminate(), 0);

    // A damaged file is refused with one line and status 2.
    e2e::Output("printf '\\377' | dd of=" + path + " bs=1 seek=20 conv=notrunc status=none");
    const std::string refused =
        e2e::Output(std::string(KORVESSA_BINARY) + " --verify " + path + " 2>&1; echo status $?");
    EXPECT_NE(refused.find("status 2"), std::string::npos) << refused;
}

// SDL's disk driver writes what the game mixes to a file: a shot is heard,
// and once muted nothing is.
TEST_F(WindowTest, ShotIsHeardAndMuteSilencesIt) {
    const std::string mixed = "/tmp/korvessa-mixed-" + std::to_string(getpid());
    StartXServer();
    StartGame({}, {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + mixed});
    auto size = [&] { return e2e::Output("stat -c %s " + mixed + " 2>/dev/null"); };
    // Whether any byte from `from` on is not silence.
    auto heard = [&](const std::string& from) {
        return !e2e::Output("tail -c +$((" + from + " + 1)) " + mixed +
                            " | tr -d '\\000' | head -c 1")
                    .empty();
    };
    Sleep(1000);  // sound opens after the first frame
    const std::string start = size();
    ASSERT_FALSE(start.empty()) << "no mixed output";
    EXPECT_FALSE(heard("0")) << "noise before any event";
    Key("space");
    Sleep(400);
    EXPECT_TRUE(heard(start)) << "the photon was not heard";

    Key("m");
    Sleep(300);
    const std::string muted = size();
    Key("space");
    Sleep(400);
    EXPECT_FALSE(heard(muted)) << "sound while muted";
    EXPECT_EQ(Terminate(), 0);
    std::remove(mixed.c_str());
}

#ifdef KORVESSA_SWAP_COUNTER
// While the X server is stopped, tick events pile up; once it is back the
// game goes on at normal speed instead of running them all back to back.
TEST_F(WindowTest, AfterAStalledXServerTheGameGoesOnAtNormalSpeed) {
    StartXServer();
    const std::string countFile = "/tmp/korvessa-swaps-" + std::to_string(getpid());
    StartGame({}, {std::string("LD_PRELOAD=") + KORVESSA_SWAP_COUNTER,
                   "KORVESSA_SWAP_COUNT_FILE=" + countFile});
    constexpr int kStallMs = 3000;
    Sleep(1000);
    kill(server, SIGSTOP);
    Sleep(kStallMs);
    kill(server, SIGCONT);
    Sleep(1500);
    ASSERT_EQ(Terminate(), 0);

    std::ifstream counts(countFile);
    long long frames = 0;
    long long firstNs = 0;
    long long lastNs = 0;
    ASSERT_TRUE(counts >> frames >> firstNs >> lastNs);
    std::remove(countFile.c_str());
    const double playedMs = (lastNs - firstNs) / 1e6 - kStallMs;
    std::printf("%lld frames in %.0f ms of play around a %d ms stall\n", frames, playedMs,
                kStallMs);
    // Running the stall's 100 queued ticks would add 100 frames to the ~33 a
    // second of play; a second's slack is left for a slow machine.
    EXPECT_LT(frames, playedMs / 30 + 33);
    EXPECT_GT(frames, playedMs / 30 / 2) << "the game did not go on after the stall";
}

// The mean time between frames the game presented, in milliseconds, from the
// swap counter's file (which it removes).
double FrameIntervalMs(const std::string& countFile) {
    std::ifstream counts(countFile);
    long long frames = 0;
    long long firstNs = 0;
    long long lastNs = 0;
    counts >> frames >> firstNs >> lastNs;
    std::remove(countFile.c_str());
    return frames > 1 ? (lastNs - firstNs) / 1e6 / static_cast<double>(frames - 1) : 0.0;
}

// At 50 % a tick, and so a frame, comes every 60 ms instead of 30. The game's
// replay keeps that speed: it verifies, and watching it ticks at 60 ms too;
// the game-over screen and the table mark the score as made at 50 %.
TEST_F(WindowTest, HalfSpeedTicksEvery60msAndItsReplayPlaysBackAtIt) {
    const testing_support::TemporaryFolder scratch;
    const std::string folder = scratch.Bare();
    const std::string data = std::string(folder) + "/korvessa/";
    const std::string countFile = std::string(folder) + "/swaps";
    const std::vector<std::string> counted = {std::string("LD_PRELOAD=") + KORVESSA_SWAP_COUNTER,
                                              "KORVESSA_SWAP_COUNT_FILE=" + countFile};
    std::vector<std::string> environment = counted;
    environment.push_back(std::string("XDG_DATA_HOME=") + folder);
    StartXServer();
    // Thrusting from the start, this seed's game ends after about 400 ticks.
    StartGame({"--seed", "28", "--speed=50"}, environment);
    ASSERT_FALSE(ThrustUntilGameOver(data, 80000, 50).empty()) << "no game ended within 80 s";
    // "slow, at 50 % speed" under the game-over lines.
    EXPECT_TRUE(GrabUntil(2000, [](const Screenshot& shot) {
        return shot.Lit(360, 312, 663, 327) > 100;
    })) << "the game-over screen did not say the game was slow";
    ASSERT_EQ(Terminate(), 0);
    const double played = FrameIntervalMs(countFile);
    std::printf("playing at 50 %%: a frame every %.2f ms\n", played);
    EXPECT_GT(played, 58.0);
    EXPECT_LT(played, 66.0);

    const std::string entry = e2e::Output("grep -v '^#' " + data + "scores.txt | sed -n 2p");
    EXPECT_NE(entry.find(".kvr 50%"), std::string::npos) << entry;
    const std::string path = e2e::Output("ls " + data + "replays/*.kvr | head -n 1");
    const std::string replay = path.substr(0, path.find('\n'));
    const std::string verified =
        e2e::Output(std::string(KORVESSA_BINARY) + " --verify " + replay + "; echo status $?");
    EXPECT_NE(verified.find(": score " + entry.substr(0, entry.find(' ')) + ", "),
              std::string::npos)
        << verified;
    EXPECT_NE(verified.find("status 0"), std::string::npos) << verified;

    // Watched with the full speed asked for, the replay keeps its own.
    game = 0;
    window = 0;
    StartGame({"--speed=100", replay}, counted);
    Sleep(3000);
    ASSERT_EQ(Terminate(), 0);
    const double watched = FrameIntervalMs(countFile);
    std::printf("watching its replay: a frame every %.2f ms\n", watched);
    EXPECT_GT(watched, 58.0);
    EXPECT_LT(watched, 66.0);
}
#endif

}  // namespace
