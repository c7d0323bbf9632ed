// Daily replays made the way the game makes them, for the score server's
// tests and benchmark: the board takes only today's, so they are made when
// needed rather than kept.
#pragma once

#include <cstdint>

#include "save/Replay.h"

namespace testing_support {

// The replay of the first game of a daily session of `day` (YYYYMMDD),
// played by a RecordedSession's script from `scriptSeed` until that game
// ends. Needs a GL (a current context, or one that draws nothing) and the
// font. A script that has not lost its ships after about an hour of play
// gives a replay with no ticks (invalid), which no seed tried so far does.
Replay RecordDailyGame(std::uint32_t day, std::uint32_t scriptSeed);

}  // namespace testing_support
