#include "objects/UFO.h"

#include <cmath>

#include "objects/Random.h"

namespace {

constexpr double kHalfPi = kPi / 2;

// Entry velocity components run from 2 to 12 units per tick.
float RandomEntryComponent() { return static_cast<float>(RandomFraction() * 10 + 2); }

// Direction from the saucer to the ship, in [-pi/2, 3pi/2).
double Bearing(double dx, double dy) {
    if (dx == 0) return dy < 0 ? -kHalfPi : kHalfPi;
    double theta = std::atan(std::fabs(dy / dx));
    if (dy < 0) theta = -theta;
    if (dx < 0) theta = kPi - theta;
    return theta;
}

}  // namespace

CUFO::CUFO() : speed(kStartSpeed) {
    const int outline[][2] = {{-15, 0}, {-10, -5}, {-5, -5}, {-5, -9}, {5, -9},
                              {5, -5},  {10, -5},  {15, 0},  {10, 5},  {-10, 5}};
    for (const auto& vertex : outline) {
        model->Add(vertex[0], vertex[1]);
    }
}

void CUFO::Launch() {
    x = -kHalfWidth;
    alive = true;
    // A y beyond the top edge is wrapped into the field by the first Move.
    y = RandomFraction() * kPlayfieldHeight;
    vx = RandomEntryComponent();
    if (RandomFraction() < 0.5) {
        vx = -vx;
        x = kHalfWidth;
    }
    vy = RandomEntryComponent();
    if (RandomFraction() < 0.5) vy = -vy;
}

void CUFO::Aim(const CShip& ship) {
    if (!ship.alive || ship.invulnerable > 0) return;
    double theta = Bearing(ship.x - x, ship.y - y);
    // The model's flat +y side faces the ship.
    angle = theta - kHalfPi;
    vx = static_cast<float>(-std::sin(angle) * speed);
    vy = static_cast<float>(std::cos(angle) * speed);
}

void CUFO::Deactivate() { alive = false; }

void CUFO::SpeedUp() {
    if (speed < kTopSpeed) speed += 1;
}
