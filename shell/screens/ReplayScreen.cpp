#include "shell/screens/ReplayScreen.h"

#include <string>

#include "game/GameApp.h"
#include "save/ReplayPlayer.h"
#include "save/ScoreBoardView.h"
#include "shell/screens/ScreenHost.h"
#include "shell/session/ShellParts.h"
#include "shell/ui/ContinuePrompt.h"
#include "shell/ui/OverlayFont.h"

namespace {

constexpr int kTitleY = 16;
// A pad has no quit button: the menu's last row quits.
constexpr const char* kKeyLeaveHint = "end of replay: press q to quit";
constexpr const char* kPadLeaveHint = "end of replay: start opens the menu";

}  // namespace

ReplayScreen::ReplayScreen(ScreenHost& screenHost) : host(screenHost) {}

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
    // The game's own line would offer a new game, which a replay never starts.
    if (host.Parts().replay->Finished()) {
        ReplaceContinuePrompt(host.Font(), host.PadLastUsed() ? kPadLeaveHint : kKeyLeaveHint);
    }
}

bool ReplayScreen::FrameIsStill() const { return host.Parts().replay->Finished(); }

bool ReplayScreen::Tick() { return host.Parts().replay->Step(host.App()); }

bool ReplayScreen::HasFrame() const { return host.Parts().replay->TicksPlayed() > 0; }
