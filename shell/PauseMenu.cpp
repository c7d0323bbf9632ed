#include "shell/PauseMenu.h"

#include "shell/EventLoop.h"
#include "shell/PlayerSettings.h"

PauseMenu::PauseMenu(EventLoop& loop)
    : MenuScreen(loop),
      watch(loop),
      settings(loop),
      highScores(loop, watch),
      replays(loop, watch),
      dailyBoard(loop),
      quit(loop) {}

void PauseMenu::Shown() {
    MenuScreen::Shown();
    list.HighlightNone();
}

void PauseMenu::Build() {
    list.Add("resume", [this] { loop.Resume(); });
    if (loop.settings != nullptr) list.Add("settings", [this] { loop.Open(settings); });
    list.Add("high scores", [this] { loop.Open(highScores); });
    list.Add("replays", [this] { loop.Open(replays); });
    if (loop.sessionStart != nullptr) list.Add("play today's field", [this] { loop.PlayToday(); });
    list.Add("daily board", [this] { loop.Open(dailyBoard); });
    list.Add("quit", [this] { loop.Open(quit); });
}

std::string PauseMenu::Hint() const {
    std::string pauseKey = "p";
    if (loop.settings != nullptr) {
        const auto& keys = loop.settings->Bindings().Keys(KeyBindings::kPause);
        if (!keys.empty()) pauseKey = SDL_GetScancodeName(keys.front());
    }
    return "press " + pauseKey + " to resume, q to quit";
}

void PauseMenu::OtherKey(const SDL_KeyboardEvent& key) {
    if (key.keysym.sym == SDLK_q) loop.Quit();
}
