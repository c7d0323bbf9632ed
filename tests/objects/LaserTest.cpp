#include <GL/gl.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "objects/Laser.h"
#include "tests/gl/RecordingGL.h"

namespace {

constexpr double kPi = 3.141592653589793;

class LaserTest : public ::testing::Test {
protected:
    void SetUp() override {
        recgl::Reset();
        ship.Respawn();
    }
    CShip ship;
    CLaser laser;
};

TEST_F(LaserTest, StartsIdleWithAFullRechargeCountdown) {
    EXPECT_FALSE(laser.alive);
    EXPECT_EQ(laser.recharge, 333);
    EXPECT_EQ(laser.model->Count(), 0);
}

TEST_F(LaserTest, FireNeedsACharge) {
    laser.SetCharges(0);
    laser.Fire();
    EXPECT_FALSE(laser.alive);
    EXPECT_EQ(laser.GetCharges(), 0);
    EXPECT_EQ(laser.timer, 0);

    laser.SetCharges(2);
    laser.Fire();
    EXPECT_TRUE(laser.alive);
    EXPECT_EQ(laser.timer, 5);
    EXPECT_EQ(laser.GetCharges(), 1);

    // Firing again while the beam lives restarts it and still costs a charge.
    laser.Update(ship);
    laser.Update(ship);
    EXPECT_EQ(laser.timer, 3);
    laser.Fire();
    EXPECT_EQ(laser.timer, 5);
    EXPECT_EQ(laser.GetCharges(), 0);
}

TEST_F(LaserTest, BeamIsLiveForSixUpdatesAndFollowsTheShip) {
    laser.SetCharges(1);
    laser.Fire();
    for (int tick = 1; tick <= 6; ++tick) {
        ship.x = tick * 10;
        ship.angle = tick * 0.1;
        laser.Update(ship);
        EXPECT_TRUE(laser.alive) << "tick " << tick;
        EXPECT_EQ(laser.timer, 5 - tick);
        EXPECT_EQ(laser.x, ship.x);
        EXPECT_EQ(laser.angle, ship.angle);
    }
    ship.x = 999;
    laser.Update(ship);
    EXPECT_FALSE(laser.alive);
    EXPECT_EQ(laser.timer, -1);
    EXPECT_EQ(laser.x, 60.0);  // an ended beam no longer follows the ship

    laser.alive = true;  // each later update ends it again
    laser.Update(ship);
    EXPECT_FALSE(laser.alive);
    EXPECT_EQ(laser.timer, -1);
}

TEST_F(LaserTest, ChargeArrivesOnThe334thUpdate) {
    laser.SetCharges(9);
    for (int i = 0; i < 333; ++i) laser.Update(ship);
    EXPECT_EQ(laser.GetCharges(), 9);
    EXPECT_EQ(laser.recharge, 0);
    laser.Update(ship);
    EXPECT_EQ(laser.GetCharges(), 10);
    EXPECT_EQ(laser.recharge, 333);
    for (int i = 0; i < 1000; ++i) laser.Update(ship);
    EXPECT_EQ(laser.GetCharges(), 10);  // full: the countdown stands still
    EXPECT_EQ(laser.recharge, 333);
    laser.Fire();
    laser.Update(ship);
    EXPECT_EQ(laser.recharge, 332);
}

TEST_F(LaserTest, ChargesAboveTenAreKeptAndRechargeWaitsForThemToDrop) {
    laser.SetCharges(12);
    for (int i = 0; i < 400; ++i) laser.Update(ship);
    EXPECT_EQ(laser.GetCharges(), 12);
    EXPECT_EQ(laser.recharge, 333);
    laser.Fire();
    laser.Fire();
    laser.Fire();
    laser.Update(ship);
    EXPECT_EQ(laser.GetCharges(), 9);
    EXPECT_EQ(laser.recharge, 332);
}

TEST_F(LaserTest, BeamEndTruncatesTowardZero) {
    ship.x = -500;
    ship.y = 0;
    ship.angle = 3 * kPi / 4;
    laser.SetCharges(1);
    laser.Fire();
    laser.Update(ship);
    laser.Draw(255);
    auto points = laser.world->Points();
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0]->GetX(), 12);
    EXPECT_EQ(points[0]->GetY(), 384);
    EXPECT_EQ(points[1]->GetX(), -270);  // -270.84, not -271
    EXPECT_EQ(points[1]->GetY(), 666);

    EXPECT_EQ(recgl::Vertices(GL_LINES),
              (std::vector<std::pair<double, double>>{{12, 384}, {-270, 666}}));
    EXPECT_TRUE(recgl::Vertices(GL_POLYGON).empty());  // no black fill
    EXPECT_EQ(recgl::Names(),
              (std::vector<std::string>{"glPushMatrix", "glColor3f", "glBegin", "glVertex2f",
                                        "glVertex2f", "glEnd", "glPopMatrix"}));
}

TEST_F(LaserTest, StartPointTruncatesTowardZeroToo) {
    laser.x = -512.7;  // S.x = trunc(-0.7) = 0, not -1
    laser.y = 0.9;
    laser.angle = 0;
    laser.Draw(255);
    auto points = laser.world->Points();
    EXPECT_EQ(points[0]->GetX(), 0);
    EXPECT_EQ(points[0]->GetY(), 384);
    EXPECT_EQ(points[1]->GetX(), 400);
}

TEST_F(LaserTest, FiringForgetsTheLastBeamsSegment) {
    laser.SetCharges(2);
    laser.Fire();
    laser.Update(ship);
    laser.Draw(255);
    EXPECT_EQ(laser.world->Count(), 2);
    for (int i = 0; i < 10; ++i) laser.Update(ship);
    laser.Fire();
    // Until it is drawn, the new beam has no segment to hit anything with.
    EXPECT_EQ(laser.world->Count(), 0);
}

}  // namespace
