#include <gtest/gtest.h>

#include <vector>

#include "objects/Explosion.h"
#include "objects/Ship.h"
#include "objects/UFO.h"
#include "tests/support/RandomSequence.h"

namespace {

TEST(ExplosionTest, TakesPoseVelocityAndSpinAsGiven) {
    std::vector<double> r = testing_support::PeekFractions(42, 1);
    CExplosion debris(100, -20, 2, CPoint(7, -12), CPoint(3, 4));
    EXPECT_TRUE(debris.alive);
    EXPECT_EQ(debris.x, 100.0);
    EXPECT_EQ(debris.y, -20.0);
    EXPECT_EQ(debris.angle, 2.0);
    EXPECT_DOUBLE_EQ(debris.spin, (r[0] * 6.283185307179586 - 3.141592653589793) / 15);
    EXPECT_EQ(debris.vx, -1.0f);  // 7 / -5 truncates to -1
    EXPECT_EQ(debris.vy, 2.0f);   // -12 / -5 truncates to 2
    EXPECT_EQ(debris.timer, 30);
    auto points = debris.model->Points();
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0]->GetX(), 7);
    EXPECT_EQ(points[1]->GetY(), 4);
}

TEST(ExplosionTest, ShipOutlineGivesItsThreeVelocities) {
    CShip ship;
    auto v = ship.model->Points();
    const float expected[3][2] = {{-2, 0}, {2, -1}, {2, 1}};
    for (int k = 0; k < 3; ++k) {
        CExplosion debris(0, 0, 0, *v[k], *v[(k + 1) % 3]);
        EXPECT_EQ(debris.vx, expected[k][0]) << "edge " << k;
        EXPECT_EQ(debris.vy, expected[k][1]) << "edge " << k;
    }
}

TEST(ExplosionTest, SmallCoordinatesGiveNoVelocity) {
    CExplosion debris(0, 0, 0, CPoint(-4, 4), CPoint(0, 0));
    EXPECT_EQ(debris.vx, 0.0f);
    EXPECT_EQ(debris.vy, 0.0f);
    CExplosion cap(0, 0, 0, CPoint(-5, -9), CPoint(5, -9));  // a saucer vertex
    EXPECT_EQ(cap.vx, 1.0f);
    EXPECT_EQ(cap.vy, 1.0f);
}

TEST(ExplosionTest, SpinStaysWithinAFifteenthOfPi) {
    for (unsigned seed = 0; seed < 2000; ++seed) {
        testing_support::PeekFractions(seed, 1);
        CExplosion debris(0, 0, 0, CPoint(1, 1), CPoint(2, 2));
        ASSERT_LE(debris.spin, 3.141592653589793 / 15 + 1e-15);
        ASSERT_GE(debris.spin, -3.141592653589793 / 15 - 1e-15);
    }
}

TEST(ExplosionTest, WrapsAtTheEdgesWithoutCuttingItsFade) {
    CExplosion debris(511, 0, 0, CPoint(-10, 0), CPoint(0, 0));  // flies right at 2
    debris.Move();
    EXPECT_EQ(debris.x, 513.0 - 1024);
    EXPECT_FALSE(debris.CountDown());
    EXPECT_EQ(debris.timer, 29);
}

}  // namespace
