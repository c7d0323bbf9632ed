#include "shell/loop/LoopScreens.h"

#include <ctime>

#include "game/GameApp.h"
#include "shell/screens/ScreenHost.h"
#include "shell/session/SessionStart.h"
#include "shell/session/ShellParts.h"
#include "shell/ui/CurrentGame.h"
#include "shell/ui/GameWindow.h"
#include "shell/ui/OverlayFont.h"

LoopScreens::LoopScreens(CurrentGame& current, ScreenHost& host, const Accessibility& options,
                         TickTimer& timer)
    : session(current, host.Parts(), options),
      pause(timer, session),
      gameOver(host, session),
      playing(host, session, gameOver),
      watching(host),
      pauseMenu(host),
      welcome(host),
      game(current),
      parts(host.Parts()) {}

Screen& LoopScreens::Base() {
    if (parts.replay != nullptr) return watching;
    if (game->running) return playing;
    return gameOver;
}

bool LoopScreens::StartSessionAgain(GameWindow* window, bool asDaily) {
    SessionStart* start = parts.sessionStart;
    if (start == nullptr) return false;
    if (asDaily) {
        start->BecomeDaily(std::time(nullptr));
    } else if (!start->StartsEveryGame()) {
        return false;
    }
    start->BeginAgain(game);
    ClampGlyphRows(*game->font);
    if (window != nullptr) window->SizeStars();
    return true;
}

bool LoopScreens::HearBoard(const std::vector<BoardReport>& reports,
                            const std::vector<Screen*>& overlays) {
    bool changed = false;
    for (const BoardReport& report : reports) {
        changed = gameOver.HearBoard(report) || changed;
        for (Screen* screen : overlays) changed = screen->HearBoard(report) || changed;
    }
    return changed;
}
