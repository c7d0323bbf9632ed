#include "input/StickAxis.h"

StickAxis::StickAxis(unsigned negativeBit, unsigned positiveBit)
    : negativeBit_(negativeBit), positiveBit_(positiveBit), held_(0) {}

void StickAxis::Move(Sint16 value) {
    // The threshold a direction must pass depends on whether it is held.
    const int towardsNegative = -static_cast<int>(value);
    const int towardsPositive = value;
    const int negativeNeeds = held_ == negativeBit_ ? kRelease : kEngage;
    const int positiveNeeds = held_ == positiveBit_ ? kRelease : kEngage;
    if (towardsNegative >= negativeNeeds) {
        held_ = negativeBit_;
    } else if (towardsPositive >= positiveNeeds) {
        held_ = positiveBit_;
    } else {
        held_ = 0;
    }
}

void StickAxis::Release() { held_ = 0; }

unsigned StickAxis::HeldBits() const { return held_; }
