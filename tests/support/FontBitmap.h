// Reads the font bitmap that the build copied next to the test binaries, so
// tests can compare what is drawn with the artwork itself.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

// Path of a font bitmap (by default the game's) next to the running binary.
std::string FontBitmapPath(const std::string& name = "tarvelin_16x16.bmp");

class FontBitmap {
public:
    // Loads the bitmap at `path`; Loaded() tells whether that worked.
    explicit FontBitmap(const std::string& path = FontBitmapPath());

    bool Loaded() const { return width > 0; }

    // Whether the pixel at column x, row y (row 0 at the top, as in the
    // picture) is glyph ink rather than the key colour.
    bool Ink(int x, int y) const { return ink[static_cast<std::size_t>(y * width + x)]; }

    // Whether the pixel has exactly the key colour (238, 0, 252).
    bool Key(int x, int y) const { return key[static_cast<std::size_t>(y * width + x)]; }

    int width = 0;
    int height = 0;

private:
    std::vector<bool> ink;
    std::vector<bool> key;
};

}  // namespace testing_support
