// A watched replay: it drives the game instead of the player's keys, which
// do nothing here, and ends on the recorded game-over screen. A line at the
// bottom says what is playing: the file's date and the recorded score; at
// the end, in place of the game's own line, a line says to press Q to quit
// (with a pad, that Start opens the menu), which then does.
#pragma once

#include "shell/screens/Screen.h"

class ScreenHost;
class ReplayPlayer;

class ReplayScreen : public Screen {
public:
    explicit ReplayScreen(ScreenHost& host);

    void KeyDown(const SDL_KeyboardEvent& key) override;
    void DrawOver() const override;
    void KeyUp(const SDL_KeyboardEvent& /*key*/) override {}
    void PadAction(Gamepads::Action /*action*/) override {}
    // Once the replay is over no tick draws the frame again.
    bool FrameIsStill() const override;
    bool Tick() override;
    // The game's first frame comes from its first tick: drawing earlier
    // would give that tick's hit tests outlines it never had.
    bool HasFrame() const override;

private:
    ScreenHost& host;
};
