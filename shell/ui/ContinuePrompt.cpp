#include "shell/ui/ContinuePrompt.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

#include "game/GameApp.h"
#include "gfx/BitmapFont.h"
#include "shell/ui/OverlayFont.h"

namespace {

// Where and what the game writes under its final score.
constexpr int kPromptY = 336;
constexpr const char* kGamePrompt = "press space bar for continue";

}  // namespace

void ReplaceContinuePrompt(const TextFont& font, const char* text) {
    const int cells = static_cast<int>(std::max(std::strlen(kGamePrompt), std::strlen(text)));
    const float halfWidth = static_cast<float>(CBitmapFont::kCellSize * cells / 2);
    const float middle = GameApp::kWindowWidth / 2.0f;
    const float bottom = kPromptY;
    const float top = kPromptY + CBitmapFont::kCellSize;
    glColor3f(0.0f, 0.0f, 0.0f);
    glBegin(GL_QUADS);
    glVertex2f(middle - halfWidth, bottom);
    glVertex2f(middle + halfWidth, bottom);
    glVertex2f(middle + halfWidth, top);
    glVertex2f(middle - halfWidth, top);
    glEnd();
    DrawCentred(font, kPromptY, text);
}
