// Text over the game's frame, in every printable ASCII character.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One GL texture made from the text bitmap: a row of 16 x 16 glyph cells for
// the codes from the space to the tilde, drawn in the style of the game's
// own font but with lower case of its own. Texts are placed as the game's
// are, one 16 x 16 quad per character. Scaled, a glyph blends only with its
// own cell and the blank side columns of its neighbours: never with rows
// from the far edge of the sheet. The game's font and its texture are left
// alone.
class TextFont {
public:
    static constexpr const char* kFileName = "tarvelin_ascii_16x16.bmp";
    static constexpr int kCellSize = 16;
    static constexpr int kFirstCode = ' ';
    static constexpr int kLastCode = '~';
    static constexpr int kGlyphCount = kLastCode - kFirstCode + 1;
    static constexpr int kBitmapWidth = kGlyphCount * kCellSize;
    static constexpr int kBitmapHeight = kCellSize;

    // Loads the bitmap from the first of the search paths that can be opened
    // (by default the places the game's font is looked for) and creates the
    // texture; needs a current GL context. Throws std::runtime_error with a
    // one-line message naming the file when no copy can be opened, or when
    // the one found cannot be read or has the wrong size.
    TextFont();
    explicit TextFont(const std::vector<std::string>& searchPaths);
    // Deletes the texture: the context that made it must still be current.
    ~TextFont();

    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    // The width of `length` characters, in screen pixels.
    static int Width(std::size_t length);

    // Draws text on one line, the lower-left corner of its first character
    // at screen pixel (x, y). A character outside the printable ASCII codes
    // draws as a space.
    void DrawText(int x, int y, const char* text) const;

private:
    unsigned int texture = 0;
};
