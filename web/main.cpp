// The web game's entry: the page's script calls these functions, and the
// browser's animation frames drive the loop.
#include <emscripten.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "web/WebGame.h"

namespace {

std::unique_ptr<WebGame> game;

void Frame() {
    if (game == nullptr) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) game->HandleEvent(event);
    game->Frame(emscripten_get_now());
}

}  // namespace

extern "C" {

// 0 once the replay file plays; 1 with one line on the console otherwise.
EMSCRIPTEN_KEEPALIVE int korvessa_watch(const char* bytes, int length) {
    std::string error;
    if (game != nullptr &&
        game->Watch(std::string(bytes, static_cast<std::size_t>(length)), error)) {
        return 0;
    }
    std::fprintf(stderr, "korvessa: the replay cannot be played: %s\n", error.c_str());
    return 1;
}

EMSCRIPTEN_KEEPALIVE void korvessa_play(unsigned seed) {
    if (game != nullptr) game->Play(seed);
}

EMSCRIPTEN_KEEPALIVE void korvessa_pause(int paused) {
    if (game != nullptr) game->SetPaused(paused != 0);
}

EMSCRIPTEN_KEEPALIVE void korvessa_speed(int factor) {
    if (game != nullptr) game->SetSpeedFactor(factor);
}

// 0 once the drawing option holds; 1 with one line on the console otherwise.
EMSCRIPTEN_KEEPALIVE int korvessa_option(const char* name, const char* text) {
    std::string error = "the game has not started";
    if (game != nullptr && game->SetOption(name, text, error)) return 0;
    std::fprintf(stderr, "korvessa: %s\n", error.c_str());
    return 1;
}

EMSCRIPTEN_KEEPALIVE void korvessa_restart() {
    if (game != nullptr) game->Restart();
}

// 0 before a game, 1 while it runs, 2 once it is over (or fully watched).
EMSCRIPTEN_KEEPALIVE int korvessa_state() {
    return game != nullptr ? static_cast<int>(game->GameState()) : 0;
}

EMSCRIPTEN_KEEPALIVE int korvessa_score() { return game != nullptr ? game->Score() : 0; }

EMSCRIPTEN_KEEPALIVE unsigned korvessa_ticks() { return game != nullptr ? game->Ticks() : 0; }

// The finished game's replay file: its bytes, and their count in `length`.
EMSCRIPTEN_KEEPALIVE const char* korvessa_replay(int* length) {
    static const std::string none;
    const std::string& bytes = game != nullptr ? game->FinishedReplay() : none;
    *length = static_cast<int>(bytes.size());
    return bytes.data();
}

}  // extern "C"

int main() {
    try {
        game = std::make_unique<WebGame>();
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "korvessa: %s\n", error.what());
        return 1;
    }
    // Called at every animation frame; main returns and the page's script
    // tells the game what to do.
    emscripten_set_main_loop(Frame, 0, 0);
    return 0;
}
