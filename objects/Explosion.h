// A piece of debris from a destroyed object.
#pragma once

#include "objects/BaseObject.h"

// One edge of a destroyed outline, flying off from the object's position and
// fading out over 30 ticks. `timer` is the fade countdown. Debris only
// decorates: it takes part in no collision.
class CExplosion final : public CBaseObject {
public:
    static constexpr int kFadeTicks = 30;

    // x, y and angle are the destroyed object's pose, already truncated to
    // ints; a and b are two consecutive vertices of its model outline. The
    // velocity is -a / 5 in whole units, not turned by the heading.
    CExplosion(int x, int y, int angle, const CPoint& a, const CPoint& b);
};
