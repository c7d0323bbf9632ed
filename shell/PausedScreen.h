// The pause, laid over whatever was on screen: nothing moves, no tick runs,
// and the frame stays as it was with two lines over it.
#pragma once

#include "shell/Screen.h"

class EventLoop;
class GameApp;
class PlayerSession;

class PausedScreen : public Screen {
public:
    PausedScreen(GameApp& app, EventLoop& loop, PlayerSession& session);

    // The pause begins: no timer, so no wake-ups and a paused game costs
    // nothing; the sound's loops hold.
    void Begin();
    // The pause ends: what was held when it began counts as released, and
    // the timer and the sound go on.
    void End();

    // P or Escape resume, Q quits; every other key waits for the resume.
    void KeyDown(const SDL_KeyboardEvent& key) override;
    void KeyUp(const SDL_KeyboardEvent& /*key*/) override {}
    void PadAction(Gamepads::Action /*action*/) override {}
    bool TicksRun() const override { return false; }
    void DrawOver() const override;

private:
    GameApp& app;
    EventLoop& loop;
    PlayerSession& session;
    bool timerStopped = false;  // by Begin(), to be started again by End()
};
