#include "shell/loop/EventLoop.h"

#include <cstdio>
#include <ctime>

#include "audio/SoundEffects.h"
#include "board/BoardSender.h"
#include "game/GameApp.h"
#include "input/Gamepads.h"
#include "save/ReplayPlayer.h"
#include "save/ReplayRecorder.h"
#include "shell/session/DailyBoard.h"
#include "shell/session/SessionStart.h"
#include "shell/ui/GameWindow.h"
#include "shell/ui/OverlayFont.h"

EventLoop::EventLoop(GameApp& app, GameWindow* window)
    : app(app),
      window(window),
      session(app, parts, accessibility),
      pause(timer, session),
      gameOver(app, *this, session),
      playing(*this, session, gameOver),
      watching(app, *this),
      pauseMenu(*this),
      welcome(*this) {}

EventLoop::~EventLoop() {
    if (app.starPainter == &faintStars) app.starPainter = nullptr;
}

void EventLoop::SetAccessibility(const Accessibility& options) {
    const int speedBefore = TickSpeed();
    accessibility = options;
    faintStars.stars = options.stars;
    app.starPainter = options.stars == Accessibility::Stars::kOn ? nullptr : &faintStars;
    rings.saucer = options.clearSaucer;
    rings.photons = options.clearPhotons;
    if (window != nullptr) window->SetLineWidth(options.lineWidth);
    if (parts.pads != nullptr) parts.pads->SetFireOnPress(options.fireOnPress);
    if (parts.recorder != nullptr) parts.recorder->SetSpeed(options.speed);
    timer.Change(speedBefore, TickSpeed());
}

void EventLoop::StartTimer() { timer.Start(TickSpeed()); }

int EventLoop::TickSpeed() const {
    return parts.replay != nullptr ? parts.replay->Speed() : accessibility.speed;
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
    if (parts.pads != nullptr && parts.pads->HandleEvent(event)) {
        padEvents.Take(*parts.pads);
        session.CombineInput();
        return;
    }
    switch (event.type) {
        case SDL_QUIT:
            app.quit = true;
            break;
        case SDL_KEYDOWN:
            if (Top().TakesEveryKey() || !globalKeys.Take(event.key)) Top().KeyDown(event.key);
            break;
        case SDL_KEYUP:
            Top().KeyUp(event.key);
            break;
        case SDL_TEXTINPUT:
            Top().TextInput(event.text.text);
            break;
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEWHEEL:
            mouseEvents.Take(event);
            break;
        case SDL_WINDOWEVENT:
            windowEvents.Take(event.window);
            break;
        case SDL_USEREVENT:
            if (event.user.code == GameApp::kTickEventCode) HandleTick(event.user);
            if (event.user.code == PadRepeat::kEventCode) padEvents.Repeat(parts.pads, event.user);
            if (event.user.code == DailyBoard::kWakeEventCode) TakeBoardReports();
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

void EventLoop::TakeBoardReports() {
    if (parts.board != nullptr) HearBoard(parts.board->TakeReports());
}

void EventLoop::HearBoard(const std::vector<BoardReport>& reports) {
    bool changed = false;
    for (const BoardReport& report : reports) {
        changed = gameOver.HearBoard(report) || changed;
        for (Screen* screen : overlays) changed = screen->HearBoard(report) || changed;
    }
    if (changed && Top().FrameIsStill()) Draw();
}

void EventLoop::RunTick() {
    // A screen laid over the game that ticks plays a game of its own.
    if (!(IsPaused() ? Top() : Base()).Tick()) return;  // a watched replay is over
    DrawOverlays();
    app.Present();
    AllowScreenSaver();
    if (parts.sound != nullptr && !IsPaused()) parts.sound->Update(app);
    FinishStartUp();
}

void EventLoop::FinishStartUp() {
    if (startUpFinished) return;
    startUpFinished = true;
    // Opening audio takes milliseconds: not before the first frame is up.
    if (parts.sound != nullptr) parts.sound->Open();
    if (afterFirstFrame) afterFirstFrame();
}

void EventLoop::Pause() {
    if (IsPaused()) {
        // Focus lost while a replay plays: it stops, back on its menu.
        if (Top().TicksRun()) Back();
        return;
    }
    Open(pauseMenu);
}

void EventLoop::ShowWelcome() {
    if (!IsPaused()) Open(welcome);
}

void EventLoop::Open(Screen& screen) {
    if (overlays.empty()) pause.Begin(parts.sound);
    overlays.push_back(&screen);
    screen.Shown();
    AllowScreenSaver();
    ShowPointer();
    Draw();
}

void EventLoop::Back() {
    if (overlays.empty()) return;
    Screen* closed = overlays.back();
    overlays.pop_back();
    closed->Left();
    padEvents.StopRepeat();
    if (overlays.empty()) {
        pause.End(parts.sound);
    } else {
        Draw();
    }
    AllowScreenSaver();
    ShowPointer();
}

void EventLoop::NewGameStarted() {
    if (parts.sessionStart != nullptr && parts.sessionStart->StartsEveryGame()) BeginSessionAgain();
}

void EventLoop::PlayToday() {
    if (parts.sessionStart == nullptr) return;
    parts.sessionStart->BecomeDaily(std::time(nullptr));
    BeginSessionAgain();
    gameOver.Clear();
    Resume();
}

void EventLoop::BeginSessionAgain() {
    parts.sessionStart->BeginAgain(app);
    MapEveryGlyph(*app.font);
    if (window != nullptr) window->SizeStars();
}

void EventLoop::Resume() {
    while (IsPaused()) Back();
}

void EventLoop::Quit() { app.quit = true; }

void EventLoop::AllowScreenSaver() {
    screenSaver.Allow(Top().FrameIsStill() || (!IsPaused() && !app.running));
}

void EventLoop::ShowPointer() {
    if (window != nullptr) window->ShowPointer(IsPaused() && !Top().TicksRun());
}

void EventLoop::Draw() {
    FinishStartUp();  // the texts over the frame may need it
    const int owner = FrameOwner();
    if (owner >= 0) {
        overlays[static_cast<std::size_t>(owner)]->DrawFrame();
    } else {
        if (!Base().HasFrame()) return;
        app.DrawFrame();
        // A drawing outside a tick rebuilds the outlines that the next tick's
        // hit tests read, so a replay must draw it too.
        if (parts.recorder != nullptr) parts.recorder->OnAction(ReplayAction::kRedraw);
    }
    DrawOverlays();
    app.Present();
}

void EventLoop::DrawOverlays() {
    // A menu covers the menus under it; the game-over table stays under the
    // first, and a screen with a frame of its own shows nothing of the rest.
    if (FrameOwner() < 0) {
        rings.Draw(app);
        Base().DrawOver();
    }
    if (IsPaused()) Top().DrawOver();
}

int EventLoop::FrameOwner() const {
    for (int i = static_cast<int>(overlays.size()) - 1; i >= 0; --i) {
        if (overlays[static_cast<std::size_t>(i)]->OwnsFrame()) return i;
    }
    return -1;
}

Screen& EventLoop::Base() {
    if (parts.replay != nullptr) return watching;
    if (app.running) return playing;
    return gameOver;
}

Screen& EventLoop::Top() { return overlays.empty() ? Base() : *overlays.back(); }
