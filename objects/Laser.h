// The ship's laser beam.
#pragma once

#include "objects/BaseObject.h"
#include "objects/Ship.h"

// One beam object for the whole run. Firing costs a charge and keeps the beam
// live for six ticks, during which it runs 400 units from the ship's centre
// along its heading and follows the ship. Charges refill by themselves, one
// every 334 ticks, while fewer than 10 are held. `timer` is the beam's life.
class CLaser final : public CBaseObject {
public:
    static constexpr int kMaxRechargedCharges = 10;
    static constexpr int kRechargeTicks = 333;
    static constexpr int kBeamTimer = 5;
    static constexpr int kBeamLength = 400;

    CLaser();

    // No bound is applied: more than 10 charges are kept as given.
    void SetCharges(int n);
    int GetCharges() const;

    // Starts (or restarts) the beam if a charge is left, and forgets the last
    // beam's segment, so the new beam hits nothing until it is first drawn.
    void Fire();

    // Once per tick: recharge, then age the live beam and put it on the ship.
    void Update(const CShip& ship);

    // Draws the beam as one line and sets `world` to its two end points.
    void Draw(int brightness) override;

    int charges;
    int recharge;  // ticks until the next charge
};
