// What is kept when a game ends: its replay, its place in the score table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "save/DataFolder.h"
#include "save/Replay.h"
#include "save/ScoreTable.h"

// The score table and the replays in one data folder. Nothing is read or
// written before the first game ends; from then on the table file is read
// again at every game over, under a lock on scores.lock beside it, so that
// the entries of another copy of the game running at the same time are kept.
class GameRecords {
public:
    static constexpr std::size_t kNewestReplaysKept = 20;

    struct Outcome {
        int rank = -1;           // the game's place in Table(), or -1
        std::string replayName;  // its replay's file name in the replays folder
        // Each a line for standard error, without the "korvessa: " prefix.
        std::vector<std::string> warnings;
    };

    explicit GameRecords(DataFolder folder);

    // Writes the game's replay, enters its score if it makes the table, saves
    // the table and deletes replays that are neither among the newest
    // kNewestReplaysKept nor in the table. A folder that cannot be written
    // costs one warning, and the game is then entered in Table() only, for
    // the game-over screen. A table file that cannot be parsed is renamed
    // with a .bad suffix (never over an earlier one) and a fresh table
    // started, with a warning.
    Outcome RecordGame(const Replay& replay, std::int64_t endedAt);

    // The table as of the last game over.
    const ScoreTable& Table() const { return table; }

    // The table as its file has it now, for showing; reads only, so a
    // damaged file is left for the next game over to set aside. No file is an
    // empty table. False with one line in `error` when it cannot be read.
    bool ReadTable(ScoreTable& read, std::string& error) const;

    const DataFolder& Folder() const { return folder; }

private:
    enum class Loaded { kTable, kNoFile, kSetAside, kUnusable };
    Loaded LoadTable(std::vector<std::string>& warnings);

    DataFolder folder;
    ScoreTable table;
};

// "20250614-201509-12450.kvr": when the game ended (UTC) and its score.
std::string ReplayFileName(std::int64_t endedAt, int score);

// The .kvr files of `replaysFolder` (ending with '/'), newest first by
// modification time.
std::vector<std::string> NewestReplays(const std::string& replaysFolder);

// Deletes the .kvr files of `replaysFolder` (ending with '/') that are neither among the
// `newestKept` newest (by modification time) nor named in `kept`. Returns
// how many it deleted; a file that cannot be deleted is left alone.
int PruneReplays(const std::string& replaysFolder, std::size_t newestKept,
                 const std::set<std::string>& kept);
