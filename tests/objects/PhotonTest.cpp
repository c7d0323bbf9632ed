#include <gtest/gtest.h>

#include <cmath>

#include "objects/Photon.h"
#include "tests/gl/RecordingGL.h"

namespace {

constexpr double kPi = 3.141592653589793;

// A live, moving ship at the given pose; a photon copies what it needs at
// once, so one ship serves every shot.
const CShip& ShipAt(double x, double y, double angle) {
    static CShip ship;
    ship.Respawn();
    ship.x = x;
    ship.y = y;
    ship.angle = angle;
    ship.vx = 5;  // the ship's own velocity must not be added
    return ship;
}

TEST(PhotonTest, LeavesTheShipsCentreAlongItsHeading) {
    const CShip& ship = ShipAt(10.5, -3.25, kPi / 3);
    CPhoton photon(ship);
    EXPECT_TRUE(photon.alive);
    EXPECT_EQ(photon.x, 10.5);
    EXPECT_EQ(photon.y, -3.25);
    EXPECT_EQ(photon.vx, static_cast<float>(std::cos(kPi / 3) * 20));
    EXPECT_EQ(photon.vy, static_cast<float>(std::sin(kPi / 3) * 20));
    EXPECT_EQ(photon.timer, 38);
    EXPECT_EQ(photon.angle, 0.0);
    EXPECT_EQ(photon.world->Count(), 0);  // hits nothing before its first Draw
    auto points = photon.model->Points();
    ASSERT_EQ(points.size(), 4u);
    const int expected[4][2] = {{1, 1}, {1, -1}, {-1, -1}, {-1, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(points[i]->GetX(), expected[i][0]);
        EXPECT_EQ(points[i]->GetY(), expected[i][1]);
    }
}

TEST(PhotonTest, EndsInTheMoveThatTakesItOffTheField) {
    CPhoton photon(ShipAt(500, 0, 0));
    photon.Move();
    EXPECT_EQ(photon.x, 520.0);  // not wrapped
    EXPECT_FALSE(photon.alive);
    EXPECT_EQ(photon.timer, 37);  // every step still ran

    CPhoton down(ShipAt(0, -370, -kPi / 2));
    down.Move();
    EXPECT_FALSE(down.alive);
    EXPECT_LT(down.y, -384.0);
}

TEST(PhotonTest, StaysAliveExactlyOnTheEdge) {
    CPhoton right(ShipAt(492, 0, 0));
    right.Move();
    EXPECT_EQ(right.x, 512.0);
    EXPECT_TRUE(right.alive);

    CPhoton top(ShipAt(0, 364, 0));
    top.vx = 0;
    top.vy = 20;
    top.Move();
    EXPECT_EQ(top.y, 384.0);
    EXPECT_TRUE(top.alive);

    CPhoton left(ShipAt(-492, 0, 0));
    left.vx = -20;
    left.Move();
    EXPECT_EQ(left.x, -512.0);
    EXPECT_TRUE(left.alive);
}

TEST(PhotonTest, LivesThirtyEightMovesAndEndsOnTheThirtyNinth) {
    CPhoton photon(ShipAt(0, 0, 0));
    photon.vx = 0;  // keep it on the field
    for (int move = 1; move <= 38; ++move) {
        photon.Move();
        EXPECT_TRUE(photon.alive) << "move " << move;
        EXPECT_EQ(photon.timer, 38 - move);
    }
    photon.Move();
    EXPECT_FALSE(photon.alive);
    EXPECT_EQ(photon.timer, -1);
}

TEST(PhotonTest, DrawsAnAxisAlignedSquareAndRebuildsWorld) {
    recgl::Reset();
    CPhoton photon(ShipAt(-100.5, 20, 1.0));
    photon.Draw(255);
    auto points = photon.world->Points();
    ASSERT_EQ(points.size(), 4u);
    // floor(-100.5) = -101, so the corners lie around (411, 404).
    EXPECT_EQ(points[0]->GetX(), 412);
    EXPECT_EQ(points[0]->GetY(), 405);
    EXPECT_EQ(points[2]->GetX(), 410);
    EXPECT_EQ(points[2]->GetY(), 403);
}

}  // namespace
