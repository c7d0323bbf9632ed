// Small rules for reading text that people and files hand the program.
#pragma once

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

}  // namespace plain_text
