// The player's settings: each a name and a value, as the settings file
// keeps them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "shell/settings/KeyBindings.h"

// Every setting is defined once, in the table in Settings.cpp: its name (as
// in the file, and the long command-line option where there is one), its
// kind, its default and its range. Values are kept as the file's words
// ("80", "on", "Left Alt, Right Alt"), always valid: Set() refuses anything
// else. Adding a setting is one line in that table, plus the menu item that
// shows it and the code that applies it.
class Settings {
public:
    // The names of the settings read by name outside their own table, as
    // the file spells them; a typo here does not compile.
    static constexpr const char* kVolume = "volume";
    static constexpr const char* kMute = "mute";
    static constexpr const char* kFullscreen = "fullscreen";
    static constexpr const char* kWindowWidth = "window-width";
    static constexpr const char* kWindowHeight = "window-height";
    static constexpr const char* kBoard = "board";
    static constexpr const char* kBoardAddress = "board-address";
    static constexpr const char* kPlayer = "player";

    enum class Kind {
        kSwitch,   // on or off
        kNumber,   // a whole number from `min` to `max`; the menu steps by `step`
        kChoice,   // one of `choices`, which the menu steps through to either end
        kKeys,     // key names, ", " between them
        kButtons,  // pad button names, ", " between them
        kAddress,  // an http or https URL (BoardAddress)
        kName,     // a player's name for the board, or empty for none yet
    };

    struct Definition {
        std::string name;
        Kind kind;
        std::string defaultValue;
        int min = 0;
        int max = 0;
        int step = 1;
        std::vector<std::string> choices;
    };

    static const std::vector<Definition>& Definitions();
    // The definition named so, or null.
    static const Definition* Find(const std::string& name);
    // "key.laser", "pad.laser".
    static std::string KeyName(KeyBindings::Action action);
    static std::string PadName(KeyBindings::Action action);

    // Every setting at its default.
    Settings();

    // The value of a defined setting.
    const std::string& Get(const std::string& name) const;
    int Number(const std::string& name) const;
    bool IsOn(const std::string& name) const;

    // Sets a defined setting to `value` (key names in any case, kept as SDL
    // spells them). False, changing nothing, with what is wrong in `why`,
    // for an unknown name or a value the setting cannot take.
    bool Set(const std::string& name, const std::string& value, std::string& why);
    // The next value the menu offers, `direction` +1 or -1: a switch flips,
    // a number steps within its range, a choice cycles; texts are typed on
    // a screen of their own.
    void Step(const std::string& name, int direction);
    void SetOn(const std::string& name, bool on);
    // The keys and buttons as bound here; Bind() writes them back.
    KeyBindings Bindings() const;
    void Bind(const KeyBindings& bindings);

    // Every setting the menu's "restore defaults" covers back to its default;
    // the window's size stays.
    void RestoreDefaults();

    bool operator==(const Settings& other) const { return values == other.values; }
    bool operator!=(const Settings& other) const { return values != other.values; }

private:
    std::map<std::string, std::string> values;
};
