// What a screen may ask of whatever shows it.
#pragma once

class GameApp;
class PlayerSession;
class Screen;
class TextFont;
class TickTimer;
struct ShellParts;

// The event loop implements this; screens and what hands them events talk
// to it and never to the loop itself, so a screen can be added, changed or
// tested without the loop's header.
class ScreenHost {
public:
    // Lays `screen` over the game, on top of any other.
    virtual void Open(Screen& screen) = 0;
    // Closes the top screen; the last one closed resumes the game.
    virtual void Back() = 0;
    // Every screen laid over the game taken away; the game goes on.
    virtual void Resume() = 0;
    // The pause menu over the game (or, if a replay watched from the menu is
    // on top, back to the menu it came from).
    virtual void Pause() = 0;
    virtual void Quit() = 0;
    // Draws the frame again after a change, with whatever lies over it.
    virtual void Redraw() = 0;

    virtual Screen& Top() = 0;
    virtual bool IsPaused() const = 0;
    // Whether the player's last press was a pad's rather than a key's: the
    // hints on screen name the buttons of the device last used.
    virtual bool PadLastUsed() const = 0;

    // Today's field, from any screen: the session starts afresh as a daily
    // one, whatever it was, and play resumes. Not while watching a replay.
    virtual void PlayToday() = 0;
    // A new game has begun on the game-over screen.
    virtual void NewGameStarted() = 0;

    // The player's game, as it is now: a new session may replace it.
    virtual GameApp& App() = 0;
    virtual const PlayerSession& Session() const = 0;
    virtual ShellParts& Parts() = 0;
    // The font of every text over the frame.
    virtual const TextFont& Font() = 0;
    // The ticks the player's game is sent.
    virtual TickTimer& Ticks() = 0;

protected:
    ~ScreenHost() = default;
};
