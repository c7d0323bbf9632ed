// A short-lived shot fired from the ship.
#pragma once

#include "objects/BaseObject.h"
#include "objects/Ship.h"

// A 2 x 2 square that leaves the ship's centre at 20 units per tick along its
// heading, ends when it leaves the playfield and lives at most 38 frames.
// Unlike other objects it never wraps.
class CPhoton final : public CBaseObject {
public:
    static constexpr int kSpeed = 20;
    static constexpr int kLifetime = 38;

    explicit CPhoton(const CShip& ship);

    // One tick; every step runs even after an earlier one ended the shot.
    // A centre exactly on an edge is still inside.
    void Move() override;
};
