// Whole games under scripted input, checking the game's invariants after
// every tick. Run under AddressSanitizer and UndefinedBehaviorSanitizer by
// the test command.

#include <cmath>

#include "tests/game/GameAppFixture.h"
#include "tests/support/ScriptedPlayer.h"

namespace {

constexpr int kTicks = 20000;

struct RunCounts {
    int gamesEnded = 0;
    int saucerLaunches = 0;
    int wavesStarted = 0;
    int ticksChecked = 0;
};

class LongRunTest : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override {
        recgl::SetRecording(false);
        SeedRandom(GetParam());
        app.InitGame();
    }
    void TearDown() override { recgl::SetRecording(true); }

    static bool Inside(const CBaseObject& object) {
        return std::fabs(object.x) <= 512 && std::fabs(object.y) <= 384;
    }

    void CheckInvariants(int scoreBefore, bool saucerLaunched) {
        int live = 0;
        for (CAsteroid* asteroid : app.asteroids) {
            ASSERT_NE(asteroid, nullptr);
            if (!asteroid->alive) continue;
            ++live;
            // An asteroid that has moved has turned: spin is never zero.
            if (asteroid->angle != 0) {
                ASSERT_TRUE(Inside(*asteroid)) << asteroid->x << ", " << asteroid->y;
            }
        }
        ASSERT_LE(live, 8);
        ASSERT_EQ(app.asteroidsLeft, live);

        int gained = app.score - scoreBefore;
        ASSERT_GE(gained, 0);
        ASSERT_EQ(gained % 25, 0) << "score grew by " << gained;
        ASSERT_GE(app.ship->GetLives(), 0);
        ASSERT_LE(app.ship->GetLives(), 3);

        if (app.ship->alive) {
            ASSERT_TRUE(Inside(*app.ship));
        }
        if (app.saucer->alive && !saucerLaunched) {
            ASSERT_TRUE(Inside(*app.saucer));
        }
        for (CPhoton* photon : app.photons) {
            if (photon != nullptr && photon->alive) {
                ASSERT_TRUE(Inside(*photon));
            }
        }
        for (CExplosion* debris : app.explosions) {
            if (debris != nullptr && debris->alive) {
                ASSERT_TRUE(Inside(*debris));
            }
        }
        ASSERT_GE(app.photonIndex, 0);
        ASSERT_LT(app.photonIndex, 6);
        ASSERT_GE(app.explosionIndex, 0);
        ASSERT_LT(app.explosionIndex, 20);
    }

    // A wave that has just been built has eight large asteroids that have
    // never moved.
    bool FreshWave() const {
        for (CAsteroid* asteroid : app.asteroids) {
            if (!asteroid->alive || asteroid->IsSmall() || asteroid->angle != 0) return false;
        }
        return true;
    }

    GameApp app;
};

TEST_P(LongRunTest, InvariantsHoldThroughWholeGames) {
    testing_support::ScriptedPlayer player(GetParam());
    RunCounts counts;
    for (int tick = 0; tick < kTicks; ++tick) {
        player.Play(app);
        const int scoreBefore = app.score;
        const bool wasRunning = app.running;
        const bool saucerWasAlive = app.saucer->alive;
        const int markBefore = app.nextSaucerScore;
        app.Tick();
        const bool saucerLaunched = app.nextSaucerScore != markBefore;
        CheckInvariants(scoreBefore, saucerLaunched);
        if (HasFatalFailure()) {
            FAIL() << "seed " << GetParam() << ", tick " << tick;
        }
        counts.gamesEnded += wasRunning && !app.running;
        counts.saucerLaunches += saucerLaunched && !saucerWasAlive;
        counts.wavesStarted += FreshWave();
        ++counts.ticksChecked;
    }
    EXPECT_EQ(counts.ticksChecked, kTicks);
    EXPECT_GT(counts.gamesEnded, 0) << "no game ended";
    EXPECT_GT(counts.saucerLaunches, 0) << "no saucer appeared";
    EXPECT_GT(counts.wavesStarted, 0) << "no wave turned over";
    RecordProperty("games", counts.gamesEnded);
    RecordProperty("saucers", counts.saucerLaunches);
    RecordProperty("waves", counts.wavesStarted);
    std::printf("seed %u: %d games ended, %d saucers, %d new waves\n", GetParam(),
                counts.gamesEnded, counts.saucerLaunches, counts.wavesStarted);
}

INSTANTIATE_TEST_SUITE_P(Seeds, LongRunTest, ::testing::Values(1u, 2u, 3u, 20261208u));

}  // namespace
