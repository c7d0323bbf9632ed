#include "save/Replay.h"

#include "save/GameSpeed.h"

namespace {

bool IsPrintable(const std::string& text) {
    for (char c : text) {
        if (c < ' ' || c > '~') return false;
    }
    return true;
}

std::string CheckInputs(const Replay& replay) {
    std::uint64_t ticks = 0;
    for (const InputRun& run : replay.inputs) {
        if (run.length == 0) return "an input run of no ticks";
        if (run.bits > Replay::kAllInputBits) return "unknown input bits";
        ticks += run.length;
    }
    if (ticks != replay.tickCount) return "the inputs do not cover the ticks";
    return "";
}

std::string CheckEvents(const Replay& replay) {
    std::uint32_t previous = 0;
    for (const ReplayEvent& event : replay.events) {
        if (event.action > ReplayAction::kRedraw) return "an unknown action";
        if (event.tick < previous) return "actions out of order";
        if (event.tick >= replay.tickCount) return "an action after the last tick";
        previous = event.tick;
    }
    return "";
}

}  // namespace

bool Replay::AtFullSpeed() const { return speed == game_speed::kFull; }

std::string Replay::Problem() const {
    if (formatVersion == 0 || formatVersion > kFormatVersion) return "unknown format version";
    if (gameVersion.empty() || gameVersion.size() > kMaxGameVersionLength ||
        !IsPrintable(gameVersion)) {
        return "a bad game version";
    }
    if (!SeedKindFromValue(static_cast<unsigned>(seedKind))) return "an unknown seed kind";
    if (tickCount == 0) return "no ticks";
    if (tickCount > kMaxTicks) return "too many ticks";
    if (startTick >= tickCount) return "the game starts after the last tick";
    if (score < 0) return "a negative score";
    if (!game_speed::IsChoice(speed)) return "an unknown speed";
    if (formatVersion < kFirstVersionWithSpeed && !AtFullSpeed()) {
        return "a speed its format version cannot hold";
    }
    std::string problem = CheckInputs(*this);
    if (problem.empty()) problem = CheckEvents(*this);
    return problem;
}
