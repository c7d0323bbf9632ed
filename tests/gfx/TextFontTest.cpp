// The shell's text font on real GL (Mesa's software renderer through SDL's
// offscreen driver): every character drawn as the bitmap has it, lower case
// unlike the capitals, and, with the frame scaled as in fullscreen, nothing
// under the letters; the game's own font too, once the shell has clamped it.

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "game/GameApp.h"
#include "gfx/BitmapFont.h"
#include "gfx/TextFont.h"
#include "shell/ui/OverlayFont.h"
#include "shell/ui/Viewport.h"
#include "tests/support/FontBitmap.h"

namespace {

constexpr int kCell = TextFont::kCellSize;
constexpr int kTextX = 64;  // playfield units, as the texts are placed
constexpr int kTextY = 400;

class TextFontTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { setenv("SDL_VIDEODRIVER", "offscreen", 1); }

    // A window showing the playfield as the shell fits it, the game's font
    // made before the text font, as in a session.
    void Open(int width, int height) {
        app.OpenWindow(width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
        app.SetProjection(GameApp::kWindowWidth, GameApp::kWindowHeight);
        fit = Viewport::Fit(width, height);
        glViewport(fit.x, fit.y, fit.width, fit.height);
        app.InitGame();
        font = std::make_unique<TextFont>();
        windowWidth = width;
        glClear(GL_COLOR_BUFFER_BIT);
    }

    void Read() {
        glFinish();
        const int height = fit.y * 2 + fit.height;
        pixels.assign(static_cast<std::size_t>(windowWidth * height * 4), 0);
        glReadPixels(0, 0, windowWidth, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    }

    int Grey(int x, int y) const {
        return pixels[static_cast<std::size_t>(4 * (y * windowWidth + x))];
    }

    // The lit pixels of character k of a text drawn at (kTextX, y), at the
    // default size, bottom row first.
    std::vector<bool> Block(int y, int k) const {
        std::vector<bool> lit;
        for (int row = 0; row < kCell; ++row) {
            for (int col = 0; col < kCell; ++col) {
                lit.push_back(Grey(kTextX + kCell * k + col, y + row) != 0);
            }
        }
        return lit;
    }

    // Playfield units in window pixels, for a viewport that fills the window.
    int Pixels(int units) const { return static_cast<int>(static_cast<float>(units) * fit.scale); }

    // The brightest pixel in the window rows from `bottom` up to `top`
    // (excluded) under a text of `length` characters at (kTextX, kTextY).
    int BrightestUnder(int length, int bottom, int top) const {
        const int left = Pixels(kTextX);
        const int right = Pixels(kTextX + kCell * length);
        int brightest = 0;
        for (int y = bottom; y < top; ++y) {
            for (int x = left; x < right; ++x) brightest = std::max(brightest, Grey(x, y));
        }
        return brightest;
    }

    GameApp app;
    std::unique_ptr<TextFont> font;  // after the game: gone while its context is
    Viewport fit;
    int windowWidth = 0;
    std::vector<unsigned char> pixels;
};

TEST_F(TextFontTest, EveryCharacterAsTheBitmapHasItLowerCaseApart) {
    Open(GameApp::kWindowWidth, GameApp::kWindowHeight);
    const std::string capitals = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::string lower = "abcdefghijklmnopqrstuvwxyz";
    const std::string signs = "<a_b> !\"#$%&'()*+,-./:;=?@[\\]^`{|}~0123456789";
    const int lines[] = {500, 450, 400};
    font->DrawText(kTextX, lines[0], capitals.c_str());
    font->DrawText(kTextX, lines[1], lower.c_str());
    font->DrawText(kTextX, lines[2], signs.c_str());
    Read();

    const testing_support::FontBitmap bitmap(testing_support::FontBitmapPath(TextFont::kFileName));
    ASSERT_TRUE(bitmap.Loaded());
    const std::string texts[] = {capitals, lower, signs};
    for (int line = 0; line < 3; ++line) {
        const std::string& text = texts[line];
        for (int k = 0; k < static_cast<int>(text.size()); ++k) {
            const int cell = text[static_cast<std::size_t>(k)] - ' ';
            std::vector<bool> inked;
            for (int row = 0; row < kCell; ++row) {
                for (int col = 0; col < kCell; ++col) {
                    inked.push_back(bitmap.Ink(kCell * cell + col, kCell - 1 - row));
                }
            }
            const std::vector<bool> shown = Block(lines[line], k);
            EXPECT_EQ(shown, inked) << "'" << text[static_cast<std::size_t>(k)] << "'";
            const bool blank = text[static_cast<std::size_t>(k)] == ' ';
            EXPECT_EQ(std::count(shown.begin(), shown.end(), true) == 0, blank)
                << "'" << text[static_cast<std::size_t>(k)] << "' drawn blank";
        }
    }
    for (int k = 0; k < static_cast<int>(lower.size()); ++k) {
        EXPECT_NE(Block(lines[0], k), Block(lines[1], k)) << lower[static_cast<std::size_t>(k)];
    }
}

// Scaled by 1.25, a cell's bottom rows sample between texels; a sheet that
// wrapped round blended in the top row of the glyphs there: a faint line.
TEST_F(TextFontTest, NothingUnderTheLettersWhenScaled) {
    Open(1280, 960);
    ASSERT_EQ(fit.scale, 1.25f);
    ASSERT_EQ(fit.x, 0);
    ASSERT_EQ(fit.y, 0);
    const char* text = "THE TOP ROWS ARE INKED: lift it, bk";  // no tails under the line
    const int length = static_cast<int>(std::strlen(text));
    const int bottom = Pixels(kTextY);
    const int top = Pixels(kTextY + kCell);
    // The window rows of the cells' two blank bottom rows, and the row under.
    const int under = bottom - 1;
    const int baseline = Pixels(kTextY + 2);

    font->DrawText(kTextX, kTextY, text);
    Read();
    EXPECT_GT(BrightestUnder(length, baseline, top), 200) << "the text is not drawn";
    EXPECT_EQ(BrightestUnder(length, under, baseline), 0);

    // The game's own font, as the game made it, shows the fault; the shell
    // clamps its rows at start-up.
    glClear(GL_COLOR_BUFFER_BIT);
    app.font->DrawText(kTextX, kTextY, "score 0 lives 3");
    Read();
    EXPECT_GT(BrightestUnder(15, under, baseline), 0) << "the fault no longer shows unclamped";
    glClear(GL_COLOR_BUFFER_BIT);
    ClampGlyphRows(*app.font);
    app.font->DrawText(kTextX, kTextY, "score 0 lives 3");
    Read();
    EXPECT_EQ(BrightestUnder(15, under, baseline), 0);
    EXPECT_GT(BrightestUnder(15, baseline, top), 200);
}

// At the default size each pixel samples one texel's centre, so clamping
// the game's font leaves its frame as it was, pixel for pixel.
TEST_F(TextFontTest, ClampingTheGamesFontChangesNoPixelAtTheDefaultSize) {
    Open(GameApp::kWindowWidth, GameApp::kWindowHeight);
    app.DrawFrame();
    Read();
    const std::vector<unsigned char> before = pixels;
    ASSERT_GT(std::count(before.begin(), before.end(), 255), 1000) << "nothing drawn";
    ClampGlyphRows(*app.font);
    app.DrawFrame();
    Read();
    EXPECT_TRUE(pixels == before);
}

}  // namespace
