#include "shell/ui/OverlayFont.h"

#include <cstring>

#include "game/GameApp.h"
#include "gfx/BitmapFont.h"

namespace {

constexpr int kFirstCode = ' ';  // the bitmap's first cell
constexpr int kLastCode = 'Z';   // and its last
constexpr int kLowerToUpper = 'a' - 'A';

}  // namespace

void MapEveryGlyph(CBitmapFont& font) {
    for (int code = kFirstCode; code <= kLastCode; ++code) font.glyphOf[code] = code - kFirstCode;
    for (int code = 'a'; code <= 'z'; ++code) {
        font.glyphOf[code] = code - kLowerToUpper - kFirstCode;
    }
}

void DrawCentred(CBitmapFont& font, int y, const char* text) {
    const int width = CBitmapFont::kCellSize * static_cast<int>(std::strlen(text));
    font.DrawText(GameApp::kWindowWidth / 2 - width / 2, y, text);
}
