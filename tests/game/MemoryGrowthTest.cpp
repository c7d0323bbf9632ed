// A long headless run must keep the game's resident memory flat: nothing
// the game allocates may pile up tick by tick.

#include <cstdio>

#include "tests/game/GameAppFixture.h"
#include "tests/support/ResidentMemory.h"
#include "tests/support/ScriptedPlayer.h"

namespace {

using testing_support::ResidentBytes;

constexpr int kWarmUpTicks = 1000;
constexpr int kTicks = 100000;
constexpr long kAllowedGrowth = 1024 * 1024;  // bytes

TEST(MemoryGrowthTest, HundredThousandTicksKeepResidentMemoryFlat) {
    if (testing_support::kAddressSanitizer) {
        GTEST_SKIP() << "resident memory is meaningless under AddressSanitizer; the plain "
                        "build runs this test";
    }
    recgl::SetRecording(false);
    GameApp app;
    SeedRandom(42);
    app.InitGame();
    testing_support::ScriptedPlayer player(42);
    long afterWarmUp = -1, highest = -1;
    for (int tick = 1; tick <= kTicks; ++tick) {
        player.Play(app);
        app.Tick();
        if (tick == kWarmUpTicks) afterWarmUp = ResidentBytes();
        if (tick > kWarmUpTicks && tick % 1000 == 0) {
            long now = ResidentBytes();
            highest = now > highest ? now : highest;
        }
    }
    recgl::SetRecording(true);
    ASSERT_GT(afterWarmUp, 0);
    std::printf("resident after %d ticks: %ld KiB; highest later: %ld KiB\n", kWarmUpTicks,
                afterWarmUp / 1024, highest / 1024);
    EXPECT_LE(highest - afterWarmUp, kAllowedGrowth);
}

}  // namespace
