#include "objects/Ship.h"

#include <cmath>

namespace {

constexpr double kTurnStep = 0.0625;  // of pi: a sixteenth of a half turn
constexpr float kMaxSpeed = 8.0f;

// Whether a thrust candidate may be taken: strictly inside the bound, tested
// before the sum is rounded to float. Nothing is clamped.
bool WithinLimit(double candidate, float limit) { return -limit < candidate && candidate < limit; }

}  // namespace

CShip::CShip() : lives(kStartingLives), invulnerable(0), maxSpeed(kMaxSpeed) {
    model->Add(10, 0);
    model->Add(-10, 7);
    model->Add(-10, -7);
}

void CShip::Respawn() {
    alive = true;
    angle = 0.0;
    spin = 0.0;
    x = 0.0;
    y = 0.0;
    vx = 0.0f;
    vy = 0.0f;
    invulnerable = kInvulnerableTicks;
}

void CShip::Reset() {
    lives = kStartingLives;
    Respawn();
}

void CShip::Rotate(int dir) { angle = angle + dir * kPi * kTurnStep; }

void CShip::Thrust(int dir) {
    if (dir != 1 && dir != -1) return;
    float c = static_cast<float>(std::cos(angle));
    float s = static_cast<float>(std::sin(angle));
    double candidateX = static_cast<double>(vx) + dir * static_cast<double>(c);
    double candidateY = static_cast<double>(vy) + dir * static_cast<double>(s);
    if (WithinLimit(candidateX, maxSpeed)) vx = static_cast<float>(candidateX);
    if (WithinLimit(candidateY, maxSpeed)) vy = static_cast<float>(candidateY);
}

void CShip::Die() {
    alive = false;
    timer = kRespawnDelay;
    if (lives > 0) lives = lives - 1;
}

int CShip::GetLives() const { return lives; }
