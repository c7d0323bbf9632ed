// The enemy saucer.
#pragma once

#include "objects/BaseObject.h"
#include "objects/Ship.h"

// One saucer object, reused for every appearance. It enters at a side edge
// and, while the ship is flying unprotected, turns toward the ship every
// tick and moves straight at it at `speed` units per tick.
class CUFO final : public CBaseObject {
public:
    static constexpr int kStartSpeed = 2;
    static constexpr int kTopSpeed = 3;

    CUFO();

    // Enters at the left or right edge with a random velocity (five random
    // values). Heading and speed are kept.
    void Launch();

    // Heads for the ship's centre by the plain differences, never across a
    // wrapped edge. Does nothing while the ship is destroyed or protected.
    void Aim(const CShip& ship);

    void Deactivate();

    // One step faster, up to kTopSpeed; nothing ever slows the saucer.
    void SpeedUp();

    int speed;
};
