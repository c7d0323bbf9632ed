// What the player is looking at: the game in play, the game-over screen, a
// watched replay, or something laid over one of them (the menus).
#pragma once

#include <SDL.h>

#include "board/BoardSender.h"
#include "input/Gamepads.h"
#include "shell/screens/MenuEvent.h"
#include "shell/settings/KeyBindings.h"

// The event loop hands each input to the screen on top, runs ticks only
// when that screen lets them, and draws every screen's texts, lowest first,
// over the game's frame. Keys that work everywhere (fullscreen, mute) and
// the window's own events never reach a screen.
class Screen {
public:
    virtual ~Screen() = default;

    virtual void KeyDown(const SDL_KeyboardEvent& key) = 0;
    virtual void KeyUp(const SDL_KeyboardEvent& key) = 0;
    // A pad's action (pause and unplugging are the loop's, except that a
    // screen laid over the game gets kPause).
    virtual void PadAction(Gamepads::Action action) = 0;
    // Any pad button pressed, the stick's pushes as the D-pad's.
    virtual void PadPress(SDL_GameControllerButton /*button*/) {}
    // The mouse, for screens that show the pointer.
    virtual void Pointer(const MenuEvent& /*event*/) {}
    // Text typed (UTF-8), for screens that ask for some.
    virtual void TextInput(const char* /*text*/) {}
    // A report of the daily board's sender; true when the screen changed.
    virtual bool HearBoard(const BoardReport& /*report*/) { return false; }

    // Laid over the game (opened) and taken away (closed or left for the
    // game); the loop redraws after either.
    virtual void Shown() {}
    virtual void Left() {}

    // Whether the game's ticks run while this screen is on top.
    virtual bool TicksRun() const { return true; }
    // Whether the frame stays as it is until something redraws it: no tick
    // will draw it again.
    virtual bool FrameIsStill() const { return !TicksRun(); }
    // Whether the keys that work everywhere (F11, M) come here instead (a
    // screen waiting for a key to bind).
    virtual bool TakesEveryKey() const { return false; }

    // Plays one tick of the game under this screen and draws its frame;
    // false when there was nothing to play and nothing was drawn.
    virtual bool Tick() { return false; }

    // Whether the game's frame can be drawn again outside a tick.
    virtual bool HasFrame() const { return true; }
    // A screen with a game of its own (a replay watched from the menu) draws
    // that game's frame instead of the player's, and hides what lies under it.
    virtual bool OwnsFrame() const { return false; }
    virtual void DrawFrame() {}
    // Draws this screen's texts over the game's frame in the back buffer.
    virtual void DrawOver() const {}

    // P or Escape, pressed rather than repeated: pause and resume.
    static bool IsPauseKey(const SDL_KeyboardEvent& key) {
        return KeyBindings::IsUnboundPauseKey(key);
    }
};
