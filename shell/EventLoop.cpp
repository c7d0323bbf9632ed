#include "shell/EventLoop.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "audio/SoundEffects.h"
#include "game/GameApp.h"
#include "gfx/BitmapFont.h"
#include "input/Gamepads.h"
#include "save/GameRecords.h"
#include "save/ReplayPlayer.h"
#include "save/ReplayRecorder.h"
#include "shell/GameWindow.h"

namespace {

constexpr int kPausedY = 528;
constexpr int kResumeHintY = 496;
constexpr const char* kPausedText = "paused";
constexpr const char* kResumeHint = "press p to resume, q to quit";

int Centred(const char* text) {
    const int len = static_cast<int>(std::strlen(text));
    return GameApp::kWindowWidth / 2 - (CBitmapFont::kCellSize * len) / 2;
}

// SDL releases every held key when focus moves away, just before it reports
// the focus loss; such a release is not the player's.
bool FocusLossIsQueued() {
    SDL_Event queued[16];
    SDL_PumpEvents();
    const int count = SDL_PeepEvents(queued, 16, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
    for (int i = 0; i < count; ++i) {
        if (queued[i].window.event == SDL_WINDOWEVENT_FOCUS_LOST) return true;
    }
    return false;
}

}  // namespace

EventLoop::EventLoop(GameApp& app, GameWindow* window) : app(app), window(window) {}

void EventLoop::Run() {
    SDL_Event event;
    while (!app.quit) {
        if (SDL_WaitEvent(&event) == 0) {
            std::fprintf(stderr, "korvessa: cannot wait for events: %s\n", SDL_GetError());
            return;
        }
        HandleEvent(event);
    }
}

void EventLoop::HandleEvent(const SDL_Event& event) {
    if (pads != nullptr && pads->HandleEvent(event)) {
        TakePadActions();
        CombineInput();
        return;
    }
    switch (event.type) {
        case SDL_QUIT:
            app.quit = true;
            break;
        case SDL_KEYDOWN:
            HandleKeyDown(event.key);
            break;
        case SDL_KEYUP:
            HandleKeyUp(event.key);
            break;
        case SDL_WINDOWEVENT:
            HandleWindowEvent(event.window);
            break;
        case SDL_USEREVENT:
            if (event.user.code == GameApp::kTickEventCode) HandleTick(event.user);
            break;
        default:
            break;
    }
}

void EventLoop::HandleKeyDown(const SDL_KeyboardEvent& key) {
    const SDL_Keycode code = key.keysym.sym;
    if (key.repeat == 0) {
        if (code == SDLK_p || code == SDLK_ESCAPE) {
            paused ? Resume() : Pause();
            return;
        }
        if (code == SDLK_F11) {
            if (window != nullptr) window->ToggleFullscreen();
            return;
        }
        if (code == SDLK_q && paused) {
            app.quit = true;
            return;
        }
        if (code == SDLK_m) {
            if (sound != nullptr) sound->ToggleMute();
            return;
        }
    }
    // A repeat only says the key is still down; one held through a pause
    // must be pressed again to count.
    if (paused || key.repeat != 0) return;
    pressedKeys.insert(code);
    PassKey(code, true);
}

void EventLoop::HandleKeyUp(const SDL_KeyboardEvent& key) {
    const SDL_Keycode code = key.keysym.sym;
    const bool pressedWhilePlaying = pressedKeys.erase(code) > 0;
    if (paused || FocusLossIsQueued()) return;
    // The weapons fire on release: only of a key pressed while playing.
    const bool weapon = code == SDLK_SPACE || code == SDLK_LALT || code == SDLK_RALT;
    if (weapon && !pressedWhilePlaying) return;
    PassKey(code, false);
}

void EventLoop::PassKey(SDL_Keycode key, bool down) {
    if (replay != nullptr) return;  // the replay plays, not the keys
    const bool wasRunning = app.running;
    app.input = keyboardInput;
    if (down) {
        app.HandleKeyDown(key);
    } else {
        app.HandleKeyUp(key);
    }
    keyboardInput = app.input;
    CombineInput();
    if (recorder == nullptr || down) return;
    if (key == SDLK_SPACE) recorder->OnAction(ReplayAction::kSpace);
    if (key == SDLK_LALT || key == SDLK_RALT) recorder->OnAction(ReplayAction::kAlt);
    if (!wasRunning && app.running) {
        recorder->OnNewGame();
        board.Hide();
    }
}

void EventLoop::TakePadActions() {
    while (const auto action = pads->NextAction()) {
        switch (*action) {
            case Gamepads::Action::kPhoton:
                if (!paused) PassKey(SDLK_SPACE, false);
                break;
            case Gamepads::Action::kLaser:
                if (!paused) PassKey(SDLK_LALT, false);
                break;
            case Gamepads::Action::kPause:
                paused ? Resume() : Pause();
                break;
            case Gamepads::Action::kPadRemoved:
                if (app.running) Pause();
                break;
        }
    }
}

void EventLoop::CombineInput() { app.input = keyboardInput | (pads ? pads->HeldBits() : 0); }

void EventLoop::HandleWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN:
            Pause();
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (window != nullptr) window->FitViewport();
            if (FrameIsStill()) Draw();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            // While playing, the next tick redraws within 30 ms anyway.
            if (FrameIsStill()) Draw();
            break;
        default:
            break;
    }
}

