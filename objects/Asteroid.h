// Drifting, spinning rocks with random jagged outlines.
#pragma once

#include "objects/BaseObject.h"

// Every random value is drawn in a fixed order (n + 9 values for a large
// asteroid, n + 6 for a small one, n being the vertex count), so a seed
// fixes every asteroid of a game.
class CAsteroid final : public CBaseObject {
public:
    // A large asteroid entering at a random point of a random edge, with
    // each velocity component up to `speed` in size.
    explicit CAsteroid(int speed);

    // A small asteroid at (x, y), half the size and up to twice as fast. Its
    // world outline is filled at once (as drawn at heading 0), so it can be
    // hit before it is first drawn.
    CAsteroid(int speed, int x, int y);

    bool IsSmall() const;

    bool small;

private:
    // Fills `model` with 8 to 12 vertices; a small outline halves each radius
    // and also fills `world`.
    void MakeOutline(bool halved);
};
