#include "input/StickAxis.h"

StickAxis::StickAxis(unsigned negative, unsigned positive)
    : negativeBit(negative), positiveBit(positive), held(0) {}

void StickAxis::Move(Sint16 value) {
    // The threshold a direction must pass depends on whether it is held.
    const int towardsNegative = -static_cast<int>(value);
    const int towardsPositive = value;
    const int negativeNeeds = held == negativeBit ? kRelease : kEngage;
    const int positiveNeeds = held == positiveBit ? kRelease : kEngage;
    if (towardsNegative >= negativeNeeds) {
        held = negativeBit;
    } else if (towardsPositive >= positiveNeeds) {
        held = positiveBit;
    } else {
        held = 0;
    }
}

void StickAxis::Release() { held = 0; }

unsigned StickAxis::HeldBits() const { return held; }
