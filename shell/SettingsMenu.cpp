#include "shell/SettingsMenu.h"

#include <cstdio>

#include "shell/EventLoop.h"
#include "shell/PlayerSettings.h"

SettingsMenu::SettingsMenu(EventLoop& loop) : MenuScreen(loop), controls(loop) {}

void SettingsMenu::Build() {
    list.AddHeading("sound");
    AddSetting("volume", "volume");
    AddSetting("mute", "mute");
    list.AddHeading("display");
    AddSetting("fullscreen", "fullscreen");
    list.AddHeading("controls");
    list.Add("keys and buttons", [this] { loop.Open(controls); });
    list.AddHeading("accessibility");
    AddSetting("line width", "line-width");
    AddSetting("stars", "stars");
    AddSetting("clear saucer", "clear-saucer");
    AddSetting("clear photons", "clear-photons");
    AddSetting("speed", "speed");
    AddSetting("fire on press", "fire-on-press");
    list.AddHeading("");
    // The rows show the values as they are when drawn: no rebuilding.
    list.Add("restore defaults",
             [this] { loop.settings->Change([](Settings& s) { s.RestoreDefaults(); }); });
    list.Add("back", [this] { loop.Back(); });
}

std::string SettingsMenu::Hint() const { return "left and right change a setting"; }

void SettingsMenu::AddSetting(const std::string& label, const std::string& name) {
    PlayerSettings& settings = *loop.settings;
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
