#include "shell/ReplayScreen.h"

#include <string>

#include "game/GameApp.h"
#include "save/ReplayPlayer.h"
#include "save/ScoreBoardView.h"
#include "shell/EventLoop.h"
#include "shell/OverlayFont.h"

namespace {

constexpr int kTitleY = 16;
// Under the game's own last line, where a game's table would start.
constexpr int kLeaveHintY = 288;
constexpr const char* kLeaveHint = "end of replay: press q to quit";

}  // namespace

ReplayScreen::ReplayScreen(GameApp& app, EventLoop& loop) : app(app), loop(loop) {}

void ReplayScreen::KeyDown(const SDL_KeyboardEvent& key) {
    if (IsPauseKey(key)) {
        loop.Pause();
    } else if (key.keysym.sym == SDLK_q && key.repeat == 0 && loop.replay->Finished()) {
        app.quit = true;
    }
}

void ReplayScreen::DrawOver() const {
    const std::string title = "replay  " + ScoreBoardView::FormatDay(loop.replayFileTime) +
                              "  score " + std::to_string(loop.replay->Recorded().score);
    DrawCentred(*app.font, kTitleY, title.c_str());
    if (loop.replay->Finished()) DrawCentred(*app.font, kLeaveHintY, kLeaveHint);
}

bool ReplayScreen::FrameIsStill() const { return loop.replay->Finished(); }

bool ReplayScreen::Tick() { return loop.replay->Step(app); }

bool ReplayScreen::HasFrame() const { return loop.replay->TicksPlayed() > 0; }
