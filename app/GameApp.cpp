#include "app/GameApp.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

#include "gfx/BitmapFont.h"
#include "gfx/StarField.h"
#include "objects/Asteroid.h"
#include "objects/Explosion.h"
#include "objects/Laser.h"
#include "objects/Photon.h"
#include "objects/Random.h"
#include "objects/Ship.h"
#include "objects/UFO.h"

namespace {

// The subsystems start-up asks for. The game makes no sound and reads no
// controller, so when the full set cannot be had it settles for the ones it
// really needs rather than refusing to run.
constexpr Uint32 kFullInitFlags = SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO |
                                  SDL_INIT_JOYSTICK | SDL_INIT_HAPTIC | SDL_INIT_GAMECONTROLLER |
                                  SDL_INIT_EVENTS;
constexpr Uint32 kNeededInitFlags = SDL_INIT_TIMER | SDL_INIT_VIDEO | SDL_INIT_EVENTS;

constexpr int kTextBufferSize = 255;
constexpr int kGlyphSize = CBitmapFont::kCellSize;
constexpr int kTopLineY = GameApp::kWindowHeight - kGlyphSize;
constexpr int kGameOverY = 400;
constexpr int kFinalScoreY = 368;
constexpr int kContinueY = 336;
constexpr int kDebrisBrightnessPerTick = 8;
constexpr int kFadeInPerTick = 4;

std::runtime_error SdlError(const char* what) {
    return std::runtime_error(std::string(what) + ": " + SDL_GetError());
}

// Deletes whatever a slot holds, alive or not, and puts `fresh` in its place.
template <typename T>
void Replace(T*& slot, T* fresh) {
    delete slot;
    slot = fresh;
}

template <typename T, int N>
void DeleteAll(T* (&slots)[N]) {
    for (T*& slot : slots) Replace(slot, static_cast<T*>(nullptr));
}

// Advances a ring index; filling takes the slot it reaches.
int NextSlot(int index, int slots) {
    index += 1;
    return index == slots ? 0 : index;
}

// Text x positions, in whole pixels.
int RightAligned(int len) { return (GameApp::kWindowWidth / kGlyphSize - len) * kGlyphSize; }
int Centred(int len) { return GameApp::kWindowWidth / 2 - (kGlyphSize * len) / 2; }

}  // namespace

Uint32 TimerCallback(Uint32 interval, void* /*param*/) {
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_USEREVENT;
    event.user.code = GameApp::kTickEventCode;
    event.user.data1 = nullptr;
    event.user.data2 = nullptr;
    SDL_PushEvent(&event);
    return interval;
}

GameApp::GameApp()
    : window(nullptr),
      glContext(nullptr),
      timerId(0),
      quit(false),
      ship(nullptr),
      starField(nullptr),
      saucer(nullptr),
      font(nullptr),
      laser(nullptr),
      asteroids(),
      photons(),
      explosions(),
      input(0),
      asteroidSpeed(0),
      asteroidsLeft(0),
      score(0),
      nextSaucerScore(0),
      photonIndex(0),
      explosionIndex(0),
      running(false),
      sdlStarted(false) {
    SeedRandom(static_cast<unsigned int>(std::time(nullptr)));
}

GameApp::~GameApp() {
    Shutdown();
    DeleteObjects();
}

void GameApp::DeleteObjects() {
    DeleteAll(explosions);
    DeleteAll(photons);
    DeleteAll(asteroids);
    Replace(laser, static_cast<CLaser*>(nullptr));
    Replace(font, static_cast<CBitmapFont*>(nullptr));
    Replace(saucer, static_cast<CUFO*>(nullptr));
    Replace(starField, static_cast<CStarField*>(nullptr));
    Replace(ship, static_cast<CShip*>(nullptr));
}

// ---------------------------------------------------------------------------
// Start-up, event loop and shutdown

