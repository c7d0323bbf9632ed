#include "objects/Random.h"

#include <cstdint>

namespace {

// A classic 15-bit linear congruential generator. Its arithmetic is fully
// defined on unsigned 32-bit integers, unlike std::rand, whose algorithm
// differs between C libraries.
constexpr std::uint32_t kMultiplier = 214013u;
constexpr std::uint32_t kIncrement = 2531011u;
constexpr int kMaxValue = 0x7FFF;

// One sequence per thread: the game runs on one thread, so it sees the one
// sequence it always has, while a server's threads replaying games side by
// side each keep their own.
thread_local std::uint32_t state = 1u;

}  // namespace

void SeedRandom(unsigned int seed) { state = static_cast<std::uint32_t>(seed); }

unsigned int RandomState() { return state; }

int NextRandom() {
    state = state * kMultiplier + kIncrement;
    return static_cast<int>((state >> 16) & kMaxValue);
}

double RandomFraction() { return NextRandom() / static_cast<double>(kMaxValue); }
