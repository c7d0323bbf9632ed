#include "objects/Explosion.h"

#include "objects/Random.h"

namespace {

constexpr double kTwoPi = 2 * kPi;
constexpr int kVelocityDivisor = -5;

}  // namespace

CExplosion::CExplosion(int atX, int atY, int atAngle, const CPoint& a, const CPoint& b) {
    this->angle = atAngle;
    alive = true;
    spin = (RandomFraction() * kTwoPi - kPi) / 15;  // -pi/15 to +pi/15 per tick
    this->x = atX;
    this->y = atY;
    // Integer division truncates toward zero: 7 / -5 is -1.
    vx = static_cast<float>(a.GetX() / kVelocityDivisor);
    vy = static_cast<float>(a.GetY() / kVelocityDivisor);
    timer = kFadeTicks;
    model->Add(a.GetX(), a.GetY());
    model->Add(b.GetX(), b.GetY());
}
