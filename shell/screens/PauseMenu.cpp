#include "shell/screens/PauseMenu.h"

#include "shell/screens/AboutPage.h"
#include "shell/screens/DailyBoardMenu.h"
#include "shell/screens/HighScoresMenu.h"
#include "shell/screens/QuitMenu.h"
#include "shell/screens/ReplaysMenu.h"
#include "shell/screens/ScreenHost.h"
#include "shell/screens/SettingsMenu.h"
#include "shell/screens/WatchScreen.h"
#include "shell/session/PlayerSettings.h"
#include "shell/session/ShellParts.h"

namespace {

// A row of the pause menu: an action, or a page made when first chosen.
struct Row {
    const char* label;
    bool (*offered)(ScreenHost& host);
    void (*act)(ScreenHost& host);
    std::unique_ptr<Screen> (*make)(ScreenHost& host, WatchScreen& watch);
};

template <typename Page>
std::unique_ptr<Screen> Make(ScreenHost& host, WatchScreen& /*watch*/) {
    return std::make_unique<Page>(host);
}

template <typename Page>
std::unique_ptr<Screen> MakeWatching(ScreenHost& host, WatchScreen& watch) {
    return std::make_unique<Page>(host, watch);
}

bool Always(ScreenHost& /*host*/) { return true; }
bool HasSettings(ScreenHost& host) { return host.Parts().settings != nullptr; }
bool StartsSessions(ScreenHost& host) { return host.Parts().sessionStart != nullptr; }

const Row kRows[] = {
    {"resume", Always, [](ScreenHost& host) { host.Resume(); }, nullptr},
    {"settings", HasSettings, nullptr, Make<SettingsMenu>},
    {"high scores", Always, nullptr, MakeWatching<HighScoresMenu>},
    {"replays", Always, nullptr, MakeWatching<ReplaysMenu>},
    {"play today's field", StartsSessions, [](ScreenHost& host) { host.PlayToday(); }, nullptr},
    {"daily board", Always, nullptr, Make<DailyBoardMenu>},
    {"about", Always, nullptr, Make<AboutPage>},
    {"quit", Always, nullptr, Make<QuitMenu>},
};

}  // namespace

PauseMenu::PauseMenu(ScreenHost& screenHost)
    : MenuScreen(screenHost), watch(std::make_unique<WatchScreen>(screenHost)) {}

PauseMenu::~PauseMenu() = default;

void PauseMenu::Build() {
    for (const Row& row : kRows) {
        if (!row.offered(host)) continue;
        if (row.act != nullptr) {
            list.Add(row.label, [this, act = row.act] { act(host); });
        } else {
            AddPage(row.label,
                    [this, make = row.make](ScreenHost& on) { return make(on, *watch); });
        }
    }
}

std::string PauseMenu::Hint() const {
    // A pad has no quit button: quit is the menu's last row.
    if (host.PadLastUsed()) return "press start to resume";
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
