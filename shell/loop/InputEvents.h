// The player's input and the window's own events, each handed on to what
// takes it.
#pragma once

#include <SDL.h>

#include "shell/loop/GlobalKeys.h"
#include "shell/loop/MouseEvents.h"
#include "shell/loop/PadEvents.h"
#include "shell/loop/WindowEvents.h"

class GameWindow;
class PlayerSession;
class ScreenHost;

// Keys go to the screen on top unless they work everywhere (F11, M); pads
// through PadEvents, their held buttons combined with the keys' into the
// game's input; the mouse to the menus; focus, size and exposure to
// WindowEvents.
class InputEvents {
public:
    InputEvents(ScreenHost& host, GameWindow* window, PlayerSession& session);

    // True when `event` was input or the window's and was taken.
    bool Take(const SDL_Event& event);
    // No more pad repeats (a menu closed).
    void StopRepeat() { pads.StopRepeat(); }
    // Whether the last key or button pressed was a pad's.
    bool PadLastUsed() const { return padLastUsed; }

private:
    // A press on the keyboard or a pad; a still screen is drawn again when
    // its hints change device.
    void Pressed(bool onPad);

    ScreenHost& host;
    PlayerSession& session;
    PadEvents pads;
    MouseEvents mouse;
    GlobalKeys globalKeys;
    WindowEvents windowEvents;
    bool padLastUsed = false;
};
