// One axis of an analogue stick read as two held directions, the way the
// arrow keys are held.
#pragma once

#include <SDL.h>

// A stick at rest never sits exactly at zero, so nothing is held until it is
// pushed past kEngage; once held, a direction lets go only below kRelease, so
// a stick hovering at the threshold does not flicker on and off.
class StickAxis {
public:
    static constexpr int kEngage = 14000;   // of 32767, about 43 %
    static constexpr int kRelease = 10000;  // about 30 %

    // `negativeBit` is held while the axis is pushed towards its minimum
    // (left, or up on SDL's vertical axes), `positiveBit` towards its maximum.
    StickAxis(unsigned negativeBit, unsigned positiveBit);

    // Takes the axis's new position.
    void Move(Sint16 value);
    // Lets go of both directions; the next Move reads the stick afresh.
    void Release();
    // The bit of the held direction, or 0.
    unsigned HeldBits() const;

private:
    unsigned negativeBit;
    unsigned positiveBit;
    unsigned held;
};
