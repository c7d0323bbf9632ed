#include "shell/EventLoop.h"

#include <cstdio>
#include <stdexcept>
#include <string>

#include "audio/SoundEffects.h"
#include "board/BoardSender.h"
#include "game/GameApp.h"
#include "input/Gamepads.h"
#include "save/GameSpeed.h"
#include "save/ReplayPlayer.h"
#include "save/ReplayRecorder.h"
#include "shell/GameWindow.h"

EventLoop::EventLoop(GameApp& app, GameWindow* window)
    : app(app),
      window(window),
      session(app, *this),
      gameOver(app, *this, session),
      playing(*this, session, gameOver),
      watching(app, *this),
      paused(app, *this, session) {}

EventLoop::~EventLoop() {
    if (app.starPainter == &faintStars) app.starPainter = nullptr;
}

void EventLoop::SetAccessibility(const Accessibility& options) {
    const Uint32 interval = game_speed::TickInterval(TickSpeed());
    accessibility = options;
    faintStars.stars = options.stars;
    app.starPainter = options.stars == Accessibility::Stars::kOn ? nullptr : &faintStars;
    rings.saucer = options.clearSaucer;
    rings.photons = options.clearPhotons;
    if (window != nullptr) window->SetLineWidth(options.lineWidth);
    if (pads != nullptr) pads->SetFireOnPress(options.fireOnPress);
    if (recorder != nullptr) recorder->SetSpeed(options.speed);
    // A running timer takes a new speed at once; a stopped one (paused)
    // when it starts again.
    if (app.timerId != 0 && game_speed::TickInterval(TickSpeed()) != interval) {
        SDL_RemoveTimer(app.timerId);
        app.timerId = 0;
        StartTimer();
    }
}

void EventLoop::StartTimer() {
    const Uint32 interval = game_speed::TickInterval(TickSpeed());
    if (interval == GameApp::kTickInterval) {
        app.StartTimer();
        return;
    }
    app.timerId = SDL_AddTimer(interval, TimerCallback, &app);
    if (app.timerId == 0) {
        throw std::runtime_error(std::string("cannot start the game timer: ") + SDL_GetError());
    }
}

int EventLoop::TickSpeed() const {
    return replay != nullptr ? replay->Speed() : accessibility.speed;
}

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
        session.CombineInput();
        return;
    }
    switch (event.type) {
        case SDL_QUIT:
            app.quit = true;
            break;
        case SDL_KEYDOWN:
            if (!HandleGlobalKey(event.key)) Top().KeyDown(event.key);
            break;
        case SDL_KEYUP:
            Top().KeyUp(event.key);
            break;
        case SDL_WINDOWEVENT:
            HandleWindowEvent(event.window);
            break;
        case SDL_USEREVENT:
            if (event.user.code == GameApp::kTickEventCode) HandleTick(event.user);
            if (event.user.code == kBoardEventCode) TakeBoardReports();
            break;
        default:
            break;
    }
}

bool EventLoop::HandleGlobalKey(const SDL_KeyboardEvent& key) {
    if (key.repeat != 0) return false;
    switch (key.keysym.sym) {
        case SDLK_F11:
            if (window != nullptr) window->ToggleFullscreen();
            return true;
        case SDLK_m:
            if (sound != nullptr) sound->ToggleMute();
            return true;
        default:
            return false;
    }
}

void EventLoop::TakePadActions() {
    while (const auto action = pads->NextAction()) {
        switch (*action) {
            case Gamepads::Action::kPause:
                IsPaused() ? Resume() : Pause();
                break;
            case Gamepads::Action::kPadRemoved:
                if (app.running) Pause();
                break;
            default:
                Top().PadAction(*action);
                break;
        }
    }
}

void EventLoop::HandleWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN:
            Pause();
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (window != nullptr) window->FitViewport();
            if (Top().FrameIsStill()) Draw();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            // While playing, the next tick redraws within 30 ms anyway.
            if (Top().FrameIsStill()) Draw();
            break;
        default:
            break;
    }
}

void EventLoop::HandleTick(const SDL_UserEvent& tick) {
    if (!Top().TicksRun()) return;
    // After a stall, go on at normal speed rather than fast-forward.
    if (SDL_TICKS_PASSED(SDL_GetTicks(), tick.timestamp + kStaleTickMs)) return;
    RunTick();
}

void EventLoop::WakeForBoard() {
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_USEREVENT;
    event.user.code = kBoardEventCode;
    SDL_PushEvent(&event);
}

void EventLoop::TakeBoardReports() {
    if (board == nullptr) return;
    bool changed = false;
    for (const BoardReport& report : board->TakeReports()) {
        if (report.kind == BoardReport::Kind::kRefused) {
            std::fprintf(stderr, "korvessa: the daily board refused the game: %s\n",
                         report.line.c_str());
        } else if (!report.line.empty()) {
            std::fprintf(stderr, "korvessa: %s\n", report.line.c_str());
        }
        changed = gameOver.HearBoard(report) || changed;
    }
    if (changed && Top().FrameIsStill()) Draw();
}

void EventLoop::RunTick() {
    if (!Base().Tick()) return;  // a watched replay is over
    DrawOverlays();
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

void EventLoop::Pause() {
    if (IsPaused()) return;
    overlays.push_back(&paused);
    paused.Begin();
    AllowScreenSaver();
    Draw();
}

void EventLoop::Resume() {
    if (!IsPaused()) return;
    overlays.clear();
    paused.End();
    AllowScreenSaver();
}

void EventLoop::AllowScreenSaver() { screenSaver.Allow(IsPaused() || !app.running); }

void EventLoop::Draw() {
    if (!Base().HasFrame()) return;
    app.DrawFrame();
    // A drawing outside a tick rebuilds the outlines that the next tick's
    // hit tests read, so a replay must draw it too.
    if (recorder != nullptr) recorder->OnAction(ReplayAction::kRedraw);
    DrawOverlays();
    app.Present();
}

void EventLoop::DrawOverlays() {
    rings.Draw(app);
    Base().DrawOver();
    for (const Screen* overlay : overlays) overlay->DrawOver();
}

Screen& EventLoop::Base() {
    if (replay != nullptr) return watching;
    if (app.running) return playing;
    return gameOver;
}

Screen& EventLoop::Top() { return overlays.empty() ? Base() : *overlays.back(); }
