// Text drawn from a bitmap of 16 x 16 pixel glyphs.
#pragma once

#include <string>
#include <vector>

// One GL texture made from the font bitmap, and a table from character codes
// to glyph cells. Each character is drawn as one textured 16 x 16 quad.
class CBitmapFont {
public:
    static constexpr const char* kFileName = "tarvelin_16x16.bmp";
    static constexpr int kBitmapWidth = 944;  // 59 cells for the codes 32 to 90
    static constexpr int kBitmapHeight = 16;
    static constexpr int kCellSize = 16;
    static constexpr int kTableSize = 255;

    // Loads the bitmap from the first of DefaultSearchPaths() that can be
    // opened, and creates the texture; needs a current GL context. Throws
    // std::runtime_error with a one-line message naming the file when no copy
    // can be opened, or when the one found cannot be read or has the wrong
    // size.
    CBitmapFont();

    // The same, looking only at the given paths, in order.
    explicit CBitmapFont(const std::vector<std::string>& searchPaths);

    // The working directory, then the executable's own assets/ folder, then
    // the shared data folder of an installed game.
    static std::vector<std::string> DefaultSearchPaths();

    // The smallest power of two >= n, and 1 for any n <= 1.
    static int NextPowerOfTwo(int n);

    // Draws text on one line, the lower-left corner of its first character
    // at screen pixel (x, y). A character without a glyph draws as a space.
    void DrawText(int x, int y, const char* text);

    int glyphOf[kTableSize];
    unsigned int texture;

private:
    void Load(const std::vector<std::string>& searchPaths);
    void FillGlyphTable();
    int GlyphOf(unsigned char code) const;
};
