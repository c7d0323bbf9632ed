#include <gtest/gtest.h>

#include <vector>

#include "objects/Random.h"

namespace {

TEST(RandomTest, SeedOneGivesTheClassicSequence) {
    SeedRandom(1);
    std::vector<int> values;
    for (int i = 0; i < 5; ++i) values.push_back(NextRandom());
    EXPECT_EQ(values, (std::vector<int>{41, 18467, 6334, 26500, 19169}));
}

TEST(RandomTest, SameSeedSameSequenceAndReseedingRestarts) {
    SeedRandom(987654321u);
    std::vector<int> first;
    for (int i = 0; i < 100; ++i) first.push_back(NextRandom());
    SeedRandom(987654321u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(NextRandom(), first[i]) << "value " << i;
    SeedRandom(987654322u);
    std::vector<int> other;
    for (int i = 0; i < 100; ++i) other.push_back(NextRandom());
    EXPECT_NE(first, other);
}

TEST(RandomTest, ValuesCoverTheFifteenBitRangeAndFractionsReachOne) {
    SeedRandom(0);
    int lowest = 32767, highest = 0;
    bool sawOne = false;
    for (int i = 0; i < 200000; ++i) {
        int value = NextRandom();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
        lowest = value < lowest ? value : lowest;
        highest = value > highest ? value : highest;
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, 32767);
    SeedRandom(30091);  // its first value is 32767
    EXPECT_EQ(RandomFraction(), 1.0);
    for (int i = 0; i < 100000 && !sawOne; ++i) {
        double r = RandomFraction();
        ASSERT_GE(r, 0.0);
        ASSERT_LE(r, 1.0);
        sawOne = r == 1.0;
    }
    EXPECT_TRUE(sawOne);
}

}  // namespace