void GameApp::Init() {
    OpenWindow(kWindowWidth, kWindowHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    SetProjection(static_cast<float>(kWindowWidth), static_cast<float>(kWindowHeight));
    StartTimer();
    InitGame();
}

void GameApp::OpenWindow(int width, int height, Uint32 flags) {
    if (SDL_Init(kFullInitFlags) != 0 && SDL_Init(kNeededInitFlags) != 0) {
        throw SdlError("cannot initialise SDL");
    }
    sdlStarted = true;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    window = SDL_CreateWindow("Korvessa", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width,
                              height, flags);
    if (window == nullptr) throw SdlError("cannot open the game window");
    glContext = SDL_GL_CreateContext(window);
    if (glContext == nullptr) throw SdlError("cannot create an OpenGL context");
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
}

void GameApp::SetProjection(float width, float height) {
    // Applied once to the current (model-view) matrix and kept for the run:
    // one unit is one pixel, (0, 0) at the lower-left corner.
    glOrtho(0, width, 0, height, -1, 1);
}

void GameApp::StartTimer() {
    timerId = SDL_AddTimer(kTickInterval, TimerCallback, this);
    if (timerId == 0) throw SdlError("cannot start the game timer");
}

void GameApp::InitGame() {
    font = new CBitmapFont;
    starField = new CStarField;
    ship = new CShip;
    saucer = new CUFO;
    laser = new CLaser;
    DeleteAll(asteroids);
    DeleteAll(photons);
    DeleteAll(explosions);
    NewGame();
}

void GameApp::Run() {
    SDL_Event event;
    while (!quit) {
        if (SDL_WaitEvent(&event) == 0) return;
        HandleEvent(event);
    }
}

void GameApp::HandleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            quit = true;
            break;
        case SDL_KEYDOWN:
            HandleKeyDown(event.key.keysym.sym);
            break;
        case SDL_KEYUP:
            HandleKeyUp(event.key.keysym.sym);
            break;
        case SDL_USEREVENT:
            HandleUserEvent(event);
            break;
        default:
            break;
    }
}

namespace {

unsigned InputBit(SDL_Keycode key) {
    switch (key) {
        case SDLK_UP:
            return GameApp::kInputUp;
        case SDLK_DOWN:
            return GameApp::kInputDown;
        case SDLK_LEFT:
            return GameApp::kInputLeft;
        case SDLK_RIGHT:
            return GameApp::kInputRight;
        default:
            return 0;
    }
}

}  // namespace

void GameApp::HandleKeyDown(SDL_Keycode key) {
    // Weapons fire on release only, so a held key fires nothing.
    input |= InputBit(key);
}

void GameApp::HandleKeyUp(SDL_Keycode key) {
    input &= ~InputBit(key);
    if (key == SDLK_SPACE) {
        if (ship->alive) FirePhoton();
        if (!running) NewGame();
    } else if (key == SDLK_LALT || key == SDLK_RALT) {
        if (ship->alive) laser->Fire();
    }
}

void GameApp::HandleUserEvent(const SDL_Event& event) {
    if (event.user.code == kTickEventCode) Tick();
}

