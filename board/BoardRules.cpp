#include "board/BoardRules.h"

#include "common/Text.h"

namespace board_rules {

namespace {

constexpr const char* kAllowed = "letters, digits and punctuation of ASCII only";

}  // namespace

std::string NameProblem(const std::string& name) {
    if (name.empty()) return "empty";
    if (plain_text::Trimmed(name, " ").empty()) return "only spaces";
    if (name.size() > kMaxNameLength) return "longer than 20 characters";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x7F) return kAllowed;
        if (byte < ' ' || byte == 0x7F) {
            return std::string("a character that is not printable (") + kAllowed + ")";
        }
    }
    if (name.front() == ' ' || name.back() == ' ') return "a space at either end";
    return "";
}

std::string TypedName(const std::string& typed) {
    std::string name = plain_text::Trimmed(typed);
    return name.empty() ? typed : name;
}

std::string TypedNameProblem(const std::string& typed) { return NameProblem(TypedName(typed)); }

std::string ReplayProblem(const Replay& replay) {
    if (replay.seedKind != SeedKind::kDaily) return "not a daily game";
    if (!replay.AtFullSpeed()) return "not at full speed";
    return "";
}

}  // namespace board_rules
