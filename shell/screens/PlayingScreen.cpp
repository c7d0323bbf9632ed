#include "shell/screens/PlayingScreen.h"

#include "save/ReplayRecorder.h"
#include "shell/screens/GameOverScreen.h"
#include "shell/screens/ScreenHost.h"
#include "shell/session/PlayerSession.h"
#include "shell/session/ShellParts.h"

PlayingScreen::PlayingScreen(ScreenHost& screenHost, PlayerSession& playerSession,
                             GameOverScreen& gameOverScreen)
    : host(screenHost), session(playerSession), gameOver(gameOverScreen) {}

void PlayingScreen::KeyDown(const SDL_KeyboardEvent& key) {
    if (session.IsPauseKey(key)) {
        host.Pause();
        return;
    }
    session.KeyDown(key);
}

void PlayingScreen::KeyUp(const SDL_KeyboardEvent& key) { session.KeyUp(key); }

void PlayingScreen::PadAction(Gamepads::Action action) { session.PadAction(action); }

bool PlayingScreen::Tick() {
    if (!session.PlayTick()) return true;
    gameOver.Begin();
    if (session.KeepsGames()) {
        session.KeepFinishedGame();
        gameOver.ShowSpeed(host.Parts().recorder->GameSpeed());
        gameOver.ShowEntered();
        gameOver.ShowSending(session.SendFinishedGame());
        if (session.DailyTooSlowToSend()) gameOver.ShowTooSlowToSend();
    }
    return true;
}
