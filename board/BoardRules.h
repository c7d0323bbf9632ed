// What the game sends to the daily board, and under which names.
#pragma once

#include <string>

#include "save/Replay.h"

namespace board_rules {

constexpr std::size_t kMaxNameLength = 20;

// Empty when `name` is 1 to 20 printable ASCII characters (space to tilde),
// neither starting nor ending with a space, as the board takes them;
// otherwise what is wrong, in a few words. A name of spaces alone would show
// as a blank on the board.
std::string NameProblem(const std::string& name);

// A name as typed (in the menu, on the command line, in the settings file)
// without the blanks at its ends, which the player cannot see; one of blanks
// alone is left as it is, for NameProblem to say so.
std::string TypedName(const std::string& typed);
// NameProblem of TypedName(typed): what is wrong with a name as typed.
std::string TypedNameProblem(const std::string& typed);

// Empty when a finished game's replay goes to the board: only daily games
// played at full speed do. Otherwise why not, in a few words.
std::string ReplayProblem(const Replay& replay);

}  // namespace board_rules
