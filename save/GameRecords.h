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
// Nothing here ever waits for that lock.
class GameRecords {
public:
    static constexpr std::size_t kNewestReplaysKept = 20;
    // How a caller finding the lock held tries again: every kRetryMs, and
    // after kGiveUpMs it calls GiveUp().
    static constexpr int kRetryMs = 100;
    static constexpr int kGiveUpMs = 3000;

    struct Outcome {
        // Another program holds the lock: nothing was done or read. Call
        // RecordGame again a little later, or GiveUp.
        bool busy = false;
        int rank = -1;  // the game's place in Table(), or -1
        // The replay, and the game's place in the table if it has one, are
        // on disk.
        bool kept = false;
        std::string replayName;  // its replay's file name in the replays folder, if kept
        // Each a line for standard error, without the "korvessa: " prefix.
        std::vector<std::string> warnings;
    };

    explicit GameRecords(DataFolder folder);

    // Tries to take the lock, without waiting; once it has it, writes the
    // game's replay, enters its score if it makes the table (a game that
    // scored 0 never does), saves the table and deletes replays that are
    // neither among the newest kNewestReplaysKept nor in the table.
    //
    // When the game cannot be kept (a folder that cannot be written, a full
    // disk) it costs one warning, and Table() is the table as it stands on
    // disk with the game placed in it, not kept. A table file that cannot be
    // parsed is renamed with a .bad suffix (never over an earlier one) and a
    // fresh table started, with a warning. A table written by a newer version
    // is left alone, with a warning, and nothing is kept from then on.
    Outcome RecordGame(const Replay& replay, std::int64_t endedAt);

    // For a caller that has found the lock held for kGiveUpMs: keeps
    // nothing, with one warning, and places the game in the table as it
    // stands on disk, read without the lock.
    Outcome GiveUp(const Replay& replay, std::int64_t endedAt);

    // What the game-over screen shows: the table as of the last game over.
    // When the file could not be read then, the table shown before, with
    // that game added.
    const ScoreTable& Table() const { return table; }

    // The table as its file has it now, for showing; reads only, so a
    // damaged file is left for the next game over to set aside. No file is an
    // empty table. False with one line in `error` when it cannot be read.
    bool ReadTable(ScoreTable& read, std::string& error) const;

    const DataFolder& Folder() const { return folder; }

private:
    enum class Loaded { kTable, kNoFile, kDamaged, kNewer, kUnusable };
    // Reads the table file into `into`; otherwise `what` says why not.
    Loaded LoadFile(ScoreTable& into, std::string& what) const;
    // Writes the replay and the table; called under the lock.
    Outcome Keep(const ScoreEntry& entry, const Replay& replay, Outcome outcome);
    // The table on disk, read without changing anything, with the game
    // placed in it.
    Outcome NotKept(const ScoreEntry& entry, Outcome outcome);
    // The game's rank in Table() once entered there, or -1.
    int Place(const ScoreEntry& entry);

    DataFolder folder;
    ScoreTable table;
    bool keepingNothing = false;  // a newer version's table was found
};

// The .kvr files of `replaysFolder` (ending with '/'), newest first by
// modification time.
std::vector<std::string> NewestReplays(const std::string& replaysFolder);

// Deletes the .kvr files of `replaysFolder` (ending with '/') that are neither among the
// `newestKept` newest (by modification time) nor named in `kept`. Returns
// how many it deleted; a file that cannot be deleted is left alone.
int PruneReplays(const std::string& replaysFolder, std::size_t newestKept,
                 const std::set<std::string>& kept);
