// Plays a scripted game headless with the real renderer and saves a frame in
// which the whole cast is on screen (photons, the beam, the saucer, debris)
// as a PNG. Usage: korvessa_screenshot [output.png]  (default docs/screenshot.png)

#include <GL/gl.h>
#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "game/GameApp.h"
#include "objects/Explosion.h"
#include "objects/Laser.h"
#include "objects/Photon.h"
#include "objects/Random.h"
#include "objects/Ship.h"
#include "objects/UFO.h"
#include "tools/PngWriter.h"

namespace {

constexpr unsigned kSeed = 20261208;
constexpr int kMaxTicks = 100000;
constexpr int kWidth = GameApp::kWindowWidth;
constexpr int kHeight = GameApp::kWindowHeight;

void Release(GameApp& app, SDL_Keycode key) {
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_KEYUP;
    event.key.keysym.sym = key;
    app.HandleEvent(event);
}

// The player keeps turning left and firing; the laser goes off now and then.
void Play(GameApp& app, int tick) {
    app.input = GameApp::kInputLeft;
    if (tick % 5 == 0) Release(app, SDLK_SPACE);
    if (tick % 90 == 0) Release(app, SDLK_LALT);
}

int LivePhotons(const GameApp& app) {
    int live = 0;
    for (const CPhoton* photon : app.photons) live += photon != nullptr && photon->alive;
    return live;
}

int LiveDebris(const GameApp& app) {
    int live = 0;
    for (const CExplosion* debris : app.explosions) live += debris != nullptr && debris->alive;
    return live;
}

bool WorthAPicture(const GameApp& app) {
    bool saucerShown = app.saucer->alive && app.ship->alive && app.ship->invulnerable <= 0 &&
                       std::abs(app.saucer->x) < 480 && std::abs(app.saucer->y) < 340;
    return app.running && saucerShown && app.laser->alive && LivePhotons(app) >= 3 &&
           LiveDebris(app) >= 6;
}

// The frame as RGB rows, top row first.
std::vector<unsigned char> ReadFrame() {
    std::vector<unsigned char> bottomUp(static_cast<std::size_t>(kWidth * kHeight * 3));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<unsigned char> topDown(bottomUp.size());
    const std::size_t row = static_cast<std::size_t>(kWidth * 3);
    for (int y = 0; y < kHeight; ++y) {
        std::copy(bottomUp.begin() + y * row, bottomUp.begin() + (y + 1) * row,
                  topDown.begin() + (kHeight - 1 - y) * row);
    }
    return topDown;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string path = argc > 1 ? argv[1] : "docs/screenshot.png";
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    try {
        GameApp app;
        app.OpenWindow(kWidth, kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
        app.SetProjection(kWidth, kHeight);
        SeedRandom(kSeed);
        app.InitGame();
        // Frames are drawn but never presented: they stay in the back buffer to be read.
        for (int tick = 0; tick < kMaxTicks; ++tick) {
            Play(app, tick);
            app.UpdateGame();
            app.DrawFrame();
            if (!WorthAPicture(app)) continue;
            glFinish();
            std::string error;
            if (!WritePng(path, kWidth, kHeight, 3, ReadFrame(), error)) {
                std::fprintf(stderr, "korvessa_screenshot: %s\n", error.c_str());
                return 1;
            }
            std::printf("wrote %s (tick %d, score %d)\n", path.c_str(), tick, app.score);
            return 0;
        }
        std::fprintf(stderr, "korvessa_screenshot: no frame worth a picture\n");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "korvessa_screenshot: %s\n", error.what());
    }
    return 1;
}
