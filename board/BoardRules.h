// What the game sends to the daily board, and under which names.
#pragma once

#include <string>

#include "save/Replay.h"

namespace board_rules {

constexpr std::size_t kMaxNameLength = 20;

// Empty when `name` is 1 to 20 printable ASCII characters (space to tilde),
// as the board takes them; otherwise what is wrong, in a few words.
std::string NameProblem(const std::string& name);

// Empty when a finished game's replay goes to the board: only daily games
// played at full speed do. Otherwise why not, in a few words.
std::string ReplayProblem(const Replay& replay);

}  // namespace board_rules
