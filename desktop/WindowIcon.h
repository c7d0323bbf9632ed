// Gives the game's window its icon, drawn at run time, so task switchers and
// title bars show it even when the game runs from its build folder.
#pragma once

#include <SDL.h>

// Sets a kWindowIconPixels-square icon on `window`. Does nothing for a null
// window; a video driver without window icons ignores it.
void SetWindowIcon(SDL_Window* window);

// Large enough for a task switcher, which scales it down as it needs.
constexpr int kWindowIconPixels = 128;
