// The pads' actions and presses, handed to the screen on top.
#pragma once

#include <SDL.h>

#include "shell/loop/PadRepeat.h"

class ScreenHost;
class Gamepads;

// Start pauses (or goes to the screen laid over the game), unplugging a pad
// pauses a game, every other action goes to the screen on top; so does
// every button press, and a direction held on a menu repeats (PadRepeat).
class PadEvents {
public:
    explicit PadEvents(ScreenHost& screenHost) : host(screenHost) {}

    // Everything the pads queued since the last call; true when a button
    // was pressed (or the stick pushed).
    bool Take(Gamepads& pads);
    // A repeat event from PadRepeat's timer.
    void Repeat(Gamepads* pads, const SDL_UserEvent& event);
    // No more repeats (a menu closed).
    void StopRepeat() { repeat.Stop(); }

private:
    ScreenHost& host;
    PadRepeat repeat;
};
