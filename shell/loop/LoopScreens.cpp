#include "shell/loop/LoopScreens.h"

#include <ctime>

#include "game/GameApp.h"
#include "shell/screens/ScreenHost.h"
#include "shell/session/SessionStart.h"
#include "shell/session/ShellParts.h"
#include "shell/ui/GameWindow.h"
#include "shell/ui/OverlayFont.h"

LoopScreens::LoopScreens(GameApp& app, ScreenHost& host, const Accessibility& options,
                         TickTimer& timer)
    : session(app, host.Parts(), options),
      pause(timer, session),
      gameOver(app, host, session),
      playing(host, session, gameOver),
      watching(app, host),
      pauseMenu(host),
      welcome(host),
      app(app),
      parts(host.Parts()) {}

Screen& LoopScreens::Base() {
    if (parts.replay != nullptr) return watching;
    if (app.running) return playing;
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
    start->BeginAgain(app);
    MapEveryGlyph(*app.font);
    if (window != nullptr) window->SizeStars();
    return true;
}
