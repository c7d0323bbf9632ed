// The application icon drawn into pixels at run time, for the window's own
// icon and for the icon files, with no file and no image library.
#pragma once

#include <vector>

class IconDrawing;

class IconImage {
public:
    static constexpr int kChannels = 4;  // red, green, blue, alpha

    // Draws IconDrawing::ForPixels(size) at `size` by `size` pixels
    // (size >= 1), anti-aliased.
    explicit IconImage(int size);
    // Draws `drawing` at `size` by `size` pixels.
    IconImage(const IconDrawing& drawing, int size);

    int Size() const { return size; }
    // Size() rows of Size() pixels, top row first, kChannels bytes a pixel,
    // alpha not premultiplied. Outside the rounded corners alpha is 0;
    // everything inside them is opaque.
    const std::vector<unsigned char>& Pixels() const { return pixels; }

private:
    int size;
    std::vector<unsigned char> pixels;
};
