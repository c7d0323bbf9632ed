#include "tests/support/RandomSequence.h"

#include <stdexcept>

#include "objects/Random.h"

namespace testing_support {

std::vector<double> PeekFractions(unsigned seed, int count) {
    SeedRandom(seed);
    std::vector<double> fractions;
    for (int i = 0; i < count; ++i) fractions.push_back(RandomFraction());
    SeedRandom(seed);
    return fractions;
}

unsigned FindSeed(int count, const std::function<bool(const std::vector<double>&)>& wanted,
                  unsigned from) {
    for (unsigned seed = from; seed < from + 50000000u; ++seed) {
        if (wanted(PeekFractions(seed, count))) return seed;
    }
    throw std::runtime_error("no seed found");
}

}  // namespace testing_support
