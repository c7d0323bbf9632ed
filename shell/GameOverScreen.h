// The game-over screen: the game's own lines, the score table's best games
// under them, and the game going on behind until Space starts a new one.
#pragma once

#include "save/ScoreBoardView.h"
#include "shell/Screen.h"

class EventLoop;
class GameApp;
class PlayerSession;

class GameOverScreen : public Screen {
public:
    GameOverScreen(GameApp& app, EventLoop& loop, PlayerSession& session);

    void KeyDown(const SDL_KeyboardEvent& key) override;
    void KeyUp(const SDL_KeyboardEvent& key) override;
    void PadAction(Gamepads::Action action) override;
    void DrawOver() const override;

    // Shows the table's best games, the one at `rank` (from 0; -1 for
    // none) marked as the game just kept.
    void Show(const ScoreTable& table, int rank);
    // The game goes on behind the screen.
    bool Tick() override;

    const ScoreBoardView& Board() const { return board; }

private:
    // A new game hides the table.
    void Follow(bool newGame);

    GameApp& app;
    EventLoop& loop;
    PlayerSession& session;
    ScoreBoardView board;
};
