// What a player does in a menu, from whichever device.
#pragma once

#include <SDL.h>

#include <optional>

// The keyboard, a pad and the mouse all become these, so a menu handles
// each kind of event once:
//   keyboard  arrows move; Enter or Space choose; Escape or Backspace go back
//   pad       D-pad or left stick move; A chooses; B goes back; Start resumes
//   mouse     the pointer highlights; a click chooses; the wheel changes
struct MenuEvent {
    enum class Kind { kUp, kDown, kLeft, kRight, kChoose, kBack, kResume, kPoint, kClick, kWheel };

    Kind kind = Kind::kChoose;
    // kPoint and kClick: where, in playfield units from the lower left.
    int x = 0;
    int y = 0;
    // kWheel: up (+) or down (-), in notches.
    int steps = 0;

    // Arrows (their repeats too), Enter, Space, Escape and Backspace; the
    // pause key is the caller's to check.
    static std::optional<MenuEvent> FromKey(const SDL_KeyboardEvent& key);
    // The D-pad (or the stick pushed), A and B.
    static std::optional<MenuEvent> FromPadPress(SDL_GameControllerButton button);
    // Mouse motion, a left click or the wheel; `x`, `y` already in playfield
    // units.
    static std::optional<MenuEvent> FromMouse(const SDL_Event& event, int x, int y);
};
