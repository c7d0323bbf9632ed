// The timer that sends the game its ticks, at the speed the player chose.
#pragma once

#include <SDL.h>

class GameApp;

// At full speed this is the game's own timer (GameApp::StartTimer); slower,
// it is a timer of the shell's with the game's callback and a longer
// interval, so what happens in a tick never changes, only when it comes.
class TickTimer {
public:
    explicit TickTimer(GameApp& app) : app(app) {}

    // Starts the timer at `percent` of full speed. Throws
    // std::runtime_error with one line when SDL cannot start it.
    void Start(int percent);
    // The speed changes from `before` to `after` per cent: a running timer
    // takes it at once, a stopped one (paused) when it starts again.
    void Change(int before, int after);

private:
    GameApp& app;
};
