#include "shell/ui/OverlayFont.h"

#include <GL/gl.h>

#include <cstring>

#include "game/GameApp.h"
#include "gfx/BitmapFont.h"
#include "gfx/TextFont.h"

void DrawCentred(const TextFont& font, int y, const char* text) {
    const int width = TextFont::Width(std::strlen(text));
    font.DrawText(GameApp::kWindowWidth / 2 - width / 2, y, text);
}

void ClampGlyphRows(const CBitmapFont& font) {
    glBindTexture(GL_TEXTURE_2D, font.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}
