// How fast a game runs: the time between its ticks, never what a tick does.
#pragma once

#include <SDL.h>

namespace game_speed {

// In per cent of the normal pace.
constexpr int kFull = 100;
// The speeds a player can choose, fastest first.
constexpr int kChoices[] = {100, 80, 65, 50};

bool IsChoice(int percent);

// The milliseconds between two ticks at a speed that IsChoice(): the game's
// own 30 at 100 %, 60 at 50 %, rounded to the nearest whole millisecond in
// between (38 at 80 %, 46 at 65 %), as SDL's timer takes them.
Uint32 TickInterval(int percent);

}  // namespace game_speed
