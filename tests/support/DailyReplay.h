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

// The file of `day` that costs a verifier the most of all the board takes
// at a POST: within `maxBytes` (the board's 1 MB), three hours of ticks,
// and from tick 0 on as many Space and Alt releases as a tick may carry,
// each followed by a redraw, until the bytes run out. Format version 1, whose
// header is a byte shorter. No script steers it: its game ends long before
// its last tick.
Replay CostliestDailyFile(std::uint32_t day, std::size_t maxBytes, std::uint32_t ticks,
                          int releasesPerTick);

}  // namespace testing_support
