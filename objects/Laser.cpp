#include "objects/Laser.h"

#include <GL/gl.h>

#include <cmath>

CLaser::CLaser() : charges(0), recharge(kRechargeTicks) {}

void CLaser::SetCharges(int n) { charges = n; }

int CLaser::GetCharges() const { return charges; }

void CLaser::Fire() {
    if (charges <= 0) return;
    alive = true;
    timer = kBeamTimer;
    charges -= 1;
    // Without this, the new beam's first tick would be tested against the
    // segment where some earlier beam was drawn, possibly long ago.
    ClearWorld();
}

void CLaser::Update(const CShip& ship) {
    if (charges < kMaxRechargedCharges) {
        if (recharge > 0) {
            recharge -= 1;
        } else {
            charges += 1;
            recharge = kRechargeTicks;
        }
    }

    if (timer < 0) {
        alive = false;
        return;
    }
    timer -= 1;
    angle = ship.angle;
    x = ship.x;
    y = ship.y;
}

void CLaser::Draw(int brightness) {
    ClearWorld();
    glPushMatrix();
    float grey = static_cast<float>(brightness / 255.0);
    glColor3f(grey, grey, grey);

    // The end point is computed from the truncated start point and is itself
    // truncated toward zero; the beam may run past the window's edge.
    int sx = static_cast<int>(x + kHalfWidth);
    int sy = static_cast<int>(y + kHalfHeight);
    int ex = static_cast<int>(sx + std::cos(angle) * kBeamLength);
    int ey = static_cast<int>(sy + std::sin(angle) * kBeamLength);
    world->Add(sx, sy);
    world->Add(ex, ey);

    glBegin(GL_LINES);
    glVertex2f(static_cast<float>(sx), static_cast<float>(sy));
    glVertex2f(static_cast<float>(ex), static_cast<float>(ey));
    glEnd();
    glPopMatrix();
}
