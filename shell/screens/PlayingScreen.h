// The game in play: the player's keys and pads drive it, every tick runs.
#pragma once

#include "shell/screens/Screen.h"

class ScreenHost;
class GameOverScreen;
class PlayerSession;

class PlayingScreen : public Screen {
public:
    PlayingScreen(ScreenHost& host, PlayerSession& session, GameOverScreen& gameOver);

    void KeyDown(const SDL_KeyboardEvent& key) override;
    void KeyUp(const SDL_KeyboardEvent& key) override;
    void PadAction(Gamepads::Action action) override;

    // One tick; when it ends the game, the game is kept and the game-over
    // screen shows where it went in the table.
    bool Tick() override;

private:
    ScreenHost& host;
    PlayerSession& session;
    GameOverScreen& gameOver;
};
