#include "save/SeedKind.h"

namespace {

constexpr const char* kNames[] = {"clock", "seed", "daily"};
constexpr unsigned kKinds = sizeof kNames / sizeof kNames[0];
// The first day DailySeed gives, and the last with a year of four digits:
// a larger number would overflow the year's arithmetic before it is refused.
constexpr std::uint32_t kFirstDailySeed = 19700101;
constexpr std::uint32_t kLastDailySeed = 99991231;

}  // namespace

const char* SeedKindName(SeedKind kind) { return kNames[static_cast<unsigned>(kind)]; }

std::optional<SeedKind> SeedKindFromName(const std::string& name) {
    for (unsigned value = 0; value < kKinds; ++value) {
        if (name == kNames[value]) return static_cast<SeedKind>(value);
    }
    return std::nullopt;
}

std::optional<SeedKind> SeedKindFromValue(unsigned value) {
    if (value >= kKinds) return std::nullopt;
    return static_cast<SeedKind>(value);
}

std::uint32_t DailySeed(std::time_t when) {
    std::tm utc{};
    gmtime_r(&when, &utc);
    return static_cast<std::uint32_t>((utc.tm_year + 1900) * 10000 + (utc.tm_mon + 1) * 100 +
                                      utc.tm_mday);
}

std::time_t DailyNoon(std::uint32_t seed) {
    std::tm date{};
    date.tm_year = static_cast<int>(seed / 10000) - 1900;
    date.tm_mon = static_cast<int>(seed / 100 % 100) - 1;
    date.tm_mday = static_cast<int>(seed % 100);
    date.tm_hour = 12;
    return timegm(&date);
}

bool IsDailySeed(std::uint32_t seed) {
    if (seed < kFirstDailySeed || seed > kLastDailySeed) return false;
    // A real date comes back unchanged; 31 June comes back as 1 July.
    const std::time_t when = DailyNoon(seed);
    return when != static_cast<std::time_t>(-1) && DailySeed(when) == seed;
}
