// A finished game on its way into the score table, without ever waiting.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>

#include "save/GameRecords.h"
#include "save/Replay.h"

// The table's lock is only ever tried: while another program holds it, the
// game is tried again every GameRecords::kRetryMs, each time Retry() is
// called (the shell calls it every tick), and given up after
// GameRecords::kGiveUpMs, when it is shown in the table on disk, not kept.
class TableEntry {
public:
    // Starts entering a game that ended at `endedAt` (seconds since 1970)
    // and tries once. `now` is SDL's tick count. Take the outcome of the
    // game before first: one still waiting is given up unseen.
    void Begin(GameRecords& records, Replay replay, std::int64_t endedAt, Uint32 now);
    // Tries again when it is due.
    void Retry(Uint32 now);
    // Gives up at once on a game still waiting; its outcome is then ready.
    void GiveUp();
    // The outcome, once, when the game is in; nothing while it waits.
    std::optional<GameRecords::Outcome> TakeOutcome();

private:
    void Try(Uint32 now);

    GameRecords* records = nullptr;  // while waiting
    Replay replay;
    std::int64_t endedAt = 0;
    Uint32 began = 0;
    Uint32 lastTry = 0;
    std::optional<GameRecords::Outcome> outcome;
};
