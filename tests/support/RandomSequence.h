// Test helpers for code that draws random values: tests compute what an
// object must be from the same sequence of fractions it is built from.
#pragma once

#include <functional>
#include <vector>

namespace testing_support {

// The next `count` fractions after seeding with `seed`. The generator is
// seeded again afterwards, so the code under test sees the same values.
std::vector<double> PeekFractions(unsigned seed, int count);

// The first seed from `from` on whose first `count` fractions satisfy
// `wanted`.
unsigned FindSeed(int count, const std::function<bool(const std::vector<double>&)>& wanted,
                  unsigned from = 0);

}  // namespace testing_support
