#include "shell/loop/PadRepeat.h"

#include "game/GameApp.h"

bool PadRepeat::IsDirection(SDL_GameControllerButton button) {
    return button >= SDL_CONTROLLER_BUTTON_DPAD_UP && button <= SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
}

bool PadRepeat::StillHeld(unsigned heldBits) const {
    switch (direction) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return (heldBits & GameApp::kInputUp) != 0;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return (heldBits & GameApp::kInputDown) != 0;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return (heldBits & GameApp::kInputLeft) != 0;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return (heldBits & GameApp::kInputRight) != 0;
        default:
            return false;
    }
}

void PadRepeat::Start(SDL_GameControllerButton held) {
    Stop();
    direction = held;
    timer = SDL_AddTimer(kFirstDelayMs, Push, reinterpret_cast<void*>(generation));
}

void PadRepeat::Stop() {
    if (timer != 0) SDL_RemoveTimer(timer);
    timer = 0;
    generation += 1;
    direction = SDL_CONTROLLER_BUTTON_INVALID;
}

bool PadRepeat::IsCurrent(const SDL_UserEvent& event) const {
    return timer != 0 && event.data1 == reinterpret_cast<void*>(generation);
}

Uint32 PadRepeat::Push(Uint32 /*interval*/, void* generation) {
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_USEREVENT;
    event.user.code = kEventCode;
    event.user.data1 = generation;
    SDL_PushEvent(&event);
    return kIntervalMs;
}
