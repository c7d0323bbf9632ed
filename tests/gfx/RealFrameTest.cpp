// Renders real frames with the system's GL (Mesa's software renderer through
// SDL's offscreen driver) and reads them back pixel by pixel.

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/GameApp.h"
#include "gfx/BitmapFont.h"
#include "gfx/StarField.h"
#include "gfx/TextFont.h"
#include "objects/Asteroid.h"
#include "objects/Photon.h"
#include "objects/Random.h"
#include "objects/Ship.h"
#include "objects/UFO.h"
#include "shell/ui/ContinuePrompt.h"
#include "shell/ui/FaintStars.h"
#include "shell/ui/GameWindow.h"
#include "shell/ui/ObjectRings.h"
#include "shell/ui/OverlayFont.h"
#include "tests/support/FontBitmap.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

struct Box {
    int left, bottom, right, top;
    bool Holds(int x, int y) const { return x >= left && x <= right && y >= bottom && y <= top; }
};

// Screen box around an outline as last drawn, with a margin for line width.
Box BoxOf(const CBaseObject& object) {
    Box box{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
    for (const CPoint* p : object.world->Points()) {
        box.left = std::min(box.left, p->GetX() - 2);
        box.right = std::max(box.right, p->GetX() + 2);
        box.bottom = std::min(box.bottom, p->GetY() - 2);
        box.top = std::max(box.top, p->GetY() + 2);
    }
    return box;
}

class RealFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { setenv("SDL_VIDEODRIVER", "offscreen", 1); }

    void SetUp() override {
        app.OpenWindow(kWidth, kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
        app.SetProjection(kWidth, kHeight);
        SeedRandom(11);
        app.InitGame();
    }

    // Draws one frame, with the rings if given, and reads it back before the
    // buffers are swapped.
    void RenderAndRead(const ObjectRings* rings = nullptr) {
        app.DrawFrame();
        if (rings != nullptr) rings->Draw(app);
        glFinish();
        pixels.assign(static_cast<std::size_t>(kWidth * kHeight * 4), 0);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    }

    // Red of the pixel at screen (x, y), (0, 0) at the lower left; every
    // colour the game draws is a grey.
    int Grey(int x, int y) const { return pixels[static_cast<std::size_t>(4 * (y * kWidth + x))]; }

    bool IsGrey(int x, int y) const {
        const unsigned char* p = &pixels[static_cast<std::size_t>(4 * (y * kWidth + x))];
        return p[0] == p[1] && p[1] == p[2];
    }

    std::vector<Box> ObjectBoxes() const {
        std::vector<Box> boxes;
        for (const CAsteroid* asteroid : app.asteroids) boxes.push_back(BoxOf(*asteroid));
        boxes.push_back(BoxOf(*app.ship));
        return boxes;
    }

    bool InsideAny(const std::vector<Box>& boxes, int x, int y) const {
        for (const Box& box : boxes) {
            if (box.Holds(x, y)) return true;
        }
        return false;
    }

    // Lit pixels inside (or, with `inside` false, outside) every box, below
    // the top line.
    int LitPixels(const std::vector<Box>& boxes, bool inside) const {
        int lit = 0;
        for (int y = 0; y < 752; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                lit += Grey(x, y) != 0 && InsideAny(boxes, x, y) == inside;
            }
        }
        return lit;
    }

    // Whether a pixel within one of (x, y) is lit: a line drawn through a
    // point may light its neighbour instead.
    bool LitNear(int x, int y) const {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (Grey(x + dx, y + dy) != 0) return true;
            }
        }
        return false;
    }

    GameApp app;
    std::vector<unsigned char> pixels;
};

TEST_F(RealFrameTest, TopLineGlyphsMatchTheFontBitmapPixelForPixel) {
    RenderAndRead();
    testing_support::FontBitmap bitmap;
    ASSERT_TRUE(bitmap.Loaded());
    struct Text {
        int x;
        std::string text;
    };
    const Text texts[] = {{912, "laser 2"}, {456, "score 0"}, {0, "lives 3"}};
    int inkPixels = 0;
    for (const Text& text : texts) {
        for (std::size_t k = 0; k < text.text.size(); ++k) {
            int cell = app.font->glyphOf[static_cast<unsigned char>(text.text[k])];
            for (int row = 0; row < 16; ++row) {  // from the bottom of the cell
                for (int col = 0; col < 16; ++col) {
                    int x = text.x + 16 * static_cast<int>(k) + col;
                    int y = 752 + row;
                    bool ink = bitmap.Ink(16 * cell + col, 15 - row);
                    ASSERT_EQ(Grey(x, y), ink ? 255 : 0)
                        << text.text << " char " << k << " at " << x << ", " << y;
                    inkPixels += ink;
                }
            }
        }
    }
    EXPECT_GT(inkPixels, 200);
}

