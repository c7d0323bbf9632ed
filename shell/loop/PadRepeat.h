// A pad direction held in a menu moves again and again.
#pragma once

#include <SDL.h>

#include <cstdint>

// While a D-pad direction (or the stick) is held on a menu, a timer pushes
// repeat events (SDL_USEREVENT, code kEventCode) after a first delay and
// then at a steady rate; the loop hands each one on while the direction is
// still held and calls Stop() once it is not. No timer runs otherwise, so a
// menu left alone costs nothing.
class PadRepeat {
public:
    static constexpr int kEventCode = 3;  // beside the tick (1) and the board (2)
    static constexpr Uint32 kFirstDelayMs = 400;
    static constexpr Uint32 kIntervalMs = 120;

    ~PadRepeat() { Stop(); }

    // The D-pad's four buttons (a pushed stick comes as one of them).
    static bool IsDirection(SDL_GameControllerButton button);

    void Start(SDL_GameControllerButton direction);
    void Stop();
    // Whether a repeat event comes from the timer now running: one pushed
    // by an earlier timer just before it was stopped moves nothing.
    bool IsCurrent(const SDL_UserEvent& event) const;
    SDL_GameControllerButton Direction() const { return direction; }
    // Whether the pads' held GameApp input bits still hold the direction.
    bool StillHeld(unsigned heldBits) const;

private:
    static Uint32 Push(Uint32 interval, void* param);

    SDL_TimerID timer = 0;
    std::uintptr_t generation = 0;  // of the timer, carried in its events
    SDL_GameControllerButton direction = SDL_CONTROLLER_BUTTON_INVALID;
};
