#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "objects/Asteroid.h"
#include "objects/Random.h"
#include "tests/support/RandomSequence.h"

namespace {

using testing_support::FindSeed;
using testing_support::PeekFractions;

constexpr double kTwoPi = 6.283185307179586;

struct Outline {
    int n;
    std::vector<int> radii;
};

// What the outline must be for fractions r[0] (count) and r[1..n] (radii).
Outline ExpectedOutline(const std::vector<double>& r, bool halved) {
    Outline outline;
    outline.n = 8 + static_cast<int>(std::floor(4 * r[0]));
    for (int i = 0; i < outline.n; ++i) {
        int radius = 20 + static_cast<int>(std::floor(20 * r[1 + i]));
        outline.radii.push_back(halved ? radius / 2 : radius);
    }
    return outline;
}

void ExpectModel(const CAsteroid& asteroid, const Outline& outline) {
    auto points = asteroid.model->Points();
    ASSERT_EQ(static_cast<int>(points.size()), outline.n);
    for (int i = 0; i < outline.n; ++i) {
        double theta = i * (kTwoPi / outline.n);
        int radius = outline.radii[i];
        EXPECT_EQ(points[i]->GetX(), -static_cast<int>(std::floor(radius * std::sin(theta))))
            << "vertex " << i;
        EXPECT_EQ(points[i]->GetY(), static_cast<int>(std::floor(radius * std::cos(theta))))
            << "vertex " << i;
    }
}

TEST(AsteroidTest, LargeAsteroidFollowsItsSequenceOfRandomValues) {
    for (unsigned seed : {1u, 2u, 77u, 4242u, 123456u}) {
        std::vector<double> r = PeekFractions(seed, 40);
        Outline outline = ExpectedOutline(r, false);
        CAsteroid asteroid(3);
        ExpectModel(asteroid, outline);

        std::vector<double> rest(r.begin() + 1 + outline.n, r.end());
        EXPECT_TRUE(asteroid.alive);
        EXPECT_FALSE(asteroid.IsSmall());
        EXPECT_EQ(asteroid.world->Count(), 0);
        EXPECT_EQ(asteroid.angle, 0.0);
        EXPECT_EQ(asteroid.timer, 0);
        EXPECT_DOUBLE_EQ(asteroid.spin, (rest[0] - 0.5) / 10);
        if (rest[1] < 0.5) {
            EXPECT_EQ(asteroid.y, rest[2] * 768);
            EXPECT_EQ(asteroid.x, rest[3] < 0.5 ? 512.0 : -512.0);
        } else {
            EXPECT_EQ(asteroid.x, rest[2] * 1024);
            EXPECT_EQ(asteroid.y, rest[3] < 0.5 ? 384.0 : -384.0);
        }
        float vx = static_cast<float>(rest[4] * 3);
        float vy = static_cast<float>(rest[6] * 3);
        EXPECT_EQ(asteroid.vx, rest[5] < 0.5 ? -vx : vx);
        EXPECT_EQ(asteroid.vy, rest[7] < 0.5 ? -vy : vy);
        // Exactly n + 9 values were used: the next one is r[n + 9].
        EXPECT_EQ(RandomFraction(), r[outline.n + 9]) << "seed " << seed;
    }
}

TEST(AsteroidTest, SmallAsteroidUsesNPlusSixValuesAndIsTwiceAsFast) {
    for (unsigned seed : {3u, 99u, 31337u}) {
        std::vector<double> r = PeekFractions(seed, 40);
        Outline outline = ExpectedOutline(r, true);
        CAsteroid asteroid(5, -7, 20);
        ExpectModel(asteroid, outline);
        std::vector<double> rest(r.begin() + 1 + outline.n, r.end());
        EXPECT_TRUE(asteroid.IsSmall());
        EXPECT_TRUE(asteroid.alive);
        EXPECT_EQ(asteroid.x, -7.0);
        EXPECT_EQ(asteroid.y, 20.0);
        EXPECT_DOUBLE_EQ(asteroid.spin, (rest[0] - 0.5) / 10);
        float vx = static_cast<float>(2 * rest[1] * 5);
        float vy = static_cast<float>(2 * rest[3] * 5);
        EXPECT_EQ(asteroid.vx, rest[2] < 0.5 ? -vx : vx);
        EXPECT_EQ(asteroid.vy, rest[4] < 0.5 ? -vy : vy);
        EXPECT_EQ(RandomFraction(), r[outline.n + 6]) << "seed " << seed;
    }
}

TEST(AsteroidTest, TwelveVerticesOnlyWhenTheFirstValueIsTheLargest) {
    unsigned seed = FindSeed(1, [](const std::vector<double>& r) { return r[0] == 1.0; });
    std::vector<double> r = PeekFractions(seed, 13);
    CAsteroid asteroid(2);
    ExpectModel(asteroid, ExpectedOutline(r, false));
    EXPECT_EQ(asteroid.model->Count(), 12);

    // Just below the largest value gives 11.
    seed = FindSeed(1, [](const std::vector<double>& next) { return next[0] > 0.9999; });
    PeekFractions(seed, 1);
    CAsteroid eleven(2);
    EXPECT_EQ(eleven.model->Count(), 11);
}

TEST(AsteroidTest, RadiusRunsFromTwentyToFortyAndHalvesForSmall) {
    unsigned seed = FindSeed(2, [](const std::vector<double>& r) { return r[1] == 1.0; });
    PeekFractions(seed, 2);
    CAsteroid large(2);
    EXPECT_EQ(large.model->Points()[0]->GetY(), 40);
    PeekFractions(seed, 2);
    CAsteroid small(2, 0, 0);
    EXPECT_EQ(small.model->Points()[0]->GetY(), 20);

    seed = FindSeed(2, [](const std::vector<double>& r) { return r[1] == 0.0; });
    PeekFractions(seed, 2);
    CAsteroid smallest(2);
    EXPECT_EQ(smallest.model->Points()[0]->GetY(), 20);
    PeekFractions(seed, 2);
    CAsteroid smallestHalf(2, 0, 0);
    EXPECT_EQ(smallestHalf.model->Points()[0]->GetY(), 10);
}

TEST(AsteroidTest, EightVertexOutlineHasItsQuarterVertexOnTheAxis) {
    unsigned seed = FindSeed(1, [](const std::vector<double>& r) { return r[0] < 0.25; });
    std::vector<double> r = PeekFractions(seed, 9);
    CAsteroid asteroid(2);
    auto points = asteroid.model->Points();
    ASSERT_EQ(points.size(), 8u);
    int r0 = 20 + static_cast<int>(std::floor(20 * r[1]));
    int r2 = 20 + static_cast<int>(std::floor(20 * r[3]));
    EXPECT_EQ(points[0]->GetX(), 0);
    EXPECT_EQ(points[0]->GetY(), r0);
    EXPECT_EQ(points[2]->GetX(), -r2);
    EXPECT_EQ(points[2]->GetY(), 0);
}

TEST(AsteroidTest, SmallAsteroidHasItsWorldOutlineAtOnce) {
    // A first radius of 15 needs 20 + floor(20 r) to be 30 or 31.
    unsigned seed =
        FindSeed(2, [](const std::vector<double>& r) { return r[1] >= 0.5 && r[1] < 0.6; });
    PeekFractions(seed, 2);
    CAsteroid asteroid(2, 100, -50);
    auto model = asteroid.model->Points();
    auto world = asteroid.world->Points();
    ASSERT_EQ(model.size(), world.size());
    EXPECT_EQ(model[0]->GetX(), 0);
    EXPECT_EQ(model[0]->GetY(), 15);
    EXPECT_EQ(world[0]->GetX(), 612);
    EXPECT_EQ(world[0]->GetY(), 349);
    for (std::size_t i = 0; i < model.size(); ++i) {
        EXPECT_EQ(world[i]->GetX(), 100 + model[i]->GetX() + 512);
        EXPECT_EQ(world[i]->GetY(), -50 + model[i]->GetY() + 384);
    }
    // Drawing at heading 0 gives the same outline.
    asteroid.Draw(255);
    auto drawn = asteroid.world->Points();
    for (std::size_t i = 0; i < model.size(); ++i) {
        EXPECT_EQ(drawn[i]->GetX(), 100 + model[i]->GetX() + 512);
        EXPECT_EQ(drawn[i]->GetY(), -50 + model[i]->GetY() + 384);
    }
}

TEST(AsteroidTest, EdgeEntryBeyondTheTopIsWrappedByTheFirstMove) {
    CAsteroid asteroid(2);
    asteroid.x = -512;
    asteroid.y = 600;
    asteroid.vx = 1;
    asteroid.vy = 0.5f;
    asteroid.Move();
    EXPECT_DOUBLE_EQ(asteroid.y, 600.5 - 768);
}

TEST(AsteroidTest, VelocitiesStayWithinTheirSpeedScale) {
    SeedRandom(2024);
    for (int i = 0; i < 300; ++i) {
        CAsteroid large(3);
        EXPECT_LE(std::fabs(large.vx), 3.0f);
        EXPECT_LE(std::fabs(large.vy), 3.0f);
        bool onSide = std::fabs(large.x) == 512 && large.y >= 0 && large.y <= 768;
        bool onEnd = std::fabs(large.y) == 384 && large.x >= 0 && large.x <= 1024;
        EXPECT_TRUE(onSide || onEnd) << large.x << ", " << large.y;
        EXPECT_GE(large.model->Count(), 8);
        EXPECT_LE(large.model->Count(), 12);
        CAsteroid small(3, 10, 10);
        EXPECT_LE(std::fabs(small.vx), 6.0f);
        EXPECT_LE(std::fabs(small.vy), 6.0f);
    }
}

}  // namespace
