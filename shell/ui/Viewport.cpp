#include "shell/ui/Viewport.h"

#include <algorithm>
#include <cmath>

#include "objects/BaseObject.h"

Viewport Viewport::Fit(int drawableWidth, int drawableHeight) {
    Viewport fit;
    if (drawableWidth <= 0 || drawableHeight <= 0) return fit;
    const double scale = std::min(static_cast<double>(drawableWidth) / kPlayfieldWidth,
                                  static_cast<double>(drawableHeight) / kPlayfieldHeight);
    // Rounded, and never wider or taller than the drawable.
    fit.width = std::min(drawableWidth, static_cast<int>(std::lround(kPlayfieldWidth * scale)));
    fit.height = std::min(drawableHeight, static_cast<int>(std::lround(kPlayfieldHeight * scale)));
    fit.x = (drawableWidth - fit.width) / 2;
    fit.y = (drawableHeight - fit.height) / 2;
    fit.scale = static_cast<float>(scale);
    return fit;
}

float Viewport::LineWidth(float factor) const { return std::max(1.0f, scale) * factor; }

bool Viewport::operator==(const Viewport& other) const {
    return x == other.x && y == other.y && width == other.width && height == other.height &&
           scale == other.scale;
}
