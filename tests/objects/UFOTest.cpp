#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "objects/Random.h"
#include "objects/UFO.h"
#include "tests/support/RandomSequence.h"

namespace {

constexpr double kPi = 3.141592653589793;

class UFOTest : public ::testing::Test {
protected:
    void SetUp() override {
        ship.Respawn();
        ship.invulnerable = 0;
        saucer.speed = 3;
    }
    // Puts the ship at (dx, dy) from the saucer at (40, -30) and aims.
    void AimAt(double dx, double dy) {
        saucer.x = 40;
        saucer.y = -30;
        ship.x = 40 + dx;
        ship.y = -30 + dy;
        saucer.Aim(ship);
    }
    CShip ship;
    CUFO saucer;
};

TEST_F(UFOTest, ConstructedIdleWithItsOutlineAndSlowSpeed) {
    CUFO fresh;
    EXPECT_FALSE(fresh.alive);
    EXPECT_EQ(fresh.speed, 2);
    auto points = fresh.model->Points();
    const int expected[10][2] = {{-15, 0}, {-10, -5}, {-5, -5}, {-5, -9}, {5, -9},
                                 {5, -5},  {10, -5},  {15, 0},  {10, 5},  {-10, 5}};
    ASSERT_EQ(points.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(points[i]->GetX(), expected[i][0]);
        EXPECT_EQ(points[i]->GetY(), expected[i][1]);
    }
}

TEST_F(UFOTest, SpeedUpStopsAtThree) {
    CUFO fresh;
    fresh.SpeedUp();
    EXPECT_EQ(fresh.speed, 3);
    fresh.SpeedUp();
    EXPECT_EQ(fresh.speed, 3);
}

TEST_F(UFOTest, AimOnTheAxes) {
    AimAt(0, 100);  // straight above
    EXPECT_DOUBLE_EQ(saucer.angle, 0.0);
    EXPECT_EQ(saucer.vx, -0.0f);
    EXPECT_EQ(saucer.vy, 3.0f);

    AimAt(0, -100);  // straight below
    EXPECT_DOUBLE_EQ(saucer.angle, -kPi);
    EXPECT_NEAR(saucer.vx, 0.0f, 1e-6);
    EXPECT_EQ(saucer.vy, -3.0f);

    AimAt(0, 0);  // on the ship's centre: straight up
    EXPECT_DOUBLE_EQ(saucer.angle, 0.0);
    EXPECT_EQ(saucer.vy, 3.0f);

    AimAt(-100, 0);  // straight left
    EXPECT_DOUBLE_EQ(saucer.angle, kPi / 2);
    EXPECT_EQ(saucer.vx, -3.0f);
    EXPECT_NEAR(saucer.vy, 0.0f, 1e-6);

    AimAt(100, 0);  // straight right
    EXPECT_DOUBLE_EQ(saucer.angle, -kPi / 2);
    EXPECT_EQ(saucer.vx, 3.0f);
    EXPECT_NEAR(saucer.vy, 0.0f, 1e-6);
}

TEST_F(UFOTest, AimInEveryQuadrantPointsAtTheShip) {
    const double offsets[4][2] = {{30, 40}, {-30, 40}, {-30, -40}, {30, -40}};
    for (const auto& offset : offsets) {
        AimAt(offset[0], offset[1]);
        // Velocity of length `speed` toward the ship: 3 * (dx, dy) / 50.
        EXPECT_NEAR(saucer.vx, 3 * offset[0] / 50, 1e-6) << offset[0] << ", " << offset[1];
        EXPECT_NEAR(saucer.vy, 3 * offset[1] / 50, 1e-6) << offset[0] << ", " << offset[1];
    }
    // Below and to the left the bearing passes pi: the angle is pi/2 + atan.
    AimAt(-30, -40);
    EXPECT_DOUBLE_EQ(saucer.angle, kPi + std::atan(40.0 / 30.0) - kPi / 2);
    EXPECT_GT(saucer.angle + kPi / 2, kPi);
}

TEST_F(UFOTest, AimNeverTakesTheWayAcrossAnEdge) {
    saucer.x = -500;
    saucer.y = 0;
    ship.x = 500;
    ship.y = 0;
    saucer.Aim(ship);
    EXPECT_EQ(saucer.vx, 3.0f);  // 1000 units right, not 24 left
}

TEST_F(UFOTest, AimDoesNothingWhileTheShipIsProtectedOrDestroyed) {
    saucer.angle = 1.25;
    saucer.vx = 7;
    saucer.vy = -4;
    ship.invulnerable = 1;
    AimAt(100, 100);
    EXPECT_EQ(saucer.angle, 1.25);
    EXPECT_EQ(saucer.vx, 7.0f);
    EXPECT_EQ(saucer.vy, -4.0f);
    ship.invulnerable = 0;
    ship.alive = false;
    AimAt(100, 100);
    EXPECT_EQ(saucer.angle, 1.25);
    EXPECT_EQ(saucer.vx, 7.0f);
}

TEST_F(UFOTest, LaunchDrawsFiveValuesInOrder) {
    for (unsigned seed : {5u, 6u, 7u, 8u, 1000u, 65535u}) {
        std::vector<double> r = testing_support::PeekFractions(seed, 6);
        saucer.angle = 0.5;
        saucer.Launch();
        EXPECT_TRUE(saucer.alive);
        EXPECT_EQ(saucer.y, r[0] * 768);
        float vx = static_cast<float>(r[1] * 10 + 2);
        float vy = static_cast<float>(r[3] * 10 + 2);
        EXPECT_EQ(saucer.vx, r[2] < 0.5 ? -vx : vx);
        EXPECT_EQ(saucer.x, r[2] < 0.5 ? 512.0 : -512.0);
        EXPECT_EQ(saucer.vy, r[4] < 0.5 ? -vy : vy);
        EXPECT_EQ(saucer.angle, 0.5);
        EXPECT_EQ(saucer.speed, 3);
        EXPECT_EQ(RandomFraction(), r[5]);
    }
}

TEST_F(UFOTest, LaunchNearTheTopIsWrappedByTheFirstMove) {
    unsigned seed = testing_support::FindSeed(
        5, [](const std::vector<double>& r) { return r[0] > 0.999 && r[4] >= 0.5; });
    testing_support::PeekFractions(seed, 5);
    saucer.Launch();
    EXPECT_GT(saucer.y, 767.0);
    saucer.Move();
    EXPECT_LT(saucer.y, 20.0);
    EXPECT_GT(saucer.y, 0.0);
}

TEST_F(UFOTest, DeactivateRemovesIt) {
    saucer.Launch();
    saucer.Deactivate();
    EXPECT_FALSE(saucer.alive);
}

}  // namespace
