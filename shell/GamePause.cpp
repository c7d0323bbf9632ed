#include "shell/GamePause.h"

#include "audio/SoundEffects.h"
#include "game/GameApp.h"
#include "shell/PlayerSession.h"

GamePause::GamePause(GameApp& app, PlayerSession& session) : app(app), session(session) {}

void GamePause::Begin(SoundEffects* sound) {
    if (app.timerId != 0) {
        SDL_RemoveTimer(app.timerId);
        app.timerId = 0;
        timerStopped = true;
    }
    if (sound != nullptr) sound->SetPaused(true);
}

void GamePause::End(SoundEffects* sound) {
    session.ReleaseAll();
    if (sound != nullptr) sound->SetPaused(false);
    if (timerStopped) {
        app.StartTimer();
        timerStopped = false;
    }
}
