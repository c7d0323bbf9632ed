// What the shell's tests hand the shell: command lines, SDL events made by
// hand as SDL would deliver them, and virtual pads.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "game/GameApp.h"
#include "shell/Options.h"
#include "tests/support/SdlEvents.h"

namespace testing_support {

// Options::Parse of the given words after the program's name.
inline Options ParseLine(std::vector<std::string> words) {
    words.insert(words.begin(), "korvessa");
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(&word[0]);
    argv.push_back(nullptr);
    return Options::Parse(static_cast<int>(words.size()), argv.data());
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

// Plugs in one of SDL's virtual joysticks as a game controller, which SDL
// maps by itself (A is button 0). Its device index, or -1 with SDL's error.
inline int AttachVirtualPad(const char* name) {
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
    desc.name = name;
    return SDL_JoystickAttachVirtualEx(&desc);
}

}  // namespace testing_support
