// What the shell's tests hand the shell: command lines and SDL events made
// by hand, as SDL would deliver them.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "game/GameApp.h"
#include "shell/Options.h"

namespace testing_support {

// Options::Parse of the given words after the program's name.
inline Options ParseLine(std::vector<std::string> words) {
    words.insert(words.begin(), "korvessa");
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(&word[0]);
    argv.push_back(nullptr);
    return Options::Parse(static_cast<int>(words.size()), argv.data());
}

inline SDL_Event KeyEvent(Uint32 type, SDL_Keycode key, Uint8 repeat = 0) {
    SDL_Event event;
    SDL_zero(event);
    event.type = type;
    event.key.keysym.sym = key;
    event.key.repeat = repeat;
    event.key.timestamp = SDL_GetTicks();
    return event;
}

// A tick of the game's timer, stamped when it was queued.
inline SDL_Event TickEvent(Uint32 timestamp) {
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_USEREVENT;
    event.user.code = GameApp::kTickEventCode;
    event.user.timestamp = timestamp;
    return event;
}

inline SDL_Event WindowEvent(Uint8 what) {
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_WINDOWEVENT;
    event.window.event = what;
    return event;
}

}  // namespace testing_support
