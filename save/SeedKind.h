// Where a session's seed came from, and the daily seed.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

// How the seed of a session was chosen. The values are stored in replay
// files, so they never change.
enum class SeedKind : std::uint8_t {
    kClock = 0,  // the time at start-up
    kSeed = 1,   // given on the command line
    kDaily = 2,  // today's date, the same field for everyone that day
};

// "clock", "seed" or "daily": the words of the score table.
const char* SeedKindName(SeedKind kind);

// The kind named by one of those words; nothing for any other text.
std::optional<SeedKind> SeedKindFromName(const std::string& name);

// The kind with the given stored value; nothing for an unknown one.
std::optional<SeedKind> SeedKindFromValue(unsigned value);

// The UTC date of `when` as the number YYYYMMDD, e.g. 20250614.
std::uint32_t DailySeed(std::time_t when);

// Midday UTC of the date YYYYMMDD `seed`, far from either midnight, so that
// adding whole days to it never trips over a leap second. A day or month out
// of range rolls over into the next (31 June is 1 July).
std::time_t DailyNoon(std::uint32_t seed);

// Whether `seed` is a date YYYYMMDD that DailySeed gives for some moment
// from 1970 on: a real month and day, no 31 June.
bool IsDailySeed(std::uint32_t seed);
