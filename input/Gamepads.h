// Every game controller plugged in, read through SDL's GameController API so
// that every pad SDL knows maps the same way.
#pragma once

#include <SDL.h>

#include <deque>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Gamepad;

// Hot-plug: a pad plugged in at any time is opened at once; an unplugged one
// is closed, lets go of what it held and is reported. Any pad drives the
// ship: the held directions are the union over all pads.
//
// Controls: D-pad or left stick hold GameApp::kInputLeft/Right/Up/Down like
// the arrow keys; A (south) released fires a photon or starts a new game,
// like Space; B (east) or the right shoulder released fires the laser, like
// Alt; Start pressed pauses or resumes. The weapons' buttons can be bound to
// others (BindWeapons). Menus read every press apart (NextPress).
//
// Mappings are taken from SDL's built-in database, then from
// gamecontrollerdb.txt in the data folder, then from SDL_GAMECONTROLLERCONFIG;
// a later source wins for the same pad.
//
// Never touches the game: the shell reads HeldBits() and the actions and
// applies them. A problem (no controller subsystem, an unreadable or bad
// mapping file, a pad that cannot be opened) is one "korvessa:" line on the
// warnings stream; the pads that work keep working. With no pad present
// nothing is held and no action is ever queued.
class Gamepads {
public:
    enum class Action {
        kPhoton,      // A released
        kLaser,       // B or right shoulder released
        kPause,       // Start pressed
        kPadRemoved,  // a pad we had open was unplugged
    };

    // One bit per SDL_GameControllerButton.
    static constexpr Uint32 Bit(SDL_GameControllerButton button) { return 1u << button; }
    static constexpr Uint32 kDefaultPhotonButtons = 1u << SDL_CONTROLLER_BUTTON_A;
    static constexpr Uint32 kDefaultLaserButtons =
        1u << SDL_CONTROLLER_BUTTON_B | 1u << SDL_CONTROLLER_BUTTON_RIGHTSHOULDER;
    // The shared database of every known pad on every system is under a
    // megabyte; a gamecontrollerdb.txt far larger is refused unread.
    static constexpr std::size_t kMaxMappingFileSize = 4u << 20;

    // Starts SDL's controller subsystem (one more reference if it already
    // runs), loads the mappings, then opens every pad already plugged in.
    // `dataFolder` holds gamecontrollerdb.txt; it is only read, and may be
    // missing or empty.
    explicit Gamepads(const std::string& dataFolder, std::ostream& warnings = std::cerr);
    // Closes the pads and drops the subsystem reference. Meant to run before
    // SDL_Quit; after it there is nothing left to close and it does nothing.
    ~Gamepads();

    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // Takes one SDL event. Returns true for a controller event (all of them
    // belong here), false for any other, which it leaves alone.
    bool HandleEvent(const SDL_Event& event);

    // The GameApp input bits held by any pad.
    unsigned HeldBits() const;

    // The oldest action not yet taken, in the order the events came.
    std::optional<Action> NextAction();

    // The oldest button press not yet taken: every button, and a push of the
    // left stick past its threshold as the D-pad button of that direction.
    std::optional<SDL_GameControllerButton> NextPress();

    // The buttons whose release fires a photon, and the laser (Bit()s).
    void BindWeapons(Uint32 photonButtons, Uint32 laserButtons);

    // Lets go of everything the pads hold, as on pause: a direction counts
    // again only after a new press or stick movement, and a button held
    // through it fires nothing when let go.
    void ReleaseAll();

    // How many pads are open.
    int PadCount() const;

    // From now on the weapons' actions are queued when their button is
    // pressed, and nothing when it is let go; or, switched off again, on
    // release as by default.
    void SetFireOnPress(bool on) { fireOnPress = on; }

private:
    void LoadMappingFile(const std::string& path);
    void LoadMappings(const std::string& text, const std::string& source);
    void OpenPlugged();
    void Open(int deviceIndex);
    void Close(SDL_JoystickID id);
    void Button(const SDL_ControllerButtonEvent& event);
    void Axis(Gamepad& pad, const SDL_ControllerAxisEvent& event);
    Gamepad* Find(SDL_JoystickID id) const;
    void Warn(const std::string& message);

    std::ostream& warnings;
    bool started;  // holds a reference on the controller subsystem
    std::vector<std::unique_ptr<Gamepad>> pads;
    std::deque<Action> actions;
    std::deque<SDL_GameControllerButton> presses;
    Uint32 photonButtons = kDefaultPhotonButtons;
    Uint32 laserButtons = kDefaultLaserButtons;
    bool fireOnPress = false;
};
