// The player's ship.
#pragma once

#include "objects/BaseObject.h"

// A triangle that turns in steps of pi/16, thrusts forward or backward under
// a per-component speed limit, keeps its velocity with no drag and is
// protected for a while after every respawn. `timer` is the respawn delay.
class CShip final : public CBaseObject {
public:
    static constexpr int kStartingLives = 3;
    static constexpr int kInvulnerableTicks = 60;
    static constexpr int kRespawnDelay = 30;

    CShip();

    // Back at the centre, at rest, heading 0, protected; lives unchanged.
    void Respawn();

    // Three lives and a respawn: the ship of a new game.
    void Reset();

    // Turns by dir * pi/16 (dir +1 counter-clockwise, -1 clockwise).
    void Rotate(int dir);

    // Accelerates by one unit along the heading (dir +1) or against it
    // (dir -1). Each velocity component takes its new value only while that
    // stays strictly inside +-maxSpeed; any other dir does nothing.
    void Thrust(int dir);

    // Destroyed: starts the respawn delay and takes a life, never below 0.
    void Die();

    int GetLives() const;

    int lives;
    int invulnerable;  // ticks of protection left
    float maxSpeed;
};
