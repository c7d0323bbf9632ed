// What holds while anything is laid over the game: no timer, sound held.
#pragma once

class EventLoop;
class GameApp;
class PlayerSession;
class SoundEffects;

// Begin() when the first screen is laid over the game, End() when the last
// is taken away.
class GamePause {
public:
    GamePause(GameApp& app, EventLoop& loop, PlayerSession& session);

    // No timer, so no wake-ups and a paused game costs nothing; the sound's
    // loops hold.
    void Begin(SoundEffects* sound);
    // What was held when the pause began counts as released, and the timer
    // and the sound go on.
    void End(SoundEffects* sound);

    // Whether Begin() stopped a running timer: a screen that plays something
    // during the pause (a replay) may start one of its own.
    bool TimerStopped() const { return timerStopped; }

private:
    GameApp& app;
    EventLoop& loop;
    PlayerSession& session;
    bool timerStopped = false;
};
