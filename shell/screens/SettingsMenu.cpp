#include "shell/screens/SettingsMenu.h"

#include <cstdio>
#include <cstring>

#include "board/BoardAddress.h"
#include "board/BoardRules.h"
#include "shell/screens/ScreenHost.h"
#include "shell/session/PlayerSettings.h"
#include "shell/session/ShellParts.h"

namespace {

// Long enough for any address of a board, short enough for the screen.
constexpr std::size_t kMaxAddressLength = 60;
constexpr const char* kAddressLabel = "address  ";
// A row fits the playfield's 64 cells with its "> " and " <".
constexpr std::size_t kMaxRowLength = 60;
constexpr const char* kRestored = "the defaults are restored";

// The address as far as it fits after its label.
std::string AddressRow(const std::string& address) {
    const std::size_t room = kMaxRowLength - std::strlen(kAddressLabel);
    if (address.size() <= room) return kAddressLabel + address;
    return kAddressLabel + address.substr(0, room - 3) + "...";
}

}  // namespace

SettingsMenu::SettingsMenu(ScreenHost& screenHost)
    : MenuScreen(screenHost),
      controls(screenHost),
      entry(screenHost),
      restore(screenHost, "restore the defaults?", "yes, restore them", [this] { RestoreDefaults(); }) {}

void SettingsMenu::Shown() {
    message.clear();
    MenuScreen::Shown();
}

void SettingsMenu::Handle(const MenuEvent& event) {
    message.clear();
    MenuScreen::Handle(event);
}

void SettingsMenu::RestoreDefaults() {
    host.Parts().settings->Change([](Settings& s) { s.RestoreDefaults(); });
    message = kRestored;
    host.Redraw();
}

void SettingsMenu::Build() {
    list.AddHeading("sound");
    AddSetting(Settings::kVolume, "volume");
    AddSetting(Settings::kMute, "mute");
    list.AddHeading("display");
    AddSetting(Settings::kFullscreen, "fullscreen");
    list.AddHeading("controls");
    list.Add("keys and buttons", [this] { host.Open(controls); });
    list.AddHeading("accessibility");
    AddSetting("line width", "line-width");
    AddSetting("stars", "stars");
    AddSetting("clear saucer", "clear-saucer");
    AddSetting("clear photons", "clear-photons");
    AddSetting("speed", "speed");
    AddSetting("fire on press", "fire-on-press");
    AddBoard();
    list.AddHeading("");
    // The rows show the values as they are when drawn: no rebuilding.
    list.Add("restore defaults", [this] { host.Open(restore); });
    list.Add("back", [this] { host.Back(); });
}

std::string SettingsMenu::Hint() const {
    return message.empty() ? "left and right change a setting" : message;
}

void SettingsMenu::AddSetting(const std::string& label, const std::string& name) {
    PlayerSettings& settings = *host.Parts().settings;
    list.Add(
        [&settings, label, name] {
            char text[64];
            std::snprintf(text, sizeof text, "%-14s %5s", label.c_str(),
                          settings.Current().Get(name).c_str());
            return std::string(text);
        },
        nullptr,
        [&settings, name](int direction) {
            settings.Change([&](Settings& s) { s.Step(name, direction); });
        });
}

void SettingsMenu::AddBoard() {
    const Settings& current = host.Parts().settings->Current();
    list.AddHeading("daily board");
    list.Add([&current] { return "daily board  " + current.Get(Settings::kBoard); },
             [this] { ChangeBoard(); }, [this](int) { ChangeBoard(); });
    list.Add([&current] { return "player  " + current.Get(Settings::kPlayer); },
             [this] { AskName(false); });
    list.Add([&current] { return AddressRow(current.Get(Settings::kBoardAddress)); },
             [this] { AskAddress(); });
}

void SettingsMenu::ChangeBoard() {
    PlayerSettings& settings = *host.Parts().settings;
    if (!settings.Current().IsOn(Settings::kBoard) &&
        settings.Current().Get(Settings::kPlayer).empty()) {
        AskName(true);
        return;
    }
    settings.Change([](Settings& s) { s.Step(Settings::kBoard, +1); });
}

void SettingsMenu::AskName(bool thenTurnOn) {
    PlayerSettings& settings = *host.Parts().settings;
    entry.Ask("your name on the board", settings.Current().Get(Settings::kPlayer),
              board_rules::kMaxNameLength, board_rules::TypedNameProblem,
              [&settings, thenTurnOn](const std::string& name) {
                  settings.Change([&](Settings& s) {
                      std::string why;
                      s.Set(Settings::kPlayer, name, why);
                      if (thenTurnOn) s.SetOn(Settings::kBoard, true);
                  });
              });
}

void SettingsMenu::AskAddress() {
    PlayerSettings& settings = *host.Parts().settings;
    entry.Ask(
        "the board's address", settings.Current().Get(Settings::kBoardAddress), kMaxAddressLength,
        [](const std::string& text) {
            BoardAddress address;
            std::string problem;
            BoardAddress::Parse(text, address, problem);
            return problem;
        },
        [&settings](const std::string& text) {
            settings.Change([&](Settings& s) {
                std::string why;
                s.Set(Settings::kBoardAddress, text, why);
            });
        });
}
