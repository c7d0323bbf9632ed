// Where the playfield goes in a window of any size.
#pragma once

// The largest rectangle of the playfield's shape that fits the drawable,
// centred; the rest of the drawable stays black (letterbox or pillarbox).
// In drawable pixels, from the lower-left corner, as glViewport takes them.
class Viewport {
public:
    // For a drawable of the given size in pixels (on a high-DPI screen the
    // drawable is larger than the window). A drawable with no area gets an
    // empty viewport.
    static Viewport Fit(int drawableWidth, int drawableHeight);

    // The width of lines drawn in it: they grow with the playfield, never
    // below a pixel, times the player's `factor`.
    float LineWidth(float factor) const;

    bool operator==(const Viewport& other) const;
    bool operator!=(const Viewport& other) const { return !(*this == other); }

    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    float scale = 0.0f;  // drawable pixels per playfield unit
};
