#include "shell/PadRepeat.h"

void PadRepeat::Start(SDL_GameControllerButton held) {
    Stop();
    direction = held;
    timer = SDL_AddTimer(kFirstDelayMs, Push, nullptr);
}

void PadRepeat::Stop() {
    if (timer != 0) SDL_RemoveTimer(timer);
    timer = 0;
    direction = SDL_CONTROLLER_BUTTON_INVALID;
}

Uint32 PadRepeat::Push(Uint32 /*interval*/, void* /*param*/) {
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_USEREVENT;
    event.user.code = kEventCode;
    SDL_PushEvent(&event);
    return kIntervalMs;
}
