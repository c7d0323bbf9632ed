// What the player is looking at: the game in play, the game-over screen, a
// watched replay, or something laid over one of them (the pause).
#pragma once

#include <SDL.h>

#include "input/Gamepads.h"

// The event loop hands each input to the screen on top, runs ticks only
// when that screen lets them, and draws every screen's texts, lowest first,
// over the game's frame. Keys that work everywhere (fullscreen, mute) and
// the window's own events never reach a screen.
class Screen {
public:
    virtual ~Screen() = default;

    virtual void KeyDown(const SDL_KeyboardEvent& key) = 0;
    virtual void KeyUp(const SDL_KeyboardEvent& key) = 0;
    // A pad's photon or laser button (pause and unplugging are the loop's).
    virtual void PadAction(Gamepads::Action action) = 0;

    // Whether the game's ticks run while this screen is on top.
    virtual bool TicksRun() const { return true; }
    // Whether the frame stays as it is until something redraws it: no tick
    // will draw it again.
    virtual bool FrameIsStill() const { return !TicksRun(); }

    // Plays one tick of the game under this screen and draws its frame;
    // false when there was nothing to play and nothing was drawn.
    virtual bool Tick() { return false; }

    // Whether the game's frame can be drawn again outside a tick.
    virtual bool HasFrame() const { return true; }
    // Draws this screen's texts over the game's frame in the back buffer.
    virtual void DrawOver() const {}

    // P or Escape, pressed rather than repeated: pause and resume.
    static bool IsPauseKey(const SDL_KeyboardEvent& key) {
        return key.repeat == 0 && (key.keysym.sym == SDLK_p || key.keysym.sym == SDLK_ESCAPE);
    }
};
