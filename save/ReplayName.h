// A kept replay's file name: when its game ended and its score.
#pragma once

#include <cstdint>
#include <string>

// "20250614-201509-12450.kvr": the UTC time the game ended and its score.
// A name already taken gets a number before the extension; a name read back
// keeps the time and the score and ignores the rest.
class ReplayName {
public:
    static std::string Format(std::int64_t endedAt, int score);
    // False, leaving `read` as it was, for a name Format() did not make.
    static bool Parse(const std::string& name, ReplayName& read);

    unsigned year = 0, month = 0, day = 0;  // month 1 to 12
    unsigned hour = 0, minute = 0, second = 0;
    std::string score;  // its digits
};
