#include "save/ReplayName.h"

#include <cstdio>

#include "save/ReplayFile.h"
#include "save/ScoreTable.h"

namespace {

constexpr std::size_t kStampLength = 15;  // 20250614-201509
constexpr int kLastMonth = 12;

}  // namespace

std::string ReplayName::Format(std::int64_t endedAt, int score) {
    // 2025-06-14T20:15:09Z -> 20250614-201509
    std::string stamp;
    for (char c : ScoreTable::FormatTime(endedAt)) {
        if (c >= '0' && c <= '9') stamp += c;
        if (c == 'T') stamp += '-';
    }
    return stamp + "-" + std::to_string(score) + replay_file::kExtension;
}

bool ReplayName::Parse(const std::string& name, ReplayName& read) {
    ReplayName parsed;
    char score[16];
    if (name.size() <= kStampLength ||
        std::sscanf(name.c_str(), "%4u%2u%2u-%2u%2u%2u-%15[0-9]", &parsed.year, &parsed.month,
                    &parsed.day, &parsed.hour, &parsed.minute, &parsed.second, score) != 7 ||
        parsed.month < 1 || parsed.month > kLastMonth) {
        return false;
    }
    parsed.score = score;
    read = parsed;
    return true;
}
