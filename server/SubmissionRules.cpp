#include "server/SubmissionRules.h"

#include "board/BoardRules.h"
#include "save/SeedKind.h"

namespace submission_rules {

namespace {

constexpr std::time_t kSecondsPerDay = 24 * 60 * 60;

}  // namespace

std::string FieldProblem(const Replay& replay, std::time_t now) {
    const std::string sent = board_rules::ReplayProblem(replay);
    if (!sent.empty()) return sent;
    const std::uint32_t today = DailySeed(now);
    if (replay.seed != today && replay.seed != DailySeed(now - kSecondsPerDay)) {
        return "not the day's field: the daily game of " + std::to_string(replay.seed) +
               ", today is " + std::to_string(today);
    }
    if (replay.startTick != 0) {
        return "not the day's field: a later game of its session";
    }
    if (replay.tickCount > kMaxTicks) return "longer than three hours of play";
    return ActionProblem(replay);
}

std::string ActionProblem(const Replay& replay) {
    // Whether the game may have changed since its last frame: after a tick
    // (the game now records no frame drawn after one until a release, but
    // earlier versions kept the first) and after a release.
    bool changed = true;
    std::uint32_t tick = 0;
    int releases = 0;
    for (const ReplayEvent& event : replay.events) {
        if (event.tick != tick) {
            tick = event.tick;
            releases = 0;
            changed = true;
        }
        if (event.action == ReplayAction::kRedraw) {
            if (!changed)
                return "a redraw the game does not record, at tick " + std::to_string(tick);
            changed = false;
        } else {
            releases += 1;
            if (releases > kMaxReleasesPerTick) {
                return "more releases than any player makes, at tick " + std::to_string(tick);
            }
            changed = true;
        }
    }
    return "";
}

bool IsDate(std::uint32_t day) { return IsDailySeed(day); }

std::uint32_t AddDays(std::uint32_t day, int days) {
    return DailySeed(DailyNoon(day) + days * kSecondsPerDay);
}

}  // namespace submission_rules