bool EventLoop::FrameIsStill() const { return paused || (replay != nullptr && replay->Finished()); }

void EventLoop::HandleTick(const SDL_UserEvent& tick) {
    if (paused) return;
    // After a stall, go on at normal speed rather than fast-forward.
    if (SDL_TICKS_PASSED(SDL_GetTicks(), tick.timestamp + kStaleTickMs)) return;
    RunTick();
}

void EventLoop::RunTick() {
    if (!PlayTick()) return;
    app.Present();
    AllowScreenSaver();
    if (sound == nullptr) return;
    sound->Update(app);
    // Opening audio takes milliseconds: not before the first frame is up.
    if (!soundOpened) {
        sound->Open();
        soundOpened = true;
    }
}

bool EventLoop::PlayTick() {
    if (replay != nullptr) {
        if (!replay->Step(app)) return false;  // the replay is over
    } else {
        if (recorder != nullptr) recorder->OnTick(app.input);
        const bool wasRunning = app.running;
        app.UpdateGame();
        if (wasRunning && !app.running) KeepFinishedGame();
        app.DrawFrame();
    }
    DrawOverlays();
    return true;
}

void EventLoop::KeepFinishedGame() {
    if (recorder == nullptr || records == nullptr) return;
    const GameRecords::Outcome outcome =
        records->RecordGame(recorder->FinishGame(app.score), std::time(nullptr));
    for (const std::string& warning : outcome.warnings) {
        // An unwritable folder stays so: once is enough.
        if (warned.insert(warning).second) std::fprintf(stderr, "korvessa: %s\n", warning.c_str());
    }
    board.Show(records->Table(), outcome.rank);
}

void EventLoop::Pause() {
    if (paused) return;
    paused = true;
    // No timer, no wake-ups: a paused game costs nothing.
    if (app.timerId != 0) {
        SDL_RemoveTimer(app.timerId);
        app.timerId = 0;
        timerStopped = true;
    }
    AllowScreenSaver();
    if (sound != nullptr) sound->SetPaused(true);
    Draw();
}

void EventLoop::Resume() {
    if (!paused) return;
    paused = false;
    // What was held when the pause began counts as released.
    keyboardInput = 0;
    pressedKeys.clear();
    if (pads != nullptr) pads->ReleaseAll();
    CombineInput();
    AllowScreenSaver();
    if (sound != nullptr) sound->SetPaused(false);
    if (timerStopped) {
        app.StartTimer();
        timerStopped = false;
    }
}

void EventLoop::AllowScreenSaver() {
    // Only a game in play keeps the screen awake: not a pause, not the
    // game-over screen left alone.
    const bool allowed = paused || !app.running;
    if (allowed == screenSaverAllowed) return;
    screenSaverAllowed = allowed;
    allowed ? SDL_EnableScreenSaver() : SDL_DisableScreenSaver();
}

void EventLoop::Draw() {
    // The game's first frame comes from its first tick: drawing earlier
    // would give that tick's hit tests outlines it never had.
    if (replay != nullptr && replay->TicksPlayed() == 0) return;
    app.DrawFrame();
    // A drawing outside a tick rebuilds the outlines that the next tick's
    // hit tests read, so a replay must draw it too.
    if (recorder != nullptr) recorder->OnAction(ReplayAction::kRedraw);
    DrawOverlays();
    app.Present();
}

void EventLoop::DrawOverlays() {
    if (!app.running) board.Draw(*app.font);
    if (paused) DrawPauseText();
}

void EventLoop::DrawPauseText() {
    app.font->DrawText(Centred(kPausedText), kPausedY, kPausedText);
    app.font->DrawText(Centred(kResumeHint), kResumeHintY, kResumeHint);
}
