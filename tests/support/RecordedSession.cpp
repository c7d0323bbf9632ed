#include "tests/support/RecordedSession.h"

#include <SDL.h>

#include "game/GameApp.h"
#include "objects/Random.h"

namespace testing_support {

RecordedSession::RecordedSession(GameApp& game, std::uint32_t seed, std::uint32_t scriptSeed,
                                 SeedKind kind)
    : app(game), state(scriptSeed * 2654435761u + 1) {
    SeedRandom(seed);
    app.InitGame();
    recorder.BeginSession(seed, kind);
}

int RecordedSession::Below(int n) {
    // xorshift32, apart from the game's generator.
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<int>(state % static_cast<std::uint32_t>(n));
}

void RecordedSession::Release(int key) {
    recorder.OnAction(key == SDLK_SPACE ? ReplayAction::kSpace : ReplayAction::kAlt);
    const bool wasRunning = app.running;
    app.HandleKeyUp(key);
    if (!wasRunning && app.running) recorder.OnNewGame();
}

bool RecordedSession::Tick() {
    // Arrows held for a while; photons often, the laser now and then (by
    // either Alt key); a frame drawn again between ticks once in a while, as
    // a paused window is.
    static const SDL_Keycode arrows[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT};
    if (Below(8) == 0) {
        const SDL_Keycode arrow = arrows[Below(4)];
        if (Below(2) != 0) {
            app.HandleKeyDown(arrow);
        } else {
            app.HandleKeyUp(arrow);
        }
    }
    if (Below(4) == 0) Release(SDLK_SPACE);
    if (Below(60) == 0) Release(Below(2) != 0 ? SDLK_LALT : SDLK_RALT);
    if (Below(150) == 0) {
        app.DrawFrame();
        recorder.OnAction(ReplayAction::kRedraw);
    }
    const bool wasRunning = app.running;
    recorder.OnTick(app.input);
    app.UpdateGame();
    app.DrawFrame();
    return wasRunning && !app.running;
}

}  // namespace testing_support
