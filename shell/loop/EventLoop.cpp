#include "shell/loop/EventLoop.h"

#include <cstdio>
#include <utility>

#include "audio/SoundEffects.h"
#include "board/BoardSender.h"
#include "game/GameApp.h"
#include "gfx/TextFont.h"
#include "save/ReplayPlayer.h"
#include "save/ReplayRecorder.h"
#include "shell/loop/InputEvents.h"
#include "shell/loop/LoopScreens.h"
#include "shell/session/DailyBoard.h"
#include "shell/ui/GameWindow.h"

EventLoop::EventLoop(CurrentGame& current, GameWindow* gameWindow)
    : EventLoop(nullptr, &current, gameWindow) {}

EventLoop::EventLoop(GameApp& app, GameWindow* gameWindow)
    : EventLoop(std::make_unique<CurrentGame>(app), nullptr, gameWindow) {}

EventLoop::EventLoop(std::unique_ptr<CurrentGame> owned, CurrentGame* held, GameWindow* gameWindow)
    : borrowed(std::move(owned)),
      game(held != nullptr ? *held : *this->borrowed),
      window(gameWindow),
      screens(std::make_unique<LoopScreens>(game, *this, frame.Options(), timer)),
      input(std::make_unique<InputEvents>(*this, gameWindow, screens->session)) {}

EventLoop::~EventLoop() = default;

const TextFont& EventLoop::Font() {
    if (textFont == nullptr) textFont = std::make_unique<TextFont>();
    return *textFont;
}

void EventLoop::SetAccessibility(const Accessibility& options) {
    const int speedBefore = TickSpeed();
    frame.Apply(options, window, parts);
    timer.Change(speedBefore, TickSpeed());
}

const GameOverScreen& EventLoop::GameOverShown() const { return screens->gameOver; }

const PlayerSession& EventLoop::Session() const { return screens->session; }

bool EventLoop::PadLastUsed() const { return input->PadLastUsed(); }

void EventLoop::StartTimer() { timer.Start(TickSpeed()); }

int EventLoop::TickSpeed() const {
    return parts.replay != nullptr ? parts.replay->Speed() : frame.Options().speed;
}

void EventLoop::Run() {
    SDL_Event event;
    while (!game->quit) {
        if (SDL_WaitEvent(&event) == 0) {
            std::fprintf(stderr, "korvessa: cannot wait for events: %s\n", SDL_GetError());
            return;
        }
        HandleEvent(event);
    }
}

void EventLoop::HandleEvent(const SDL_Event& event) {
    if (input->Take(event)) return;
    if (event.type == SDL_QUIT) game->quit = true;
    if (event.type != SDL_USEREVENT) return;
    if (event.user.code == GameApp::kTickEventCode) HandleTick(event.user);
    if (event.user.code == DailyBoard::kWakeEventCode && parts.board != nullptr) {
        HearBoard(parts.board->TakeReports());
    }
}

void EventLoop::HandleTick(const SDL_UserEvent& tick) {
    if (!Top().TicksRun()) return;
    // After a stall, go on at normal speed rather than fast-forward.
    if (SDL_TICKS_PASSED(SDL_GetTicks(), tick.timestamp + kStaleTickMs)) return;
    RunTick();
}

void EventLoop::HearBoard(const std::vector<BoardReport>& reports) {
    if (screens->HearBoard(reports, overlays) && Top().FrameIsStill()) Draw();
}

void EventLoop::RunTick() {
    // A screen laid over the game that ticks plays a game of its own.
    if (!(IsPaused() ? Top() : Base()).Tick()) return;  // a watched replay is over
    DrawOverlays();
    game->Present();
    AllowScreenSaver();
    if (parts.sound != nullptr && !IsPaused()) parts.sound->Update(*game);
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
    Open(screens->pauseMenu);
}

void EventLoop::ShowWelcome() {
    if (!IsPaused()) Open(screens->welcome);
}

void EventLoop::Open(Screen& screen) {
    if (overlays.empty()) screens->pause.Begin(parts.sound);
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
    input->StopRepeat();
    if (overlays.empty()) {
        screens->pause.End(parts.sound);
    } else {
        Draw();
    }
    AllowScreenSaver();
    ShowPointer();
}

void EventLoop::NewGameStarted() { screens->StartSessionAgain(window, false); }

void EventLoop::PlayToday() {
    if (!screens->StartSessionAgain(window, true)) return;
    screens->gameOver.Clear();
    Resume();
}

void EventLoop::Resume() {
    while (IsPaused()) Back();
}

void EventLoop::Quit() { game->quit = true; }

void EventLoop::AllowScreenSaver() {
    screenSaver.Allow(Top().FrameIsStill() || (!IsPaused() && !game->running));
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
        game->DrawFrame();
        // A drawing outside a tick rebuilds the outlines that the next tick's
        // hit tests read, so a replay must draw it too.
        if (parts.recorder != nullptr) parts.recorder->OnAction(ReplayAction::kRedraw);
    }
    DrawOverlays();
    game->Present();
}

void EventLoop::DrawOverlays() {
    // A menu covers the menus under it; the game-over table stays under the
    // first, and a screen with a frame of its own shows nothing of the rest.
    if (FrameOwner() < 0) {
        frame.DrawRings();
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

Screen& EventLoop::Base() { return screens->Base(); }

Screen& EventLoop::Top() { return overlays.empty() ? Base() : *overlays.back(); }
