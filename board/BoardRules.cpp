#include "board/BoardRules.h"

namespace board_rules {

std::string NameProblem(const std::string& name) {
    if (name.empty()) return "empty";
    if (name.size() > kMaxNameLength) return "longer than 20 characters";
    for (const char c : name) {
        if (c < ' ' || c > '~') return "a character that is not printable";
    }
    return "";
}

std::string ReplayProblem(const Replay& replay) {
    if (replay.seedKind != SeedKind::kDaily) return "not a daily game";
    if (!replay.AtFullSpeed()) return "not at full speed";
    return "";
}

}  // namespace board_rules
