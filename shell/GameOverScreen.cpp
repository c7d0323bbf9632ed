#include "shell/GameOverScreen.h"

#include "game/GameApp.h"
#include "shell/EventLoop.h"
#include "shell/PlayerSession.h"

GameOverScreen::GameOverScreen(GameApp& app, EventLoop& loop, PlayerSession& session)
    : app(app), loop(loop), session(session) {}

void GameOverScreen::KeyDown(const SDL_KeyboardEvent& key) {
    if (IsPauseKey(key)) {
        loop.Pause();
        return;
    }
    Follow(session.KeyDown(key));
}

void GameOverScreen::KeyUp(const SDL_KeyboardEvent& key) { Follow(session.KeyUp(key)); }

void GameOverScreen::PadAction(Gamepads::Action action) { Follow(session.PadAction(action)); }

void GameOverScreen::Follow(bool newGame) {
    if (!newGame) return;
    board.Hide();
    boardStatus.Hide();
}

void GameOverScreen::Show(const ScoreTable& table, int rank) { board.Show(table, rank); }

bool GameOverScreen::Tick() {
    session.PlayTick();
    return true;
}

void GameOverScreen::DrawOver() const {
    board.Draw(*app.font);
    boardStatus.Draw(*app.font);
}
