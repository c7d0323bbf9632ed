// The player's event loop: SDL's events, the game's ticks, and the screen
// the player is looking at.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "shell/loop/AccessibleFrame.h"
#include "shell/loop/ScreenSaver.h"
#include "shell/screens/ScreenHost.h"
#include "shell/session/ShellParts.h"
#include "shell/session/TickTimer.h"
#include "shell/ui/CurrentGame.h"

struct BoardReport;
class GameOverScreen;
class InputEvents;
class LoopScreens;
class GameApp;
class GameWindow;
class TextFont;

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
class EventLoop : public ScreenHost {
public:
    // A tick event older than this when taken from the queue is dropped.
    static constexpr Uint32 kStaleTickMs = 100;

    // Plays whichever game `game` holds; a session started afresh replaces it.
    EventLoop(CurrentGame& game, GameWindow* window);
    // Plays `app`, kept by the caller; a game that replaces it is the loop's.
    EventLoop(GameApp& app, GameWindow* window);
    ~EventLoop();

    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    // The optional parts, attached before Run() (the pads may come later).
    ShellParts& Parts() override { return parts; }
    // Loaded by the first text drawn, so that the game's own font is made
    // first and a frame with no text over it sends only the game's calls;
    // the start-up work after the first frame should ask for it, so that a
    // missing file ends the start rather than a game.
    const TextFont& Font() override;
    // Start-up work that can wait: run once, just after the first frame is
    // presented, or before anything is drawn outside a tick.
    std::function<void()> afterFirstFrame;

    // Puts the options in force, at once: call after attaching the parts
    // above, and again whenever they change. All off until then. A watched
    // replay ticks at its own speed whatever the options say.
    void SetAccessibility(const Accessibility& options);
    const Accessibility& AccessibilityOptions() const { return frame.Options(); }

    // Starts the tick timer: the game's own at full speed, else one of the
    // shell's with the same callback and a longer interval. Throws
    // std::runtime_error with one line when SDL cannot start it.
    void StartTimer();

    // Until the game is quit or waiting for events fails.
    void Run();
    void HandleEvent(const SDL_Event& event);

    // The first start: paused on the keys, before anything moves.
    void ShowWelcome();
    // What the game-over screen shows.
    const GameOverScreen& GameOverShown() const;
    // Reports of the board's, to the game-over screen and the menus; the
    // frame is drawn again if it is still and they changed it.
    void HearBoard(const std::vector<BoardReport>& reports);

    // The screens' host (ScreenHost.h).
    void Open(Screen& screen) override;
    void Back() override;
    void Resume() override;
    void Pause() override;
    void Quit() override;
    void Redraw() override { Draw(); }
    Screen& Top() override;
    bool IsPaused() const override { return !overlays.empty(); }
    bool PadLastUsed() const override;
    void PlayToday() override;
    void NewGameStarted() override;
    GameApp& App() override { return *game; }
    const PlayerSession& Session() const override;
    TickTimer& Ticks() override { return timer; }

private:
    EventLoop(std::unique_ptr<CurrentGame> borrowed, CurrentGame* held, GameWindow* window);

    void HandleTick(const SDL_UserEvent& tick);
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

    std::unique_ptr<CurrentGame> borrowed;  // only for a game the caller keeps
    CurrentGame& game;
    GameWindow* window;
    ShellParts parts;
    TickTimer timer;
    AccessibleFrame frame{game};
    std::unique_ptr<LoopScreens> screens;
    std::unique_ptr<InputEvents> input;
    std::vector<Screen*> overlays;  // laid over the base, lowest first
    bool startUpFinished = false;
    ScreenSaver screenSaver;
    std::unique_ptr<TextFont> textFont;  // last, so gone while the game's context is
};
