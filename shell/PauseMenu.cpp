#include "shell/PauseMenu.h"

#include "shell/PlayerSettings.h"
#include "shell/ScreenHost.h"
#include "shell/SessionStart.h"
#include "shell/ShellParts.h"

PauseMenu::PauseMenu(ScreenHost& host)
    : MenuScreen(host),
      watch(host),
      settings(host),
      highScores(host, watch),
      replays(host, watch),
      dailyBoard(host),
      quit(host) {}

void PauseMenu::Shown() {
    MenuScreen::Shown();
    list.HighlightNone();
}

void PauseMenu::Build() {
    list.Add("resume", [this] { host.Resume(); });
    if (host.Parts().settings != nullptr) list.Add("settings", [this] { host.Open(settings); });
    list.Add("high scores", [this] { host.Open(highScores); });
    list.Add("replays", [this] { host.Open(replays); });
    if (host.Parts().sessionStart != nullptr)
        list.Add("play today's field", [this] { host.PlayToday(); });
    list.Add("daily board", [this] { host.Open(dailyBoard); });
    list.Add("quit", [this] { host.Open(quit); });
}

std::string PauseMenu::Hint() const {
    std::string pauseKey = "p";
    if (host.Parts().settings != nullptr) {
        const auto& keys = host.Parts().settings->Bindings().Keys(KeyBindings::kPause);
        if (!keys.empty()) pauseKey = SDL_GetScancodeName(keys.front());
    }
    return "press " + pauseKey + " to resume, q to quit";
}

void PauseMenu::OtherKey(const SDL_KeyboardEvent& key) {
    if (key.keysym.sym == SDLK_q) host.Quit();
}
