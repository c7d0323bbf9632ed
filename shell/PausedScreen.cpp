#include "shell/PausedScreen.h"

#include <cstring>

#include "audio/SoundEffects.h"
#include "game/GameApp.h"
#include "gfx/BitmapFont.h"
#include "shell/EventLoop.h"
#include "shell/PlayerSession.h"

namespace {

constexpr int kPausedY = 528;
constexpr int kResumeHintY = 496;
constexpr const char* kPausedText = "paused";
constexpr const char* kResumeHint = "press p to resume, q to quit";

int Centred(const char* text) {
    const int len = static_cast<int>(std::strlen(text));
    return GameApp::kWindowWidth / 2 - (CBitmapFont::kCellSize * len) / 2;
}

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
        app.StartTimer();
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
    app.font->DrawText(Centred(kPausedText), kPausedY, kPausedText);
    app.font->DrawText(Centred(kResumeHint), kResumeHintY, kResumeHint);
}