TEST_F(RealFrameTest, StarsAreWhitePointsOnABlackBackground) {
    RenderAndRead();
    std::vector<Box> objects = ObjectBoxes();
    std::vector<bool> star(static_cast<std::size_t>(kWidth * kHeight), false);
    int checked = 0;
    for (int i = 0; i < app.starField->count; ++i) {
        int x = app.starField->stars[i]->GetX();
        int y = app.starField->stars[i]->GetY();
        if (x >= kWidth || y >= kHeight) continue;  // on the top or right border
        star[static_cast<std::size_t>(y * kWidth + x)] = true;
        if (y >= 752 || InsideAny(objects, x, y)) continue;
        EXPECT_EQ(Grey(x, y), 255) << "star " << i << " at " << x << ", " << y;
        ++checked;
    }
    EXPECT_GT(checked, 100);

    int stray = 0;
    for (int y = 0; y < 752; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (star[static_cast<std::size_t>(y * kWidth + x)] || InsideAny(objects, x, y)) {
                continue;
            }
            if (Grey(x, y) != 0) ++stray;
        }
    }
    EXPECT_EQ(stray, 0) << "pixels lit away from every star and object";
}

TEST_F(RealFrameTest, ShipFadesInAtTheCentreInGrey) {
    RenderAndRead();  // first frame: 60 ticks of protection left, grey 15
    Box ship = BoxOf(*app.ship);
    int grey15 = 0, other = 0;
    for (int y = ship.bottom; y <= ship.top; ++y) {
        for (int x = ship.left; x <= ship.right; ++x) {
            ASSERT_TRUE(IsGrey(x, y));
            int g = Grey(x, y);
            if (g == 15)
                ++grey15;
            else if (g != 0 && g != 255)
                ++other;
        }
    }
    EXPECT_GT(grey15, 20);
    EXPECT_EQ(other, 0);
    EXPECT_TRUE(ship.Holds(512, 384));

    app.ship->invulnerable = 0;
    RenderAndRead();
    int white = 0;
    for (int y = ship.bottom; y <= ship.top; ++y) {
        for (int x = ship.left; x <= ship.right; ++x) white += Grey(x, y) == 255;
    }
    EXPECT_GT(white, 20);
}

TEST_F(RealFrameTest, GameOverTextIsCentred) {
    app.ship->alive = false;
    app.GameOver();
    RenderAndRead();
    // "game over" spans x 440 to 583 on the row band 400 to 415; nothing of
    // the top line is left.
    int lit = 0;
    for (int y = 400; y < 416; ++y) {
        for (int x = 440; x < 584; ++x) lit += Grey(x, y) == 255;
    }
    EXPECT_GT(lit, 100);
    for (int x = 0; x < kWidth; ++x) {
        for (int y = 752; y < kHeight; ++y) {
            if (Grey(x, y) == 255) {
                // Only stars or asteroids may be up there now.
                bool explained = InsideAny(ObjectBoxes(), x, y);
                for (int i = 0; i < app.starField->count && !explained; ++i) {
                    explained = app.starField->stars[i]->GetX() == x &&
                                app.starField->stars[i]->GetY() == y;
                }
                EXPECT_TRUE(explained) << x << ", " << y;
            }
        }
    }
}

