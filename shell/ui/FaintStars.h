// The star field dimmed or hidden, so that nothing but a photon looks like one.
#pragma once

#include "game/StarPainter.h"
#include "shell/settings/Accessibility.h"

// Attached to the game as its StarPainter while the stars are not simply on.
class FaintStars : public StarPainter {
public:
    // A third of full brightness.
    static constexpr float kDimBrightness = 1.0f / 3.0f;

    explicit FaintStars(Accessibility::Stars style = Accessibility::Stars::kDim) : stars(style) {}

    void DrawStars(CStarField& field) override;

    Accessibility::Stars stars;
};
