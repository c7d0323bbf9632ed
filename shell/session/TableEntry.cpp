#include "shell/session/TableEntry.h"

#include <utility>

void TableEntry::Begin(GameRecords& into, Replay finished, std::int64_t ended, Uint32 now) {
    GiveUp();
    records = &into;
    replay = std::move(finished);
    endedAt = ended;
    began = now;
    outcome.reset();
    Try(now);
}

void TableEntry::Retry(Uint32 now) {
    if (records != nullptr && SDL_TICKS_PASSED(now, lastTry + GameRecords::kRetryMs)) Try(now);
}

void TableEntry::GiveUp() {
    if (records == nullptr) return;
    outcome = records->GiveUp(replay, endedAt);
    records = nullptr;
}

void TableEntry::Try(Uint32 now) {
    lastTry = now;
    GameRecords::Outcome tried = records->RecordGame(replay, endedAt);
    if (tried.busy && SDL_TICKS_PASSED(now, began + GameRecords::kGiveUpMs)) {
        tried = records->GiveUp(replay, endedAt);
    }
    if (tried.busy) return;
    outcome = std::move(tried);
    records = nullptr;
}

std::optional<GameRecords::Outcome> TableEntry::TakeOutcome() { return std::exchange(outcome, {}); }