// In a replay the shell writes its own line where the game offers a new game:
// that row of the game-over frame then reads exactly as the shell's line
// drawn alone on black, with nothing of the game's longer line left.
TEST_F(RealFrameTest, AReplaysLineReplacesTheGamesOfferOfANewGame) {
    const char* line = "end of replay: b goes back";  // shorter than the game's
    const TextFont text;
    app.ship->alive = false;
    app.GameOver();
    app.DrawFrame();
    ReplaceContinuePrompt(text, line);
    glFinish();
    std::vector<unsigned char> replaced(static_cast<std::size_t>(kWidth * kHeight * 4));
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, replaced.data());

    glClear(GL_COLOR_BUFFER_BIT);
    DrawCentred(text, 336, line);
    glFinish();
    pixels.assign(replaced.size(), 0);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    // The game's prompt spans x 288 to 735.
    int differing = 0;
    int lit = 0;
    for (int y = 336; y < 352; ++y) {
        for (int x = 288; x < 736; ++x) {
            const std::size_t at = static_cast<std::size_t>(4 * (y * kWidth + x));
            differing += replaced[at] != pixels[at];
            lit += pixels[at] == 255;
        }
    }
    EXPECT_GT(lit, 100) << "the line was not drawn";
    EXPECT_EQ(differing, 0);
}

// ---------------------------------------------------------------------------
// The accessibility options at their extremes

TEST_F(RealFrameTest, TripleLineWidthThickensEveryOutlineButNotTheStars) {
    GameWindow window(app);
    RenderAndRead();
    const std::vector<Box> objects = ObjectBoxes();
    const int thin = LitPixels(objects, true);
    const int stars = LitPixels(objects, false);
    window.SetLineWidth(3.0f);
    RenderAndRead();
    const int thick = LitPixels(objects, true);
    std::printf("outline pixels: %d at width 1, %d at width 3\n", thin, thick);
    EXPECT_GT(thick, 2 * thin);
    EXPECT_EQ(LitPixels(objects, false), stars) << "the stars kept their size";
}

TEST_F(RealFrameTest, DimStarsAreAThirdAsBrightAndHiddenOnesAreGone) {
    FaintStars faint(Accessibility::Stars::kDim);
    app.starPainter = &faint;
    RenderAndRead();
    const std::vector<Box> objects = ObjectBoxes();
    int checked = 0;
    for (int i = 0; i < app.starField->count; ++i) {
        const int x = app.starField->stars[i]->GetX();
        const int y = app.starField->stars[i]->GetY();
        if (x >= kWidth || y >= 752 || InsideAny(objects, x, y)) continue;
        EXPECT_NEAR(Grey(x, y), 85, 1) << "star " << i;
        ++checked;
    }
    EXPECT_GT(checked, 100);

    faint.stars = Accessibility::Stars::kOff;
    RenderAndRead();
    EXPECT_EQ(LitPixels(objects, false), 0) << "a star was drawn";
    app.starPainter = nullptr;
}

TEST_F(RealFrameTest, RingsMarkTheSaucerWhileShownAndEveryPhoton) {
    app.ship->invulnerable = 0;
    app.FirePhoton();
    CPhoton* photon = app.photons[app.photonIndex];
    photon->x = 200;
    photon->y = -150;
    app.saucer->alive = true;
    app.saucer->x = -200;
    app.saucer->y = 150;
    const int saucerX = 312, saucerY = 534, photonX = 712, photonY = 234;
    const int saucerRing = static_cast<int>(ObjectRings::kSaucerRadius);
    const int photonRing = static_cast<int>(ObjectRings::kPhotonRadius);
    const std::pair<int, int> directions[] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};

    ObjectRings rings;
    rings.saucer = true;
    rings.photons = true;
    const ObjectRings* const withoutAndWith[] = {nullptr, &rings};
    for (const ObjectRings* drawn : withoutAndWith) {
        RenderAndRead(drawn);
        const bool ringed = drawn != nullptr;
        for (const auto& [dx, dy] : directions) {
            EXPECT_EQ(LitNear(saucerX + dx * saucerRing, saucerY + dy * saucerRing), ringed);
            EXPECT_EQ(LitNear(photonX + dx * photonRing, photonY + dy * photonRing), ringed);
        }
        // The photon's own outline is 3 pixels across; the larger dot, 6.
        EXPECT_EQ(Grey(photonX + 2, photonY + 2) == 255, ringed);
        EXPECT_EQ(Grey(photonX - 3, photonY - 3) == 255, ringed);
    }

    // Hidden while the ship is protected, the saucer gets no ring either.
    app.ship->invulnerable = 30;
    RenderAndRead(&rings);
    for (const auto& [dx, dy] : directions) {
        EXPECT_FALSE(LitNear(saucerX + dx * saucerRing, saucerY + dy * saucerRing));
        EXPECT_TRUE(LitNear(photonX + dx * photonRing, photonY + dy * photonRing));
    }
}

}  // namespace
