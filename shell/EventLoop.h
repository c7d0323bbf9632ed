// The player's event loop: SDL's events, the game's ticks, and the screen
// the player is looking at.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "shell/Accessibility.h"
#include "shell/FaintStars.h"
#include "shell/GameOverScreen.h"
#include "shell/GamePause.h"
#include "shell/GlobalKeys.h"
#include "shell/MouseEvents.h"
#include "shell/ObjectRings.h"
#include "shell/PadEvents.h"
#include "shell/PauseMenu.h"
#include "shell/PlayerSession.h"
#include "shell/PlayingScreen.h"
#include "shell/ReplayScreen.h"
#include "shell/ScreenSaver.h"
#include "shell/TickTimer.h"
#include "shell/WelcomeScreen.h"
#include "shell/WindowEvents.h"

class BoardSender;
class GameApp;
class GameWindow;
class GameRecords;
class Gamepads;
class PlayerSettings;
class ReplayPlayer;
class ReplayRecorder;
class SessionStart;
class SoundEffects;

// Runs a GameApp for a player. The game's own key map and rules are used
// unchanged. The loop keeps what holds on every screen:
//  - the event pump, the tick timing, and ticks that went stale in the queue
//    (a stalled X server) dropped instead of being run back to back;
//  - F11 for fullscreen and M to mute on every screen;
//  - pause whenever the window loses focus, is minimised or hidden, or a
//    pad is unplugged during a game: no tick runs, the timer is stopped, and
//    whatever was held counts as released on resume;
//  - the screensaver may run while paused or on the game-over screen, not
//    while a game is played;
//  - the pointer is shown over menus and hidden otherwise;
//  - sound, opened once the first frame is shown, with whatever else
//    start-up can leave until then;
//  - the daily board's reports, taken when its sender wakes the loop;
//  - the accessibility options: the stars, the rings and the line width in
//    every frame, the time between ticks, and when the weapons fire.
// Everything else goes to the screen on top: the game in play, the
// game-over screen with the score table, a watched replay, or the menus
// laid over one of them (the first of them is the pause). Without a
// GameWindow (tests) the window's part is skipped.
class EventLoop {
public:
    // A tick event older than this when taken from the queue is dropped.
    static constexpr Uint32 kStaleTickMs = 100;
    // The user event with this code says the board's sender has reports.
    static constexpr int kBoardEventCode = 2;

    // Wakes the loop to take the board's reports; safe on any thread.
    static void WakeForBoard();

    EventLoop(GameApp& app, GameWindow* window);
    // Takes its star painter back from the game.
    ~EventLoop();

    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    // Optional parts, attached before Run(); not owned.
    Gamepads* pads = nullptr;
    ReplayRecorder* recorder = nullptr;  // needs `records` too
    GameRecords* records = nullptr;
    ReplayPlayer* replay = nullptr;   // watching: the game's keys do nothing
    std::int64_t replayFileTime = 0;  // when the watched file was last written
    SoundEffects* sound = nullptr;    // opened once the first frame is shown
    // The player's settings: key bindings, the menu's settings, M and F11
    // kept. Without them the keys are today's and nothing is kept.
    PlayerSettings* settings = nullptr;
    BoardSender* board = nullptr;          // finished daily games are sent to it
    SessionStart* sessionStart = nullptr;  // a daily session starts afresh at every new game
    // Start-up work that can wait: run once, just after the first frame is
    // presented, or before anything is drawn outside a tick.
    std::function<void()> afterFirstFrame;

    // Puts the options in force, at once: call after attaching the parts
    // above, and again whenever they change. All off until then. A watched
    // replay ticks at its own speed whatever the options say.
    void SetAccessibility(const Accessibility& options);
    const Accessibility& AccessibilityOptions() const { return accessibility; }

    // Starts the tick timer: the game's own at full speed, else one of the
    // shell's with the same callback and a longer interval. Throws
    // std::runtime_error with one line when SDL cannot start it.
    void StartTimer();

    // Until the game is quit or waiting for events fails.
    void Run();
    void HandleEvent(const SDL_Event& event);

    // The pause menu over the game (or, if a replay watched from the menu is
    // on top, back to the menu it came from).
    void Pause();
    // Every screen laid over the game taken away; the game goes on.
    void Resume();
    bool IsPaused() const { return !overlays.empty(); }
    // The first start: paused on the keys, before anything moves.
    void ShowWelcome();

    // For the screens laid over the game: opens one on top, closes the top
    // one (the last one closed resumes), draws again after a change, quits.
    void Open(Screen& screen);
    void Back();
    void Redraw() { Draw(); }
    void Quit();

    GameApp& App() { return app; }
    const PlayerSession& Session() const { return session; }
    const GamePause& Pausing() const { return pause; }
    Screen& Top();
    // What the game-over screen shows.
    const GameOverScreen& GameOverShown() const { return gameOver; }

    // A new game has begun on the game-over screen.
    void NewGameStarted();
    // Today's field, from any screen: the session starts afresh as a daily
    // one, whatever it was, and play resumes. Not while watching a replay.
    void PlayToday();
    // Reports of the board's, to the game-over screen and the menus; the
    // frame is drawn again if it is still and they changed it.
    void HearBoard(const std::vector<BoardReport>& reports);

private:
    void HandleTick(const SDL_UserEvent& tick);
    // The board's reports as they come in.
    void TakeBoardReports();
    // The session seeded and its first game begun again, on a new game.
    void BeginSessionAgain();
    void RunTick();
    // What start-up left for after the first frame.
    void FinishStartUp();
    // Draws the frame again outside a tick, with whatever lies over it, and
    // presents it.
    void Draw();
    void DrawOverlays();
    // Only a game in play keeps the screen awake: not a pause, not the
    // game-over screen left alone.
    void AllowScreenSaver();
    void ShowPointer();

    // The speed ticks come at, in per cent.
    int TickSpeed() const;

    // The screen under any overlay: the replay, the game or its end.
    Screen& Base();
    // The topmost overlay with a game of its own, as an index, or -1.
    int FrameOwner() const;

    GameApp& app;
    GameWindow* window;
    PlayerSession session;
    GamePause pause;
    GameOverScreen gameOver;
    PlayingScreen playing;
    ReplayScreen watching;
    PauseMenu pauseMenu;
    WelcomeScreen welcome;
    std::vector<Screen*> overlays;  // laid over the base, lowest first
    PadEvents padEvents{*this};
    MouseEvents mouseEvents{*this, window};
    GlobalKeys globalKeys{*this, window};
    WindowEvents windowEvents{*this, window};
    TickTimer timer{app};
    bool startUpFinished = false;
    ScreenSaver screenSaver;
    Accessibility accessibility;
    FaintStars faintStars;
    ObjectRings rings;
};
