#include "objects/Photon.h"

#include <cmath>

CPhoton::CPhoton(const CShip& ship) {
    model->Add(1, 1);
    model->Add(1, -1);
    model->Add(-1, -1);
    model->Add(-1, 1);
    alive = true;
    x = ship.x;
    y = ship.y;
    // The ship's own velocity is not added.
    vx = static_cast<float>(std::cos(ship.angle) * kSpeed);
    vy = static_cast<float>(std::sin(ship.angle) * kSpeed);
    timer = kLifetime;
}

void CPhoton::Move() {
    angle += spin;
    x += vx;
    if (x < -kHalfWidth || x > kHalfWidth) alive = false;
    y += vy;
    if (y < -kHalfHeight || y > kHalfHeight) alive = false;
    timer -= 1;
    if (timer < 0) alive = false;
}
