#include "game/GameApp.h"

#include <GL/gl.h>

#include <ctime>
#include <stdexcept>
#include <string>

#include "game/GameListener.h"
#include "game/Slots.h"
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

// The subsystems start-up asks for. The game itself needs only the first
// three (sound and controllers start their own subsystems, and live without
// them), so when the full set cannot be had it settles for those rather than
// refusing to run.
constexpr Uint32 kFullInitFlags = SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO |
                                  SDL_INIT_JOYSTICK | SDL_INIT_HAPTIC | SDL_INIT_GAMECONTROLLER |
                                  SDL_INIT_EVENTS;
constexpr Uint32 kNeededInitFlags = SDL_INIT_TIMER | SDL_INIT_VIDEO | SDL_INIT_EVENTS;

std::runtime_error SdlError(const char* what) {
    return std::runtime_error(std::string(what) + ": " + SDL_GetError());
}

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
      sdlStarted(false),
      listener(nullptr),
      starPainter(nullptr) {
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
        if (ship->alive) FireLaser();
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
