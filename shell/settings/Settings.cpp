#include "shell/settings/Settings.h"

#include <algorithm>
#include <cstdlib>

#include "board/BoardAddress.h"
#include "board/BoardRules.h"
#include "common/Text.h"

namespace {

constexpr unsigned long long kNineDigits = 999999999;

using Kind = Settings::Kind;
using plain_text::Echoed;

// Not restored by "restore defaults": the player sized the window, not a menu.
const char* const kKeptByRestore[] = {Settings::kWindowWidth, Settings::kWindowHeight};

std::vector<Settings::Definition> MakeDefinitions() {
    std::vector<Settings::Definition> table = {
        {Settings::kVolume, Kind::kNumber, "100", 0, 100, 10, {}},
        {Settings::kMute, Kind::kSwitch, "off", 0, 0, 1, {}},
        {Settings::kFullscreen, Kind::kSwitch, "off", 0, 0, 1, {}},
        {Settings::kWindowWidth, Kind::kNumber, "1024", 256, 16384, 1, {}},
        {Settings::kWindowHeight, Kind::kNumber, "768", 192, 16384, 1, {}},
        // The accessibility options, named and valued as on the command line.
        {"line-width", Kind::kChoice, "1", 0, 0, 1, {"1", "1.5", "2", "3"}},
        {"stars", Kind::kChoice, "on", 0, 0, 1, {"on", "dim", "off"}},
        {"clear-saucer", Kind::kSwitch, "off", 0, 0, 1, {}},
        {"clear-photons", Kind::kSwitch, "off", 0, 0, 1, {}},
        {"speed", Kind::kChoice, "100", 0, 0, 1, {"50", "65", "80", "100"}},
        {"fire-on-press", Kind::kSwitch, "off", 0, 0, 1, {}},
        // The daily board: nothing is sent while it is off.
        {Settings::kBoard, Kind::kSwitch, "off", 0, 0, 1, {}},
        {Settings::kBoardAddress, Kind::kAddress, BoardAddress::kDefault, 0, 0, 1, {}},
        {Settings::kPlayer, Kind::kName, "", 0, 0, 1, {}},
    };
    for (int a = 0; a < KeyBindings::kActionCount; ++a) {
        const auto action = static_cast<KeyBindings::Action>(a);
        table.push_back({Settings::KeyName(action),
                         Kind::kKeys,
                         KeyBindings::DefaultKeys(action),
                         0,
                         0,
                         1,
                         {}});
        if (KeyBindings::HasPadButton(action)) {
            table.push_back({Settings::PadName(action),
                             Kind::kButtons,
                             KeyBindings::DefaultButtons(action),
                             0,
                             0,
                             1,
                             {}});
        }
    }
    return table;
}

bool HasWebScheme(const std::string& text) {
    for (const char c : text) {
        if (c <= ' ' || c > '~') return false;
    }
    return text.rfind("http://", 0) == 0 || text.rfind("https://", 0) == 0;
}

// At most nine digits: every number a setting takes, and no more.
bool ParseWhole(const std::string& text, long& value) {
    unsigned long long number = 0;
    if (text.size() > 9 || !plain_text::ParseWhole(text, kNineDigits, number)) return false;
    value = static_cast<long>(number);
    return true;
}

// The value as kept, or false with `why`.
bool Check(const Settings::Definition& definition, const std::string& value, std::string& kept,
           std::string& why) {
    switch (definition.kind) {
        case Kind::kSwitch:
            if (value != "on" && value != "off") {
                why = "'" + Echoed(value) + "' is neither on nor off";
                return false;
            }
            kept = value;
            return true;
        case Kind::kNumber: {
            long number = 0;
            if (!ParseWhole(value, number) || number < definition.min || number > definition.max) {
                why = "'" + Echoed(value) + "' is not a whole number from " +
                      std::to_string(definition.min) + " to " + std::to_string(definition.max);
                return false;
            }
            kept = std::to_string(number);
            return true;
        }
        case Kind::kChoice:
            if (std::find(definition.choices.begin(), definition.choices.end(), value) ==
                definition.choices.end()) {
                why = "'" + Echoed(value) + "' is not one of its choices";
                return false;
            }
            kept = value;
            return true;
        case Kind::kKeys: {
            std::vector<SDL_Scancode> keys;
            if (!KeyBindings::ParseKeys(value, keys, why)) return false;
            kept = KeyBindings::KeysText(keys);
            return true;
        }
        case Kind::kButtons: {
            std::vector<SDL_GameControllerButton> buttons;
            if (!KeyBindings::ParseButtons(value, buttons, why)) return false;
            kept = KeyBindings::ButtonsText(buttons);
            return true;
        }
        case Kind::kAddress:
            // Only its scheme here: reading the whole URL loads libcurl, which
            // start-up leaves until the board is used (DailyBoard checks it).
            if (!HasWebScheme(value)) {
                why = "'" + Echoed(value) + "' is not an http or https address";
                return false;
            }
            kept = value;
            return true;
        case Kind::kName: {
            // No name at all is a value of its own: none chosen yet.
            const std::string name = board_rules::TypedName(value);
            why = value.empty() ? "" : board_rules::NameProblem(name);
            if (!why.empty()) return false;
            kept = name;
            return true;
        }
    }
    return false;
}

}  // namespace

