#include "tests/support/DailyReplay.h"

#include <cstdint>
#include <memory>

#include "game/GameApp.h"
#include "tests/support/RecordedSession.h"

namespace testing_support {

namespace {

constexpr int kMaxTicks = 120000;

}  // namespace

Replay RecordDailyGame(std::uint32_t day, std::uint32_t scriptSeed) {
    auto app = std::make_unique<GameApp>();
    RecordedSession session(*app, day, scriptSeed, SeedKind::kDaily);
    for (int tick = 0; tick < kMaxTicks; ++tick) {
        if (session.Tick()) return session.recorder.FinishGame(app->score);
    }
    return Replay{};
}

Replay CostliestDailyFile(std::uint32_t day, std::size_t maxBytes, std::uint32_t ticks,
                          int releasesPerTick) {
    // Magic, versions, seed, start, score, ticks, one input run, the action
    // count, the checksum; then one byte for each action.
    constexpr std::size_t kOverhead = 64;
    Replay replay;
    replay.formatVersion = 1;
    replay.gameVersion = KORVESSA_VERSION;
    replay.seed = day;
    replay.seedKind = SeedKind::kDaily;
    // Past any score reached, so the verifier cannot stop at the first tick
    // that overtakes it.
    replay.score = INT32_MAX;
    replay.tickCount = ticks;
    replay.inputs.push_back(InputRun{0, ticks});
    const std::size_t actions = maxBytes - kOverhead;
    for (std::uint32_t tick = 0; tick < ticks && replay.events.size() < actions; ++tick) {
        for (int i = 0; i < releasesPerTick && replay.events.size() + 2 <= actions; ++i) {
            const ReplayAction release = i % 2 == 0 ? ReplayAction::kSpace : ReplayAction::kAlt;
            replay.events.push_back(ReplayEvent{tick, release});
            replay.events.push_back(ReplayEvent{tick, ReplayAction::kRedraw});
        }
    }
    return replay;
}

}  // namespace testing_support
