#include "save/SeedKind.h"

namespace {

constexpr const char* kNames[] = {"clock", "seed", "daily"};
constexpr unsigned kKinds = sizeof kNames / sizeof kNames[0];

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

bool IsDailySeed(std::uint32_t seed) {
    std::tm date{};
    date.tm_year = static_cast<int>(seed / 10000) - 1900;
    date.tm_mon = static_cast<int>(seed / 100 % 100) - 1;
    date.tm_mday = static_cast<int>(seed % 100);
    date.tm_hour = 12;  // midday: clear of any edge of the day
    // timegm turns 31 June into 1 July; a real date comes back unchanged.
    const std::time_t when = timegm(&date);
    return date.tm_year >= 70 && when != static_cast<std::time_t>(-1) && DailySeed(when) == seed;
}
