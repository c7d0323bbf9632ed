// The player's event loop: the game's ticks and keys, plus pause, the
// window's size and fullscreen.
#pragma once

#include <SDL.h>

#include <set>
#include <string>

#include "save/ScoreBoardView.h"

class GameApp;
class GameWindow;
class GameRecords;
class Gamepads;
class ReplayPlayer;
class ReplayRecorder;
class SoundEffects;

// Runs a GameApp for a player. The game's own key map and rules are used
// unchanged; around them this adds:
//  - pause (P or Escape, and whenever the window loses focus, is minimised or
//    hidden): no tick runs, the timer is stopped, key releases fire nothing,
//    and keys held when the pause began count as released on resume (their
//    release fires nothing, their key repeats hold nothing);
//  - F11 for fullscreen, Q to quit while paused, M to mute;
//  - the screensaver may run while paused or on the game-over screen, not
//    while a game is played;
//  - ticks that went stale in the queue (a stalled X server) are dropped
//    instead of being run back to back;
//  - key releases caused by focus moving away fire nothing;
//  - game controllers, side by side with the keyboard: the game's input bits
//    are what either holds, so letting go on one leaves the other's;
//  - recording each game for its replay, and at game over keeping it in the
//    score table and showing the table's best games;
//  - watching a replay, which drives the game instead of the player's keys.
// Without a GameWindow (tests) the window's part is skipped.
class EventLoop {
public:
    // A tick event older than this when taken from the queue is dropped.
    static constexpr Uint32 kStaleTickMs = 100;

    EventLoop(GameApp& app, GameWindow* window);

    // Optional parts, attached before Run(); not owned.
    Gamepads* pads = nullptr;
    ReplayRecorder* recorder = nullptr;  // needs `records` too
    GameRecords* records = nullptr;
    ReplayPlayer* replay = nullptr;  // watching: the game's keys do nothing
    SoundEffects* sound = nullptr;   // opened once the first frame is shown

    // Until the game is quit or waiting for events fails.
    void Run();
    void HandleEvent(const SDL_Event& event);

    void Pause();
    void Resume();
    bool IsPaused() const { return paused; }

private:
    void HandleKeyDown(const SDL_KeyboardEvent& key);
    void HandleKeyUp(const SDL_KeyboardEvent& key);
    void HandleWindowEvent(const SDL_WindowEvent& window);
    void HandleTick(const SDL_UserEvent& tick);
    // No tick will draw the frame again: paused, or a watched replay is over.
    bool FrameIsStill() const;
    void RunTick();
    bool PlayTick();  // one tick of the game's rules, from the player or the replay
    void KeepFinishedGame();
    // Draws the frame again outside a tick, with whatever lies over it, and
    // presents it.
    void Draw();
    void DrawOverlays();
    void DrawPauseText();
    void AllowScreenSaver();
    // Passes a key to the game's key map, which keeps the held keys in the
    // game's input bits.
    void PassKey(SDL_Keycode key, bool down);
    void TakePadActions();
    // The game's input bits: what the keyboard or any pad holds.
    void CombineInput();

    GameApp& app;
    GameWindow* window;
    bool paused = false;
    bool timerStopped = false;          // by Pause(), to be started again by Resume()
    unsigned keyboardInput = 0;         // the arrow keys held, as the game's key map sets them
    std::set<SDL_Keycode> pressedKeys;  // pressed while playing, not yet released
    std::set<std::string> warned;       // each warning is given once a session
    ScoreBoardView board;
    bool soundOpened = false;
    bool screenSaverAllowed = false;  // SDL keeps it off from start-up
};