void GameApp::Shutdown() {
    // Each handle is cleared as it is released, so a second call is harmless.
    if (timerId != 0) {
        SDL_RemoveTimer(timerId);
        timerId = 0;
    }
    if (glContext != nullptr) {
        SDL_GL_DeleteContext(glContext);
        glContext = nullptr;
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    if (sdlStarted) {
        SDL_Quit();
        sdlStarted = false;
    }
}

// ---------------------------------------------------------------------------
// The tick and its rules

void GameApp::Tick() {
    UpdateGame();
    Render();
}

void GameApp::UpdateGame() {
    if (input & kInputLeft) ship->Rotate(1);
    if (input & kInputRight) ship->Rotate(-1);
    if (input & kInputUp) ship->Thrust(1);
    if (input & kInputDown) ship->Thrust(-1);
    UpdateShip();
    UpdatePhotons();
    laser->Update(*ship);
    UpdateSaucer();
    UpdateAsteroids();
    UpdateExplosions();
    // The schedule runs after the hit tests, so a saucer owed while another
    // was flying is launched in the tick in which that one leaves.
    if (running && score > nextSaucerScore && !saucer->alive) {
        nextSaucerScore += kSaucerScoreStep;
        saucer->SpeedUp();
        saucer->Launch();
    }
    if (asteroidsLeft <= 0) NewWave();
}

void GameApp::UpdateShip() {
    if (ship->alive) {
        ship->Move();
        if (ship->invulnerable > 0) ship->invulnerable -= 1;
        return;
    }
    if (ship->CountDown()) {
        if (ship->GetLives() > 0) {
            ship->Respawn();
        } else {
            GameOver();
        }
    }
}

void GameApp::UpdatePhotons() {
    for (CPhoton* photon : photons) {
        if (photon != nullptr && photon->alive) photon->Move();
    }
}

void GameApp::UpdateSaucer() {
    if (!saucer->alive) return;
    saucer->Aim(*ship);
    saucer->Move();

    // A photon that hits the saucer is not used up: it flies on and may still
    // destroy an asteroid in this same tick.
    bool hit = false;
    for (CPhoton* photon : photons) {
        if (photon != nullptr && photon->alive && saucer->Collides(*photon)) hit = true;
    }
    if (!hit && laser->alive && saucer->Collides(*laser)) hit = true;
    if (hit) {
        SpawnExplosion(*saucer);
        saucer->Deactivate();
        score += kSaucerPoints;
    }

    // Ramming the ship destroys both; the saucer leaves no debris or points.
    if (saucer->alive && ship->alive && ship->invulnerable <= 0 && saucer->Collides(*ship)) {
        SpawnExplosion(*ship);
        ship->Die();
        saucer->Deactivate();
    }
}

void GameApp::UpdateAsteroids() {
    for (int i = 0; i < kAsteroidSlots; ++i) {
        CAsteroid* asteroid = asteroids[i];
        if (asteroid == nullptr || !asteroid->alive) continue;
        asteroid->Move();

        // Every photon touching the asteroid is used up, not only the first.
        bool hit = false;
        for (CPhoton* photon : photons) {
            if (photon != nullptr && photon->alive && asteroid->Collides(*photon)) {
                photon->alive = false;
                hit = true;
            }
        }
        // The beam is not used up: it can destroy several objects in a tick.
        if (!hit && laser->alive && asteroid->Collides(*laser)) hit = true;

        if (hit) {
            asteroidsLeft -= 1;
            asteroid->alive = false;
            SpawnExplosion(*asteroid);
            if (asteroid->IsSmall()) {
                score += kSmallAsteroidPoints;
            } else {
                score += kLargeAsteroidPoints;
                SplitAsteroid(i);  // may delete `asteroid` and refill slot i
            }
        }

        // The ship is tested against whatever the slot holds now, which may be
        // a fresh fragment.
        CAsteroid* current = asteroids[i];
        if (ship->alive && ship->invulnerable <= 0 && current->alive && current->Collides(*ship)) {
            SpawnExplosion(*ship);
            ship->Die();
            saucer->Deactivate();
        }
    }
}

void GameApp::UpdateExplosions() {
    for (CExplosion* debris : explosions) {
        if (debris == nullptr || !debris->alive) continue;
        debris->Move();
        if (debris->CountDown()) debris->alive = false;
    }
}

void GameApp::SplitAsteroid(int slot) {
    const int x = static_cast<int>(asteroids[slot]->x);
    const int y = static_cast<int>(asteroids[slot]->y);
    // The search always starts at slot 0, and the shot asteroid's own slot
    // is free too, so a full wave yields a single fragment.
    int placed = 0;
    for (int j = 0; j < kAsteroidSlots && placed < 2; ++j) {
        if (asteroids[j] != nullptr && asteroids[j]->alive) continue;
        Replace(asteroids[j], new CAsteroid(asteroidSpeed, x, y));
        placed += 1;
        asteroidsLeft += 1;
    }
}

void GameApp::SpawnExplosion(CBaseObject& object) {
    // One segment per edge: the count comes from the outline as drawn, the
    // ends from the unrotated model. The model never has fewer points than
    // the drawn outline, but it is never read past its end either.
    std::vector<CPoint*> ends = object.model->Points();
    int n = object.world != nullptr ? object.world->Count() : 0;
    if (n > static_cast<int>(ends.size())) n = static_cast<int>(ends.size());
    const int x = static_cast<int>(object.x);
    const int y = static_cast<int>(object.y);
    const int angle = static_cast<int>(object.angle);
    for (int k = 0; k < n; ++k) {
        explosionIndex = NextSlot(explosionIndex, kExplosionSlots);
        Replace(explosions[explosionIndex],
                new CExplosion(x, y, angle, *ends[k], *ends[(k + 1) % n]));
    }
}

void GameApp::FirePhoton() {
    // The seventh shot takes the slot of the oldest.
    photonIndex = NextSlot(photonIndex, kPhotonSlots);
    Replace(photons[photonIndex], new CPhoton(*ship));
}

void GameApp::NewWave() {
    for (CAsteroid*& slot : asteroids) Replace(slot, new CAsteroid(asteroidSpeed));
    asteroidsLeft = kAsteroidSlots;
    if (asteroidSpeed < kTopAsteroidSpeed) asteroidSpeed += 1;
}

void GameApp::NewGame() {
    // The saucer's speed, the laser's recharge countdown and the held keys
    // carry over from the last game.
    photonIndex = 0;
    score = 0;
    nextSaucerScore = kSaucerScoreStep;
    asteroidSpeed = kStartAsteroidSpeed;
    ship->Reset();
    laser->SetCharges(kStartLaserCharges);
    ClearPhotons();
    NewWave();
    ClearExplosions();
    running = true;
}

void GameApp::GameOver() {
    running = false;
    saucer->Deactivate();
}

void GameApp::ClearPhotons() {
    photonIndex = 0;
    DeleteAll(photons);
}

void GameApp::ClearExplosions() {
    DeleteAll(explosions);
    explosionIndex = 0;
}

// ---------------------------------------------------------------------------
// The frame

void GameApp::Render() {
    // The clear colour is never set, so every frame starts black.
    glClear(GL_COLOR_BUFFER_BIT);
    starField->Draw();
    RenderObjects();
    RenderText();
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
