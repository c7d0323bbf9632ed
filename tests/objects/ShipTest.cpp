#include <gtest/gtest.h>

#include <cmath>

#include "objects/Ship.h"

namespace {

constexpr double kPi = 3.141592653589793;

TEST(ShipTest, ConstructedWithThreeLivesAndItsTriangle) {
    CShip ship;
    EXPECT_EQ(ship.GetLives(), 3);
    EXPECT_EQ(ship.maxSpeed, 8.0f);
    EXPECT_FALSE(ship.alive);
    auto points = ship.model->Points();
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0]->GetX(), 10);
    EXPECT_EQ(points[0]->GetY(), 0);
    EXPECT_EQ(points[1]->GetX(), -10);
    EXPECT_EQ(points[1]->GetY(), 7);
    EXPECT_EQ(points[2]->GetX(), -10);
    EXPECT_EQ(points[2]->GetY(), -7);
}

TEST(ShipTest, EighthThrustIsRefusedAtTheBound) {
    CShip ship;
    ship.Respawn();
    for (int i = 0; i < 7; ++i) ship.Thrust(1);
    EXPECT_EQ(ship.vx, 7.0f);
    EXPECT_EQ(ship.vy, 0.0f);
    ship.Thrust(1);
    EXPECT_EQ(ship.vx, 7.0f);  // 8 is not below maxSpeed
    ship.Thrust(-1);
    EXPECT_EQ(ship.vx, 6.0f);
}

TEST(ShipTest, ThrustNeverClampsToTheBound) {
    CShip ship;
    ship.Respawn();
    ship.vx = 7.5f;
    ship.Thrust(1);
    EXPECT_EQ(ship.vx, 7.5f);
    ship.Thrust(-1);
    EXPECT_EQ(ship.vx, 6.5f);
    ship.vx = -7.5f;
    ship.Thrust(-1);
    EXPECT_EQ(ship.vx, -7.5f);
}

TEST(ShipTest, BackwardThrustAndOtherDirections) {
    CShip ship;
    ship.Respawn();
    ship.Thrust(-1);
    EXPECT_EQ(ship.vx, -1.0f);
    ship.Thrust(0);
    ship.Thrust(2);
    ship.Thrust(-2);
    EXPECT_EQ(ship.vx, -1.0f);
    EXPECT_EQ(ship.vy, 0.0f);
}

TEST(ShipTest, EachComponentIsLimitedOnItsOwn) {
    CShip ship;
    ship.Respawn();
    ship.angle = kPi / 4;  // diagonal: both components grow by about 0.707
    for (int i = 0; i < 20; ++i) ship.Thrust(1);
    const float step = static_cast<float>(std::cos(kPi / 4));
    EXPECT_LT(ship.vx, 8.0f);
    EXPECT_GT(ship.vx + step, 8.0f);  // one more step would pass the bound
    // The speed along the diagonal exceeds maxSpeed.
    EXPECT_GT(std::hypot(ship.vx, ship.vy), 8.0);

    // A component stuck near the bound does not stop the other one.
    ship.vx = 7.9f;
    ship.vy = 0.0f;
    ship.Thrust(1);
    EXPECT_EQ(ship.vx, 7.9f);
    EXPECT_EQ(ship.vy, step);
}

TEST(ShipTest, BoundIsTestedBeforeRoundingToFloat) {
    // Just below 8 plus a tiny push: the exact sum is below 8, so it is taken,
    // and only then rounded, to exactly 8. Testing the rounded value would
    // refuse it.
    CShip ship;
    ship.Respawn();
    ship.angle = kPi / 2 - 3e-7;
    ship.vx = std::nextafter(8.0f, 0.0f);
    ship.Thrust(1);
    EXPECT_EQ(ship.vx, 8.0f);
    ship.Thrust(1);
    EXPECT_EQ(ship.vx, 8.0f);  // now at the bound: refused
}

TEST(ShipTest, RotateStepsBySixteenthsOfPiWithoutWrapping) {
    CShip ship;
    ship.Rotate(1);
    EXPECT_DOUBLE_EQ(ship.angle, kPi / 16);
    ship.Rotate(-1);
    ship.Rotate(-1);
    EXPECT_DOUBLE_EQ(ship.angle, -kPi / 16);
    ship.angle = 0;
    for (int i = 0; i < 32; ++i) ship.Rotate(1);
    EXPECT_NEAR(ship.angle, 2 * kPi, 1e-12);
}

TEST(ShipTest, DieTakesALifeButNeverBelowZero) {
    CShip ship;
    ship.Respawn();
    ship.Die();
    EXPECT_FALSE(ship.alive);
    EXPECT_EQ(ship.timer, 30);
    EXPECT_EQ(ship.GetLives(), 2);
    ship.lives = 0;
    ship.timer = 5;
    ship.alive = true;
    ship.Die();
    EXPECT_EQ(ship.GetLives(), 0);
    EXPECT_FALSE(ship.alive);
    EXPECT_EQ(ship.timer, 30);
}

TEST(ShipTest, RespawnResetsMotionButNotLivesOrTimer) {
    CShip ship;
    ship.lives = 1;
    ship.x = 100;
    ship.y = -50;
    ship.vx = 3;
    ship.vy = -2;
    ship.angle = 4;
    ship.spin = 0.1;
    ship.timer = -1;
    ship.Respawn();
    EXPECT_TRUE(ship.alive);
    EXPECT_EQ(ship.x, 0.0);
    EXPECT_EQ(ship.y, 0.0);
    EXPECT_EQ(ship.vx, 0.0f);
    EXPECT_EQ(ship.vy, 0.0f);
    EXPECT_EQ(ship.angle, 0.0);
    EXPECT_EQ(ship.spin, 0.0);
    EXPECT_EQ(ship.invulnerable, 60);
    EXPECT_EQ(ship.GetLives(), 1);
    EXPECT_EQ(ship.timer, -1);

    ship.Reset();
    EXPECT_EQ(ship.GetLives(), 3);
    EXPECT_TRUE(ship.alive);
    EXPECT_EQ(ship.invulnerable, 60);
}

}  // namespace
