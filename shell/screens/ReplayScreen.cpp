#include "shell/screens/ReplayScreen.h"

#include <string>

#include "game/GameApp.h"
#include "save/ReplayPlayer.h"
#include "save/ScoreBoardView.h"
#include "shell/screens/ScreenHost.h"
#include "shell/session/ShellParts.h"
#include "shell/ui/OverlayFont.h"

namespace {

constexpr int kTitleY = 16;
// Under the game's own last line, where a game's table would start.
constexpr int kLeaveHintY = 288;
constexpr const char* kLeaveHint = "end of replay: press q to quit";

}  // namespace

ReplayScreen::ReplayScreen(ScreenHost& host) : host(host) {}

void ReplayScreen::KeyDown(const SDL_KeyboardEvent& key) {
    if (IsPauseKey(key)) {
        host.Pause();
    } else if (key.keysym.sym == SDLK_q && key.repeat == 0 && host.Parts().replay->Finished()) {
        host.App().quit = true;
    }
}

void ReplayScreen::DrawOver() const {
    const std::string title = "replay  " + ScoreBoardView::FormatDay(host.Parts().replayFileTime) +
                              "  score " + std::to_string(host.Parts().replay->Recorded().score);
    DrawCentred(host.Font(), kTitleY, title.c_str());
    if (host.Parts().replay->Finished()) DrawCentred(host.Font(), kLeaveHintY, kLeaveHint);
}

bool ReplayScreen::FrameIsStill() const { return host.Parts().replay->Finished(); }

bool ReplayScreen::Tick() { return host.Parts().replay->Step(host.App()); }

bool ReplayScreen::HasFrame() const { return host.Parts().replay->TicksPlayed() > 0; }
