// The web build's atan must return this machine's libm bits for every
// double, or a saucer's heading, and with it a replay, parts in the last bit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

#include "FusedAtan.h"

namespace {

std::uint64_t Bits(double x) {
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}

// glibc picks its atan by the CPU; the web build copies the FMA one.
bool LibmUsesItsFmaAtan() {
    return __builtin_cpu_supports("fma") && __builtin_cpu_supports("avx2");
}

TEST(FusedAtanTest, ReturnsLibmsBitsForEveryKindOfDouble) {
    if (!LibmUsesItsFmaAtan())
        GTEST_SKIP() << "this CPU's libm takes another atan than the FMA one";
    std::mt19937_64 random(20261209);
    std::uniform_int_distribution<int> exponent(-30, 55);
    std::uniform_int_distribution<int> coordinate(-1024, 1024);
    int differing = 0;
    for (int k = 0; k < 6'000'000; ++k) {
        double x;
        switch (k % 3) {
            case 0: {  // any bit pattern: NaNs, infinities, subnormals
                const std::uint64_t bits = random();
                std::memcpy(&x, &bits, sizeof x);
                break;
            }
            case 1:  // every branch, from below 1e-8 to past 5.8e15
                x = std::ldexp(1.0 + static_cast<double>(random() >> 11) * 0x1p-53,
                               exponent(random));
                break;
            default:  // what the saucer asks: |dy / dx| between two places on the field
                x = std::fabs((coordinate(random) + 0.25) / (coordinate(random) + 0.5));
                break;
        }
        const double expected = std::atan(x);
        const double got = fused_atan::Atan(x);
        if (std::isnan(expected) && std::isnan(got)) continue;
        if (Bits(expected) != Bits(got) && ++differing <= 5) {
            ADD_FAILURE() << std::hexfloat << "atan(" << x << "): libm " << expected << ", ours "
                          << got;
        }
    }
    EXPECT_EQ(differing, 0);
}

}  // namespace
