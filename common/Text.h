// Small rules for reading text that people and files hand the program.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace plain_text {

// Spaces, tabs and the carriage return a file edited elsewhere may end its
// lines with.
inline constexpr std::string_view kBlanks = " \t\r";

// `text` without any of `blanks` at either end.
std::string Trimmed(std::string_view text, std::string_view blanks = kBlanks);

// A whole decimal number from 0 to `max`, nothing else: no sign, no spaces,
// no other characters. False, leaving `value` alone, for anything else.
bool ParseWhole(std::string_view text, unsigned long long max, unsigned long long& value);

// How much of a value from a file or the command line a message repeats.
inline constexpr std::size_t kEchoLength = 40;

// `text` as a message may repeat it: whole when it is at most `length`
// characters, else its first `length` followed by "...", so that a damaged
// or hostile value cannot make a warning line of any length.
std::string Echoed(std::string_view text, std::size_t length = kEchoLength);

}  // namespace plain_text
