#include "shell/GamePause.h"

#include "audio/SoundEffects.h"
#include "game/GameApp.h"
#include "shell/EventLoop.h"
#include "shell/PlayerSession.h"

GamePause::GamePause(GameApp& app, EventLoop& loop, PlayerSession& session)
    : app(app), loop(loop), session(session) {}

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
        loop.StartTimer();  // at the speed the options ask for
        timerStopped = false;
    }
}
