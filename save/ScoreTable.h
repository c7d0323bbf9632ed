// The ten best games, and their plain-text file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "save/GameSpeed.h"
#include "save/SeedKind.h"

struct ScoreEntry {
    int score = 0;
    std::int64_t endedAt = 0;  // seconds since 1970-01-01 UTC
    SeedKind seedKind = SeedKind::kClock;
    std::uint32_t seed = 0;
    std::string replay;             // the replay's file name in the replays folder
    int speed = game_speed::kFull;  // in per cent; a slow game is marked
};

// Best first. A score equal to one already in the table ranks below it: the
// earlier game keeps its place.
//
// The file is text a person can read, one game a line after a versioned
// first line:
//
//   korvessa scores 1
//   # score  ended (UTC)  seed kind  seed  replay
//   12450 2025-06-14T20:15:09Z daily 20250614 20250614-201509-12450.kvr
//   8800 2025-06-15T09:02:44Z clock 1749978164 20250615-090244-8800.kvr 50%
//
// A game played below full speed has a sixth field, its speed; a game at
// full speed is written as before the speed was kept, so older tables read
// as they are. Blank lines and lines starting with '#' are ignored.
class ScoreTable {
public:
    static constexpr int kCapacity = 10;
    static constexpr int kFormatVersion = 1;
    // Refused unread: ten games take well under a kilobyte.
    static constexpr std::size_t kMaxFileSize = 64 * 1024;

    // Enters a game if it makes the table and returns its rank from 0, or
    // -1 when it does not make it (the table is then unchanged). The game
    // that drops out of a full table is forgotten.
    int Enter(const ScoreEntry& entry);

    // Whether a game with this score would make the table.
    bool Qualifies(int score) const;

    const std::vector<ScoreEntry>& Entries() const { return entries; }

    // The file's text.
    std::string Format() const;

    // Reads a file's text. False, with what is wrong and on which line in
    // `error`, when it is not a valid table; `table` is then unchanged.
    static bool Parse(const std::string& text, ScoreTable& table, std::string& error);

    // The N of a first line "korvessa scores N"; 0 when the text does not
    // start with such a line.
    static int FormatVersionOf(const std::string& text);

    // "2025-06-14T20:15:09Z", and back; parsing accepts exactly that form
    // with a real date and time.
    static std::string FormatTime(std::int64_t seconds);
    static bool ParseTime(const std::string& text, std::int64_t& seconds);

private:
    std::vector<ScoreEntry> entries;
};
