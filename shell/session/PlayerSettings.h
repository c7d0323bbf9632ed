// The settings in force this session: the file's, the command line's for
// this session only, and the player's changes, applied at once and kept.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>

#include "shell/settings/Accessibility.h"
#include "shell/settings/KeyBindings.h"
#include "shell/settings/Settings.h"
#include "shell/settings/SettingsFile.h"

class DailyBoard;
class GameWindow;
class Gamepads;
class SoundEffects;

// Whatever the player changes (in a menu, or with M and F11) goes through
// Change(): it takes effect on the attached parts at once and is written to
// the file. Command-line options (Override) win for the session and are
// never written, unless the player changes that same setting. Warnings go
// to standard error, each once a session.
class PlayerSettings {
public:
    explicit PlayerSettings(const std::string& path);

    // Reads the file; says on standard error what was wrong with it.
    void Load();
    // A value for this session only, already valid (a command-line option).
    void Override(const std::string& name, const std::string& value);

    // Nothing at the file's path yet, nothing written yet: the player's
    // first start.
    bool FirstStart() const { return !file.Seen(); }
    // Writes the file as it is, so the first start is over.
    void MarkSeen();

    const Settings& Current() const { return current; }
    const KeyBindings& Bindings() const { return bindings; }
    // The accessibility options as the settings now say.
    Accessibility AccessibilityOptions() const;

    // The player changes something: `change` edits a copy of Current();
    // what differs is applied, kept and written.
    void Change(const std::function<void(Settings&)>& change);

    // The window given this size by the player (not fullscreen): kept at the
    // next write, or by Finish().
    void WindowResized(int width, int height);
    // The end of the session: a resized window is kept.
    void Finish();

    // What the settings apply to; each may be null (tests).
    SoundEffects* sound = nullptr;
    GameWindow* window = nullptr;
    Gamepads* pads = nullptr;
    std::function<void(const Accessibility&)> applyAccessibility;
    DailyBoard* board = nullptr;
    // Applies every setting to the attached parts.
    void Apply();

private:
    void Save();
    void Recompute();
    void Warn(const std::string& message);

    SettingsFile file;
    Settings stored;                               // the file's, with the player's changes
    std::map<std::string, std::string> overrides;  // this session only
    Settings current;                              // stored, overridden
    KeyBindings bindings;
    bool resized = false;
    std::set<std::string> warned;
};
