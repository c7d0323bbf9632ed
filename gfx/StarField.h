// The fixed background of stars.
#pragma once

#include "objects/Point.h"

// 157 white points at random screen pixels (0 to 1024 by 0 to 768, both
// bounds inclusive), chosen once and never moved.
class CStarField {
public:
    static constexpr int kStarCount = 157;

    // Takes two random values per star, y first.
    CStarField();
    ~CStarField();

    // Owns its points, so copying would delete them twice.
    CStarField(const CStarField&) = delete;
    CStarField& operator=(const CStarField&) = delete;

    // Every star in white.
    void Draw();
    // Every star in the grey `brightness` (0 black to 1 white).
    void DrawInGrey(float brightness);

    CPoint** stars;
    int count;
    // Drawn point size in pixels; the window grows it with the frame's scale.
    float pointSize = 1.0f;
};
