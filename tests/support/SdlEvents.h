// SDL events made by hand as SDL would deliver them, and SDL's queue handed
// to whatever takes events.
#pragma once

#include <SDL.h>

namespace testing_support {

// A key pressed or released: `sym` at the keyboard's place `code`, a repeat
// or not, stamped `when`.
inline SDL_Event KeyEvent(Uint32 type, SDL_Keycode sym, Uint8 repeat = 0,
                          SDL_Scancode code = SDL_SCANCODE_UNKNOWN, Uint32 when = SDL_GetTicks()) {
    SDL_Event event;
    SDL_zero(event);
    event.type = type;
    event.key.keysym.sym = sym;
    event.key.keysym.scancode = code;
    event.key.repeat = repeat;
    event.key.timestamp = when;
    return event;
}

// Everything in SDL's queue after a pump, in order, to `take`.
template <typename Take>
void DeliverQueued(Take&& take) {
    SDL_Event event;
    SDL_PumpEvents();
    while (SDL_PollEvent(&event)) take(event);
}

}  // namespace testing_support
