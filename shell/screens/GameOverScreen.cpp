#include "shell/screens/GameOverScreen.h"

#include <cstdio>

#include "board/BoardSender.h"
#include "game/GameApp.h"
#include "save/GameRecords.h"
#include "save/GameSpeed.h"
#include "shell/screens/ScreenHost.h"
#include "shell/session/PlayerSession.h"
#include "shell/session/ShellParts.h"
#include "shell/ui/OverlayFont.h"

namespace {

constexpr const char* kKeyMenuHint = "escape opens the menu";
constexpr const char* kPadMenuHint = "start opens the menu";
// Between the game's last line (at 336) and the table's heading (at 288).
constexpr int kSlowLineY = 312;
constexpr const char* kTooSlowToSend = "played slow: not sent to the daily board";

}  // namespace

GameOverScreen::GameOverScreen(ScreenHost& screenHost, PlayerSession& playerSession)
    : host(screenHost), session(playerSession) {}

void GameOverScreen::Begin() {
    shownAt = SDL_GetTicks();
    armedKeys.clear();
    padArmed = false;
}

bool GameOverScreen::GuardPassed(Uint32 when) const {
    return SDL_TICKS_PASSED(when, shownAt + kGuardMs);
}

void GameOverScreen::KeyDown(const SDL_KeyboardEvent& key) {
    if (session.IsPauseKey(key)) {
        host.Pause();
        return;
    }
    if (session.GameKey(key) == SDLK_SPACE && key.repeat == 0) {
        if (!GuardPassed(key.timestamp)) return;
        armedKeys.insert(SDLK_SPACE);
    }
    Follow(session.KeyDown(key));
}

void GameOverScreen::KeyUp(const SDL_KeyboardEvent& key) {
    if (session.GameKey(key) == SDLK_SPACE && armedKeys.erase(SDLK_SPACE) == 0) return;
    Follow(session.KeyUp(key));
}

void GameOverScreen::PadPress(SDL_GameControllerButton button) {
    if ((session.PhotonButtons() & Gamepads::Bit(button)) != 0) {
        padArmed = GuardPassed(SDL_GetTicks());
    }
}

void GameOverScreen::PadAction(Gamepads::Action action) {
    if (action == Gamepads::Action::kPhoton) {
        if (!padArmed) return;
        padArmed = false;
    }
    Follow(session.PadAction(action));
}

void GameOverScreen::Follow(bool newGame) {
    if (!newGame) return;
    Clear();
    host.NewGameStarted();
}

void GameOverScreen::Clear() {
    board.Hide();
    boardStatus.Hide();
    slowLine.clear();
}

void GameOverScreen::ShowSpeed(int speed) {
    slowLine.clear();
    if (speed < game_speed::kFull) slowLine = "slow, at " + std::to_string(speed) + " % speed";
}

void GameOverScreen::ShowTooSlowToSend() { boardStatus.NotSent(kTooSlowToSend); }

void GameOverScreen::ShowEntered() {
    const std::optional<GameRecords::Outcome> outcome = session.TakeEntered();
    if (outcome) board.Show(host.Parts().records->Table(), outcome->rank, outcome->kept);
}

bool GameOverScreen::Tick() {
    session.PlayTick();
    ShowEntered();
    return true;
}

void GameOverScreen::DrawOver() const {
    const TextFont& font = host.Font();
    if (!slowLine.empty()) DrawCentred(font, kSlowLineY, slowLine.c_str());
    board.Draw(font);
    boardStatus.Draw(font);
    // Under an open menu the line would only say what is already done.
    if (!host.App().running && !host.IsPaused()) {
        DrawCentred(font, kMenuHintY, host.PadLastUsed() ? kPadMenuHint : kKeyMenuHint);
    }
}

bool GameOverScreen::HearBoard(const BoardReport& report) {
    if (report.kind == BoardReport::Kind::kRefused) {
        std::fprintf(stderr, "korvessa: the daily board refused the game: %s\n",
                     report.line.c_str());
    } else if (!report.line.empty()) {
        std::fprintf(stderr, "korvessa: %s\n", report.line.c_str());
    }
    return boardStatus.Hear(report);
}
