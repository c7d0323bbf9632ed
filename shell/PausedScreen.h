// The pause, laid over whatever was on screen: nothing moves, no tick runs,
// and the frame stays as it was with two lines over it.
#pragma once

#include "shell/Screen.h"

class EventLoop;
class GameApp;

class PausedScreen : public Screen {
public:
    PausedScreen(GameApp& app, EventLoop& loop);

    // P or Escape resume, Q quits; every other key waits for the resume.
    void KeyDown(const SDL_KeyboardEvent& key) override;
    void KeyUp(const SDL_KeyboardEvent& /*key*/) override {}
    void PadAction(Gamepads::Action /*action*/) override {}
    bool TicksRun() const override { return false; }
    void DrawOver() const override;

private:
    GameApp& app;
    EventLoop& loop;
};
