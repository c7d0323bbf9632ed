#include "shell/PausedScreen.h"

#include "audio/SoundEffects.h"
#include "game/GameApp.h"
#include "shell/EventLoop.h"
#include "shell/OverlayFont.h"
#include "shell/PlayerSession.h"

namespace {

constexpr int kPausedY = 528;
constexpr int kResumeHintY = 496;
constexpr const char* kPausedText = "paused";
constexpr const char* kResumeHint = "press p to resume, q to quit";

}  // namespace

PausedScreen::PausedScreen(GameApp& app, EventLoop& loop, PlayerSession& session)
    : app(app), loop(loop), session(session) {}

void PausedScreen::Begin() {
    if (app.timerId != 0) {
        SDL_RemoveTimer(app.timerId);
        app.timerId = 0;
        timerStopped = true;
    }
    if (loop.sound != nullptr) loop.sound->SetPaused(true);
}

void PausedScreen::End() {
    session.ReleaseAll();
    if (loop.sound != nullptr) loop.sound->SetPaused(false);
    if (timerStopped) {
        loop.StartTimer();
        timerStopped = false;
    }
}

void PausedScreen::KeyDown(const SDL_KeyboardEvent& key) {
    if (IsPauseKey(key)) {
        loop.Resume();
    } else if (key.keysym.sym == SDLK_q && key.repeat == 0) {
        app.quit = true;
    }
}

void PausedScreen::DrawOver() const {
    DrawCentred(*app.font, kPausedY, kPausedText);
    DrawCentred(*app.font, kResumeHintY, kResumeHint);
}
