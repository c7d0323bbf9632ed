#include "tests/support/DailyReplay.h"

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

}  // namespace testing_support
