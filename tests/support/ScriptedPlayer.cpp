#include "tests/support/ScriptedPlayer.h"

#include <SDL.h>

#include "game/GameApp.h"

namespace testing_support {

namespace {

void Send(GameApp& app, Uint32 type, SDL_Keycode key) {
    SDL_Event event;
    SDL_zero(event);
    event.type = type;
    event.key.keysym.sym = key;
    app.HandleEvent(event);
}

void Tap(GameApp& app, SDL_Keycode key) {
    Send(app, SDL_KEYDOWN, key);
    Send(app, SDL_KEYUP, key);
}

}  // namespace

ScriptedPlayer::ScriptedPlayer(std::uint32_t seed) : state(seed * 2654435761u + 1) {}

int ScriptedPlayer::Below(int n) {
    // xorshift32: small, fast and fixed across platforms.
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<int>(state % static_cast<std::uint32_t>(n));
}

void ScriptedPlayer::Play(GameApp& app) {
    static const SDL_Keycode arrows[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT};
    if (Below(8) == 0) {
        SDL_Keycode arrow = arrows[Below(4)];
        Send(app, Below(2) ? SDL_KEYDOWN : SDL_KEYUP, arrow);
    }
    if (Below(4) == 0) Tap(app, SDLK_SPACE);
    if (Below(60) == 0) Tap(app, Below(2) ? SDLK_LALT : SDLK_RALT);
}

}  // namespace testing_support
