#include "objects/Asteroid.h"

#include <cmath>

#include "objects/Random.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Spin from -0.05 to +0.05 radians per tick.
double RandomSpin() { return (RandomFraction() - 0.5) / 10; }

// Every side and sign choice takes its first branch strictly below one half.
bool CoinFlip() { return RandomFraction() < 0.5; }

// One velocity component: its size, then its sign, stored as float.
float RandomComponent(double scale) {
    float v = static_cast<float>(RandomFraction() * scale);
    if (CoinFlip()) v = -v;
    return v;
}

}  // namespace

CAsteroid::CAsteroid(int speed) : small(false) {
    MakeOutline(false);
    alive = true;
    angle = 0.0;
    spin = RandomSpin();
    if (CoinFlip()) {
        // Left or right edge; the coordinate along it runs 0 to 768 and the
        // first Move wraps anything beyond the top edge back in.
        y = RandomFraction() * kPlayfieldHeight;
        x = -kHalfWidth;
        if (CoinFlip()) x = kHalfWidth;
    } else {
        x = RandomFraction() * kPlayfieldWidth;
        y = -kHalfHeight;
        if (CoinFlip()) y = kHalfHeight;
    }
    vx = RandomComponent(static_cast<float>(speed));
    vy = RandomComponent(static_cast<float>(speed));
}

CAsteroid::CAsteroid(int speed, int atX, int atY) : small(true) {
    this->x = atX;
    this->y = atY;
    alive = true;
    MakeOutline(true);
    angle = 0.0;
    spin = RandomSpin();
    vx = RandomComponent(2.0 * speed);
    vy = RandomComponent(2.0 * speed);
}

bool CAsteroid::IsSmall() const { return small; }

void CAsteroid::MakeOutline(bool halved) {
    double r = RandomFraction();
    int n = 8 - static_cast<int>(-4 * r);  // 8 to 11, and 12 only for r = 1
    double step = kTwoPi / n;
    for (int i = 0; i < n; ++i) {
        double theta = i * step;
        int radius = 20 - static_cast<int>(-20 * RandomFraction());  // 20 to 40
        if (halved) radius = radius / 2;
        int mx = -static_cast<int>(std::floor(radius * std::sin(theta)));
        int my = static_cast<int>(std::floor(radius * std::cos(theta)));
        model->Add(mx, my);
        if (halved) {
            world->Add(static_cast<int>(std::floor(x)) + mx + kHalfWidth,
                       static_cast<int>(std::floor(y)) + my + kHalfHeight);
        }
    }
}
