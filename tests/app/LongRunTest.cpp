// Whole games under scripted input, checking the game's invariants after
// every tick. Run under AddressSanitizer and UndefinedBehaviorSanitizer by
// the test command.

#include <cmath>
#include <cstdint>
#include <set>

#include "tests/app/GameAppFixture.h"

namespace {

constexpr int kTicks = 20000;

// The script's own generator, apart from the game's, so the input does not
// change the game's random sequence.
class Script {
public:
    explicit Script(std::uint32_t seed) : state(seed * 2654435761u + 1) {}

    int Below(int n) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<int>(state % static_cast<std::uint32_t>(n));
    }

private:
    std::uint32_t state;
};

SDL_Event Key(Uint32 type, SDL_Keycode key) {
    SDL_Event event;
    SDL_zero(event);
    event.type = type;
    event.key.keysym.sym = key;
    return event;
}

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

    // Presses and releases keys as a restless player would: arrows held for
    // a while, photons and the laser fired on release, space pressed again
    // and again on the game-over screen.
    void PlayInput(Script& script) {
        static const SDL_Keycode arrows[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT};
        if (script.Below(8) == 0) {
            SDL_Keycode arrow = arrows[script.Below(4)];
            app.HandleEvent(Key(script.Below(2) ? SDL_KEYDOWN : SDL_KEYUP, arrow));
        }
        if (script.Below(4) == 0) {
            app.HandleEvent(Key(SDL_KEYDOWN, SDLK_SPACE));
            app.HandleEvent(Key(SDL_KEYUP, SDLK_SPACE));
        }
        if (script.Below(60) == 0) {
            SDL_Keycode alt = script.Below(2) ? SDLK_LALT : SDLK_RALT;
            app.HandleEvent(Key(SDL_KEYDOWN, alt));
            app.HandleEvent(Key(SDL_KEYUP, alt));
        }
    }

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
    Script script(GetParam());
    RunCounts counts;
    for (int tick = 0; tick < kTicks; ++tick) {
        PlayInput(script);
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
