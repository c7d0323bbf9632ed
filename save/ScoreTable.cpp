#include "save/ScoreTable.h"

#include <climits>
#include <cstdio>
#include <ctime>
#include <sstream>

#include "common/Text.h"

namespace {

constexpr const char* kHeader = "korvessa scores";
constexpr const char* kColumns = "# score  ended (UTC)  seed kind  seed  replay  [speed if slow]";
constexpr char kPercent = '%';
constexpr int kTimeTextLength = 20;         // 2025-06-14T20:15:09Z
constexpr std::size_t kLongestNumber = 19;  // digits, leading zeros too

// A decimal number from 0 to `max`, digits only.
bool ParseNumber(const std::string& text, unsigned long long max, unsigned long long& value) {
    return text.size() <= kLongestNumber && plain_text::ParseWhole(text, max, value);
}

// A file name the replays folder could hold: no path, no spaces, no hidden
// or temporary file.
bool IsReplayName(const std::string& name) {
    if (name.empty() || name.size() > 255 || name[0] == '.') return false;
    for (char c : name) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                             (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        if (!allowed) return false;
    }
    return true;
}

// "50%": a speed below full, as a slow game's sixth field.
bool ParseSlowSpeed(const std::string& text, int& speed) {
    unsigned long long number = 0;
    if (text.size() < 2 || text.back() != kPercent ||
        !ParseNumber(text.substr(0, text.size() - 1), game_speed::kFull, number)) {
        return false;
    }
    speed = static_cast<int>(number);
    return speed != game_speed::kFull && game_speed::IsChoice(speed);
}

bool ParseEntry(const std::string& line, ScoreEntry& entry, std::string& what) {
    std::istringstream fields(line);
    std::string score, time, kind, seed, replay, speed, extra;
    if (!(fields >> score >> time >> kind >> seed >> replay) || (fields >> speed >> extra)) {
        what = "expected five fields: score, time, seed kind, seed, replay (and a speed, if slow)";
        return false;
    }
    unsigned long long number = 0;
    if (!ParseNumber(score, INT_MAX, number)) {
        what = "bad score '" + plain_text::Echoed(score) + "'";
        return false;
    }
    entry.score = static_cast<int>(number);
    if (!ScoreTable::ParseTime(time, entry.endedAt)) {
        what = "bad time '" + plain_text::Echoed(time) + "'";
        return false;
    }
    const std::optional<SeedKind> seedKind = SeedKindFromName(kind);
    if (!seedKind) {
        what = "bad seed kind '" + plain_text::Echoed(kind) + "'";
        return false;
    }
    entry.seedKind = *seedKind;
    if (!ParseNumber(seed, UINT32_MAX, number)) {
        what = "bad seed '" + plain_text::Echoed(seed) + "'";
        return false;
    }
    entry.seed = static_cast<std::uint32_t>(number);
    if (!IsReplayName(replay)) {
        what = "bad replay file name '" + plain_text::Echoed(replay) + "'";
        return false;
    }
    entry.replay = replay;
    if (!speed.empty() && !ParseSlowSpeed(speed, entry.speed)) {
        what = "bad speed '" + plain_text::Echoed(speed) + "'";
        return false;
    }
    return true;
}

bool IsIgnored(const std::string& line) {
    return line.find_first_not_of(" \t\r") == std::string::npos || line[0] == '#';
}

}  // namespace

int ScoreTable::Enter(const ScoreEntry& entry) {
    // Below every equal score: the first place holding a lower one.
    std::size_t rank = 0;
    while (rank < entries.size() && entries[rank].score >= entry.score) ++rank;
    if (rank >= static_cast<std::size_t>(kCapacity)) return -1;
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(rank), entry);
    if (entries.size() > static_cast<std::size_t>(kCapacity)) entries.pop_back();
    return static_cast<int>(rank);
}

bool ScoreTable::Qualifies(int score) const {
    return entries.size() < static_cast<std::size_t>(kCapacity) || score > entries.back().score;
}

std::string ScoreTable::Format() const {
    std::ostringstream text;
    text << kHeader << ' ' << kFormatVersion << '\n' << kColumns << '\n';
    for (const ScoreEntry& entry : entries) {
        text << entry.score << ' ' << FormatTime(entry.endedAt) << ' '
             << SeedKindName(entry.seedKind) << ' ' << entry.seed << ' ' << entry.replay;
        if (entry.speed != game_speed::kFull) text << ' ' << entry.speed << kPercent;
        text << '\n';
    }
    return text.str();
}

bool ScoreTable::Parse(const std::string& text, ScoreTable& table, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    const std::string header = std::string(kHeader) + ' ' + std::to_string(kFormatVersion);
    if (!std::getline(lines, line) || line != header) {
        error = "line 1: expected '" + header + "'";
        return false;
    }
    ScoreTable parsed;
    for (int number = 2; std::getline(lines, line); ++number) {
        if (IsIgnored(line)) continue;
        ScoreEntry entry;
        std::string what;
        if (!ParseEntry(line, entry, what)) {
            error = "line " + std::to_string(number) + ": " + what;
            return false;
        }
        if (parsed.entries.size() == static_cast<std::size_t>(kCapacity)) {
            error = "line " + std::to_string(number) + ": more than " + std::to_string(kCapacity) +
                    " games";
            return false;
        }
        if (!parsed.entries.empty() && parsed.entries.back().score < entry.score) {
            error = "line " + std::to_string(number) + ": scores out of order";
            return false;
        }
        parsed.entries.push_back(entry);
    }
    table = parsed;
    return true;
}

int ScoreTable::FormatVersionOf(const std::string& text) {
    const std::string prefix = std::string(kHeader) + ' ';
    const std::string first = text.substr(0, text.find('\n'));
    unsigned long long version = 0;
    if (first.compare(0, prefix.size(), prefix) != 0 ||
        !ParseNumber(first.substr(prefix.size()), INT_MAX, version)) {
        return 0;
    }
    return static_cast<int>(version);
}

std::string ScoreTable::FormatTime(std::int64_t seconds) {
    const std::time_t when = static_cast<std::time_t>(seconds);
    std::tm utc{};
    gmtime_r(&when, &utc);
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

bool ScoreTable::ParseTime(const std::string& text, std::int64_t& seconds) {
    // Fixed positions: digits everywhere but the separators.
    static const char kPattern[] = "dddd-dd-ddTdd:dd:ddZ";
    if (text.size() != static_cast<std::size_t>(kTimeTextLength)) return false;
    for (int i = 0; i < kTimeTextLength; ++i) {
        const char want = kPattern[i];
        const char c = text[static_cast<std::size_t>(i)];
        if (want == 'd' ? (c < '0' || c > '9') : c != want) return false;
    }
    std::tm utc{};
    utc.tm_year = std::stoi(text.substr(0, 4)) - 1900;
    utc.tm_mon = std::stoi(text.substr(5, 2)) - 1;
    utc.tm_mday = std::stoi(text.substr(8, 2));
    utc.tm_hour = std::stoi(text.substr(11, 2));
    utc.tm_min = std::stoi(text.substr(14, 2));
    utc.tm_sec = std::stoi(text.substr(17, 2));
    const std::time_t when = timegm(&utc);
    // timegm normalises 31 June to 1 July; a real date comes back unchanged.
    if (when == static_cast<std::time_t>(-1) || FormatTime(when) != text) return false;
    seconds = static_cast<std::int64_t>(when);
    return true;
}
