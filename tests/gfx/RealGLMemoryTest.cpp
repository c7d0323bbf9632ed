// The same long run with the real renderer (Mesa's software GL): what the
// drawing asks of the driver must not pile up either. The driver builds
// its caches lazily over the first thousands of frames, so flatness is
// required from tick 20,000 on.

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "game/GameApp.h"
#include "objects/Random.h"
#include "tests/support/ResidentMemory.h"
#include "tests/support/ScriptedPlayer.h"

namespace {

using testing_support::ResidentBytes;

constexpr int kSettledTicks = 20000;
constexpr int kTicks = 100000;
constexpr long kAllowedGrowth = 1024 * 1024;  // bytes

TEST(RealGLMemoryTest, HundredThousandFramesKeepResidentMemoryFlat) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    GameApp app;
    app.OpenWindow(GameApp::kWindowWidth, GameApp::kWindowHeight,
                   SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    app.SetProjection(GameApp::kWindowWidth, GameApp::kWindowHeight);
    SeedRandom(42);
    app.InitGame();
    testing_support::ScriptedPlayer player(42);
    long first = -1, settled = -1, highest = -1;
    for (int tick = 1; tick <= kTicks; ++tick) {
        player.Play(app);
        app.Tick();
        if (tick == 1000) first = ResidentBytes();
        if (tick == kSettledTicks) settled = ResidentBytes();
        if (tick > kSettledTicks && tick % 1000 == 0) {
            long now = ResidentBytes();
            highest = now > highest ? now : highest;
        }
    }
    ASSERT_GT(settled, 0);
    std::printf("resident after 1000 frames: %ld KiB, after %d: %ld KiB, highest later: %ld KiB\n",
                first / 1024, kSettledTicks, settled / 1024, highest / 1024);
    EXPECT_LE(highest - settled, kAllowedGrowth);
}

}  // namespace
