#include "shell/session/PlayerSettings.h"

#include <cstdio>
#include <vector>

#include "audio/SoundEffects.h"
#include "input/Gamepads.h"
#include "shell/session/DailyBoard.h"
#include "shell/ui/GameWindow.h"

PlayerSettings::PlayerSettings(const std::string& path) : file(path), bindings(stored.Bindings()) {}

void PlayerSettings::Load() {
    std::vector<std::string> warnings;
    file.Load(stored, warnings);
    for (const std::string& warning : warnings) Warn(warning);
    Recompute();
}

void PlayerSettings::Override(const std::string& name, const std::string& value) {
    overrides[name] = value;
    Recompute();
}

void PlayerSettings::Recompute() {
    current = stored;
    std::string why;
    for (const auto& [name, value] : overrides) current.Set(name, value, why);
    bindings = current.Bindings();
}

void PlayerSettings::MarkSeen() {
    if (FirstStart()) Save();
}

void PlayerSettings::Change(const std::function<void(Settings&)>& change) {
    Settings changed = current;
    change(changed);
    if (changed == current) return;
    std::string why;
    for (const Settings::Definition& definition : Settings::Definitions()) {
        const std::string& name = definition.name;
        if (changed.Get(name) == current.Get(name)) continue;
        stored.Set(name, changed.Get(name), why);
        overrides.erase(name);
    }
    Recompute();
    Apply();
    Save();
}

void PlayerSettings::WindowResized(int width, int height) {
    std::string why;
    Settings sized = stored;
    if (!sized.Set(Settings::kWindowWidth, std::to_string(width), why) ||
        !sized.Set(Settings::kWindowHeight, std::to_string(height), why) || sized == stored) {
        return;
    }
    stored = sized;
    resized = true;
    Recompute();
}

void PlayerSettings::Finish() {
    if (resized) Save();
}

void PlayerSettings::Save() {
    resized = false;
    std::string error;
    if (!file.Save(stored, error)) Warn(error);
}

void PlayerSettings::Apply() {
    if (sound != nullptr) {
        sound->SetVolume(current.Number(Settings::kVolume));
        sound->SetMuted(current.IsOn(Settings::kMute));
    }
    if (window != nullptr && window->IsFullscreen() != current.IsOn(Settings::kFullscreen)) {
        window->ToggleFullscreen();
    }
    if (pads != nullptr) {
        pads->BindWeapons(bindings.ButtonBits(KeyBindings::kPhoton),
                          bindings.ButtonBits(KeyBindings::kLaser));
    }
    if (applyAccessibility) applyAccessibility(AccessibilityOptions());
    if (board != nullptr) board->Configure(current);
}

Accessibility PlayerSettings::AccessibilityOptions() const {
    Accessibility options;
    std::string unused;  // every value was checked when it was set
    for (const std::string& name : Accessibility::Names()) {
        options.Set(name, current.Get(name), unused);
    }
    return options;
}

void PlayerSettings::Warn(const std::string& message) {
    // An unwritable folder stays so: once is enough.
    if (warned.insert(message).second) std::fprintf(stderr, "korvessa: %s\n", message.c_str());
}
