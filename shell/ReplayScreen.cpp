#include "shell/ReplayScreen.h"

#include "save/ReplayPlayer.h"
#include "shell/EventLoop.h"

ReplayScreen::ReplayScreen(GameApp& app, EventLoop& loop) : app(app), loop(loop) {}

void ReplayScreen::KeyDown(const SDL_KeyboardEvent& key) {
    if (IsPauseKey(key)) loop.Pause();
}

bool ReplayScreen::FrameIsStill() const { return loop.replay->Finished(); }

bool ReplayScreen::Tick() { return loop.replay->Step(app); }

bool ReplayScreen::HasFrame() const { return loop.replay->TicksPlayed() > 0; }
