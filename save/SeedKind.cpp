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
