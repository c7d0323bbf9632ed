#include "shell/GameOverScreen.h"

#include "game/GameApp.h"
#include "save/GameSpeed.h"
#include "shell/EventLoop.h"
#include "shell/OverlayFont.h"
#include "shell/PlayerSession.h"

namespace {

// Between the game's last line (at 336) and the table's heading (at 288).
constexpr int kSlowLineY = 312;

}  // namespace

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
    slowLine.clear();
}

void GameOverScreen::Show(const ScoreTable& table, int rank, int speed) {
    board.Show(table, rank);
    slowLine.clear();
    if (speed < game_speed::kFull) slowLine = "slow, at " + std::to_string(speed) + " % speed";
}

bool GameOverScreen::Tick() {
    session.PlayTick();
    return true;
}

void GameOverScreen::DrawOver() const {
    if (!slowLine.empty()) DrawCentred(*app.font, kSlowLineY, slowLine.c_str());
    board.Draw(*app.font);
    boardStatus.Draw(*app.font);
}
