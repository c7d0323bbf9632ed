// The timer that sends the player's game its ticks, at the speed the player
// chose.
#pragma once

#include <SDL.h>

// The shell's ticks start, stop and start again here and nowhere else. The
// timer calls the game's own callback, at the game's own interval at full
// speed and a longer one slower, so what happens in a tick never changes,
// only when it comes. The game's own start-up (GameApp::Init) keeps its own
// timer; a session of the shell's never uses that one.
class TickTimer {
public:
    TickTimer() = default;
    ~TickTimer();

    TickTimer(const TickTimer&) = delete;
    TickTimer& operator=(const TickTimer&) = delete;

    // Starts the timer at `percent` of full speed. Throws
    // std::runtime_error with one line when SDL cannot start it.
    void Start(int percent);
    // The speed changes from `before` to `after` per cent: a running timer
    // takes it at once, a held one when it is released.
    void Change(int before, int after);

    // A pause: a running timer stops, and Release() starts it again at the
    // speed last asked for. Nothing happens to a timer that never ran (tests).
    void Hold();
    void Release();
    // Whether Hold() stopped a running timer.
    bool Held() const { return held; }

    // While held, a screen that plays something of its own (a replay) may
    // tick at its own speed, until it gives the ticks back.
    void Lend(int percent);
    void TakeBack();

private:
    bool Add(int percent);
    void Remove();

    SDL_TimerID id = 0;
    int speed = 100;
    bool held = false;
};
