#include <GL/gl.h>

#include <string>
#include <vector>

#include "gfx/BitmapFont.h"
#include "gfx/StarField.h"
#include "tests/game/GameAppFixture.h"

namespace {

struct TextBlock {
    double x;
    double y;
    int chars;
};

// Each DrawText is one block of quads: where it starts and how long it is.
std::vector<TextBlock> TextBlocks() {
    std::vector<TextBlock> blocks;
    for (int n = 0;; ++n) {
        auto vertices = recgl::Vertices(GL_QUADS, n);
        if (vertices.empty()) {
            // An empty text would be a block too; the game draws none.
            if (n >= static_cast<int>(recgl::CallsNamed("glEnable").size())) break;
            continue;
        }
        blocks.push_back(
            {vertices[0].first, vertices[0].second, static_cast<int>(vertices.size() / 4)});
    }
    return blocks;
}

using Outline = std::vector<std::pair<double, double>>;

Outline WorldOf(const CBaseObject* object) {
    Outline outline;
    for (const CPoint* p : object->world->Points()) outline.emplace_back(p->GetX(), p->GetY());
    return outline;
}

// One letter per drawn object, in drawing order, told apart by matching the
// polygon each Draw sent with the outlines the objects now hold: p photon,
// L laser, a asteroid, u saucer, s ship, d debris.
std::string ObjectOrder(const GameApp& app) {
    std::vector<std::pair<char, Outline>> known;
    for (const CPhoton* photon : app.photons) {
        if (photon != nullptr) known.emplace_back('p', WorldOf(photon));
    }
    for (const CAsteroid* asteroid : app.asteroids) known.emplace_back('a', WorldOf(asteroid));
    known.emplace_back('u', WorldOf(app.saucer));
    known.emplace_back('s', WorldOf(app.ship));
    for (const CExplosion* debris : app.explosions) {
        if (debris != nullptr) known.emplace_back('d', WorldOf(debris));
    }

    std::string order;
    const auto& calls = recgl::Calls();
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].name != "glPushMatrix") continue;
        if (calls[i + 2].name == "glBegin" && calls[i + 2].args[0] == GL_LINES) {
            order += 'L';  // the beam draws no polygon
            continue;
        }
        Outline polygon;
        for (std::size_t j = i + 3; calls[j].name == "glVertex2f"; ++j) {
            polygon.emplace_back(calls[j].args[0], calls[j].args[1]);
        }
        char letter = '?';
        for (const auto& candidate : known) {
            if (candidate.second == polygon) letter = candidate.first;
        }
        order += letter;
    }
    return order;
}

// Grey levels of the outlines of each drawn object, in drawing order.
std::vector<double> OutlineGreys() {
    std::vector<double> greys;
    const auto& calls = recgl::Calls();
    for (std::size_t i = 0; i + 1 < calls.size(); ++i) {
        if (calls[i].name == "glColor3f" && calls[i + 1].name == "glBegin" &&
            calls[i + 1].args[0] == GL_LINES) {
            greys.push_back(calls[i].args[0]);
        }
    }
    return greys;
}

TEST_F(GameAppTest, FrameStartsWithClearAndStarsAndEndsWithTheTopLine) {
    app.Render();
    std::vector<std::string> names = recgl::Names();
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ(names[0], "glClear");
    EXPECT_EQ(recgl::Calls()[0].args[0], GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(names[1], "glPointSize");
    EXPECT_EQ(names.back(), "glDisable");  // the last text

    // At the start of a game: asteroids, then the fading-in ship.
    EXPECT_EQ(ObjectOrder(app), "aaaaaaaas");
    std::vector<TextBlock> texts = TextBlocks();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].x, 912);  // "laser 2" ends at the right edge
    EXPECT_EQ(texts[1].x, 456);  // "score 0" centred
    EXPECT_EQ(texts[2].x, 0);    // "lives 3"
    for (const TextBlock& text : texts) {
        EXPECT_EQ(text.y, 752);
        EXPECT_EQ(text.chars, 7);
    }
}

