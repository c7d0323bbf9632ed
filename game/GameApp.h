// The application: window, timer, event loop, the rules of each tick and the
// drawing of each frame.
#pragma once

#include <SDL.h>

#include "objects/BaseObject.h"

class GameListener;
class StarPainter;
class CShip;
class CStarField;
class CUFO;
class CBitmapFont;
class CLaser;
class CAsteroid;
class CPhoton;
class CExplosion;
class CBaseObject;

// Pushes one tick event (SDL_USEREVENT, code 1) and asks to be called again
// after the same interval. Runs on SDL's timer thread and touches no game
// state.
Uint32 TimerCallback(Uint32 interval, void* param);

// Owns every resource and every object of the run. Fields are public, like
// those of the game objects: tests and tools read and set them directly.
//
// A GameApp on which only InitGame() ran (no window, no timer) can run ticks
// and be destroyed cleanly.
class GameApp {
public:
    static constexpr int kWindowWidth = kPlayfieldWidth;
    static constexpr int kWindowHeight = kPlayfieldHeight;
    static constexpr Uint32 kTickInterval = 30;  // milliseconds
    static constexpr int kTickEventCode = 1;

    static constexpr int kAsteroidSlots = 8;
    static constexpr int kPhotonSlots = 6;
    static constexpr int kExplosionSlots = 20;

    // Bits of `input`, set while the key is held.
    static constexpr unsigned kInputUp = 0x01;
    static constexpr unsigned kInputDown = 0x02;
    static constexpr unsigned kInputLeft = 0x04;
    static constexpr unsigned kInputRight = 0x08;

    static constexpr int kStartAsteroidSpeed = 2;
    static constexpr int kTopAsteroidSpeed = 12;
    static constexpr int kSaucerScoreStep = 1000;
    static constexpr int kStartLaserCharges = 2;
    static constexpr int kSaucerPoints = 250;
    static constexpr int kLargeAsteroidPoints = 25;
    static constexpr int kSmallAsteroidPoints = 50;

    // Seeds the random generator once from the current time.
    GameApp();
    virtual ~GameApp();

    GameApp(const GameApp&) = delete;
    GameApp& operator=(const GameApp&) = delete;

    // Start-up: window and GL context, projection, timer, then InitGame().
    // Throws std::runtime_error with a one-line message when SDL, the window,
    // the GL context, the timer or the font cannot be set up; what was
    // already acquired is released by Shutdown().
    void Init();

    // Everything after the timer: font, star field, ship, saucer, laser,
    // empty slots and the first game. Needs a current GL context (or the
    // tests' stand-in for GL).
    void InitGame();

    // The event loop: returns once the window is closed or waiting fails.
    void Run();

    // Removes the timer, deletes the GL context, destroys the window and shuts
    // SDL down. Each is released once; later calls do nothing.
    void Shutdown();

    void OpenWindow(int width, int height, Uint32 flags);
    void SetProjection(float width, float height);
    void StartTimer();

    // One event of the loop: quit, the key map, or a tick.
    void HandleEvent(const SDL_Event& event);
    void HandleKeyDown(SDL_Keycode key);
    void HandleKeyUp(SDL_Keycode key);
    void HandleUserEvent(const SDL_Event& event);

    // One tick: the rules, then the frame.
    void Tick();
    // The rules of one tick without drawing: turn and thrust from the held
    // keys, move, hit, score, split, launch the saucer, start a new wave.
    void UpdateGame();
    void UpdateShip();
    void UpdatePhotons();
    void UpdateSaucer();
    void UpdateAsteroids();
    void UpdateExplosions();
    void SplitAsteroid(int slot);
    void SpawnExplosion(CBaseObject& object);
    void FirePhoton();
    // Fires the laser if a charge is left.
    void FireLaser();
    void NewWave();
    void NewGame();
    void GameOver();
    void ClearPhotons();
    void ClearExplosions();

    // Draws and presents one whole frame.
    void Render();
    // The two halves of Render: drawing leaves the frame in the back buffer,
    // where more can be drawn over it; presenting flushes and swaps (nothing
    // without a window).
    void DrawFrame();
    void Present();

    SDL_Window* window;
    SDL_GLContext glContext;
    SDL_TimerID timerId;
    bool quit;
    CShip* ship;
    CStarField* starField;
    CUFO* saucer;
    CBitmapFont* font;
    CLaser* laser;
    CAsteroid* asteroids[kAsteroidSlots];
    CPhoton* photons[kPhotonSlots];
    CExplosion* explosions[kExplosionSlots];
    unsigned input;
    int asteroidSpeed;
    int asteroidsLeft;
    int score;
    int nextSaucerScore;
    int photonIndex;
    int explosionIndex;
    bool running;
    bool sdlStarted;  // SDL_Init succeeded and SDL_Quit has not run yet
    // Told of every event of the rules; null (nobody told) unless the shell
    // attaches one. Not owned.
    GameListener* listener;
    // Draws the stars of each frame; null (the star field draws itself)
    // unless the shell attaches one. Not owned.
    StarPainter* starPainter;

private:
    void RenderObjects();
    void RenderText();
    void DeleteObjects();
};