const std::vector<Settings::Definition>& Settings::Definitions() {
    static const std::vector<Definition> table = MakeDefinitions();
    return table;
}

const Settings::Definition* Settings::Find(const std::string& name) {
    for (const Definition& definition : Definitions()) {
        if (definition.name == name) return &definition;
    }
    return nullptr;
}

std::string Settings::KeyName(KeyBindings::Action action) {
    return std::string("key.") + KeyBindings::Name(action);
}

std::string Settings::PadName(KeyBindings::Action action) {
    return std::string("pad.") + KeyBindings::Name(action);
}

Settings::Settings() {
    for (const Definition& definition : Definitions()) {
        values[definition.name] = definition.defaultValue;
    }
}

const std::string& Settings::Get(const std::string& name) const { return values.at(name); }

int Settings::Number(const std::string& name) const { return std::atoi(Get(name).c_str()); }

bool Settings::IsOn(const std::string& name) const { return Get(name) == "on"; }

bool Settings::Set(const std::string& name, const std::string& value, std::string& why) {
    const Definition* definition = Find(name);
    if (definition == nullptr) {
        why = "unknown setting '" + Echoed(name) + "'";
        return false;
    }
    std::string kept;
    if (!Check(*definition, value, kept, why)) return false;
    values[name] = kept;
    return true;
}

void Settings::Step(const std::string& name, int direction) {
    const Definition& definition = *Find(name);
    std::string& value = values[name];
    switch (definition.kind) {
        case Kind::kSwitch:
            value = value == "on" ? "off" : "on";
            break;
        case Kind::kNumber: {
            // From a value off the steps (a volume of 85), the next step.
            const int step = definition.step;
            int number = Number(name);
            number = direction > 0 ? (number / step + 1) * step
                                   : (number + step - 1) / step * step - step;
            value = std::to_string(std::clamp(number, definition.min, definition.max));
            break;
        }
        case Kind::kChoice: {
            const auto& choices = definition.choices;
            const auto at = std::find(choices.begin(), choices.end(), value) - choices.begin();
            // Stops at either end, as a number does; left is the smaller.
            const std::ptrdiff_t last = static_cast<std::ptrdiff_t>(choices.size()) - 1;
            const std::ptrdiff_t next = std::clamp<std::ptrdiff_t>(at + direction, 0, last);
            value = choices[static_cast<std::size_t>(next)];
            break;
        }
        case Kind::kKeys:
        case Kind::kButtons:
        case Kind::kAddress:
        case Kind::kName:
            break;  // bound on the Controls screen, or typed
    }
}

void Settings::SetOn(const std::string& name, bool on) { values.at(name) = on ? "on" : "off"; }

KeyBindings Settings::Bindings() const {
    return KeyBindings::FromText(
        [this](KeyBindings::Action action) { return Get(KeyName(action)); },
        [this](KeyBindings::Action action) { return Get(PadName(action)); });
}

void Settings::Bind(const KeyBindings& bindings) {
    for (int a = 0; a < KeyBindings::kActionCount; ++a) {
        const auto action = static_cast<KeyBindings::Action>(a);
        values.at(KeyName(action)) = KeyBindings::KeysText(bindings.Keys(action));
        if (KeyBindings::HasPadButton(action)) {
            values.at(PadName(action)) = KeyBindings::ButtonsText(bindings.Buttons(action));
        }
    }
}

void Settings::RestoreDefaults() {
    const Settings defaults;
    for (const Definition& definition : Definitions()) {
        const std::string& name = definition.name;
        if (std::find(std::begin(kKeptByRestore), std::end(kKeptByRestore), name) ==
            std::end(kKeptByRestore)) {
            values[name] = defaults.Get(name);
        }
    }
}