TEST_F(GameAppTest, EverythingIsDrawnInItsFixedOrder) {
    PlacePhoton(10, 10);
    app.laser->alive = true;
    PlaceSaucer(-200, 200);
    app.ship->invulnerable = 0;
    app.SpawnExplosion(*app.ship);  // never drawn yet: no debris
    app.ship->Draw(255);
    app.SpawnExplosion(*app.ship);  // three segments each
    app.SpawnExplosion(*app.ship);
    recgl::Reset();
    app.Render();
    EXPECT_EQ(ObjectOrder(app), "pLaaaaaaaausdddddd");
}

TEST_F(GameAppTest, BrightnessFollowsProtectionAndFade) {
    app.ship->Draw(255);
    app.SpawnExplosion(*app.ship);
    app.explosions[1]->timer = 29;
    app.explosions[2]->timer = 0;
    app.explosions[3]->alive = false;
    recgl::Reset();
    app.Render();  // the ship has its full 60 ticks of protection
    std::vector<double> greys = OutlineGreys();
    ASSERT_EQ(greys.size(), 8u + 1u + 2u);
    EXPECT_EQ(greys[8], static_cast<float>(15 / 255.0));
    EXPECT_EQ(greys[9], static_cast<float>(232 / 255.0));
    EXPECT_EQ(greys[10], 0.0);

    app.ship->invulnerable = 0;
    recgl::Reset();
    app.Render();
    EXPECT_EQ(OutlineGreys()[8], 1.0);
}

TEST_F(GameAppTest, SaucerIsHiddenWhileTheShipIsProtectedOrDestroyed) {
    PlaceSaucer(100, 100);
    app.ship->invulnerable = 1;
    recgl::Reset();
    app.Render();
    EXPECT_EQ(ObjectOrder(app), "aaaaaaaas");

    app.ship->invulnerable = 0;
    app.ship->alive = false;
    recgl::Reset();
    app.Render();
    EXPECT_EQ(ObjectOrder(app), "aaaaaaaa");

    app.ship->alive = true;
    recgl::Reset();
    app.Render();
    EXPECT_EQ(ObjectOrder(app), "aaaaaaaaus");
}

TEST_F(GameAppTest, TopLineTextsMoveWithTheirLength) {
    app.laser->SetCharges(10);
    app.score = 12345;
    app.ship->lives = 0;
    app.Render();
    std::vector<TextBlock> texts = TextBlocks();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].x, 896);  // "laser 10": 8 characters
    EXPECT_EQ(texts[0].chars, 8);
    EXPECT_EQ(texts[1].x, 512 - 8 * 11);  // "score 12345"
    EXPECT_EQ(texts[2].chars, 7);         // "lives 0"
}

TEST_F(GameAppTest, GameOverScreenShowsItsThreeCentredLines) {
    app.score = 1275;
    app.GameOver();
    app.ship->alive = false;
    app.Render();
    std::vector<TextBlock> texts = TextBlocks();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].x, 440);  // "game over"
    EXPECT_EQ(texts[0].y, 400);
    EXPECT_EQ(texts[0].chars, 9);
    EXPECT_EQ(texts[1].x, 512 - 8 * 10);  // "score 1275"
    EXPECT_EQ(texts[1].y, 368);
    EXPECT_EQ(texts[2].x, 288);  // "press space bar for continue"
    EXPECT_EQ(texts[2].y, 336);
    EXPECT_EQ(texts[2].chars, 28);
    EXPECT_EQ(ObjectOrder(app), "aaaaaaaa");  // no ship, no saucer
}

TEST_F(GameAppTest, RenderChangesNoGameStateButTheOutlines) {
    app.ship->invulnerable = 0;
    int score = app.score;
    double x = app.ship->x;
    app.Render();
    EXPECT_EQ(app.score, score);
    EXPECT_EQ(app.ship->x, x);
    EXPECT_EQ(app.ship->world->Count(), 3);
}

}  // namespace
