// The frame and its text.

#include <GL/gl.h>

#include <cstdio>
#include <cstring>

#include "game/GameApp.h"
#include "game/StarPainter.h"
#include "gfx/BitmapFont.h"
#include "gfx/StarField.h"
#include "objects/Asteroid.h"
#include "objects/Explosion.h"
#include "objects/Laser.h"
#include "objects/Photon.h"
#include "objects/Ship.h"
#include "objects/UFO.h"

namespace {

constexpr int kTextBufferSize = 255;
constexpr int kGlyphSize = CBitmapFont::kCellSize;
constexpr int kTopLineY = GameApp::kWindowHeight - kGlyphSize;
constexpr int kGameOverY = 400;
constexpr int kFinalScoreY = 368;
constexpr int kContinueY = 336;
constexpr int kDebrisBrightnessPerTick = 8;
constexpr int kFadeInPerTick = 4;

// Text x positions, in whole pixels.
int RightAligned(int len) { return (GameApp::kWindowWidth / kGlyphSize - len) * kGlyphSize; }
int Centred(int len) { return GameApp::kWindowWidth / 2 - (kGlyphSize * len) / 2; }

}  // namespace

void GameApp::Render() {
    DrawFrame();
    Present();
}

void GameApp::DrawFrame() {
    // The clear colour is never set, so every frame starts black.
    glClear(GL_COLOR_BUFFER_BIT);
    if (starPainter != nullptr) {
        starPainter->DrawStars(*starField);
    } else {
        starField->Draw();
    }
    RenderObjects();
    RenderText();
}

void GameApp::Present() {
    if (window == nullptr) return;
    // A swap does not always flush: on an offscreen (pbuffer) surface it
    // presents nothing, and the driver then queues frame after frame without
    // bound. Flushing first keeps memory flat on every driver.
    glFlush();
    SDL_GL_SwapWindow(window);
}

void GameApp::RenderObjects() {
    // Later drawing covers earlier drawing: debris lies over every object.
    for (CPhoton* photon : photons) {
        if (photon != nullptr && photon->alive) photon->Draw(kFullBrightness);
    }
    if (laser->alive) laser->Draw(kFullBrightness);
    for (CAsteroid* asteroid : asteroids) {
        if (asteroid != nullptr && asteroid->alive) asteroid->Draw(kFullBrightness);
    }
    // The saucer stays hidden while the ship is destroyed or protected.
    if (saucer->alive && ship->invulnerable <= 0 && ship->alive) saucer->Draw(kFullBrightness);
    // A respawned ship fades in while its protection runs out.
    if (ship->alive) ship->Draw(kFullBrightness - kFadeInPerTick * ship->invulnerable);
    for (CExplosion* debris : explosions) {
        if (debris != nullptr && debris->alive) {
            debris->Draw(kDebrisBrightnessPerTick * debris->timer);
        }
    }
}

void GameApp::RenderText() {
    char text[kTextBufferSize];
    auto format = [&text](const char* pattern, int value) {
        std::snprintf(text, sizeof text, pattern, value);
        return static_cast<int>(std::strlen(text));
    };
    if (running) {
        int len = format("laser %d", laser->GetCharges());
        font->DrawText(RightAligned(len), kTopLineY, text);
        len = format("score %d", score);
        font->DrawText(Centred(len), kTopLineY, text);
        format("lives %d", ship->GetLives());
        font->DrawText(0, kTopLineY, text);
        return;
    }
    const char* gameOver = "game over";
    font->DrawText(Centred(static_cast<int>(std::strlen(gameOver))), kGameOverY, gameOver);
    int len = format("score %d", score);
    font->DrawText(Centred(len), kFinalScoreY, text);
    const char* prompt = "press space bar for continue";
    font->DrawText(Centred(static_cast<int>(std::strlen(prompt))), kContinueY, prompt);
}
