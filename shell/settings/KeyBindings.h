// Which key and which pad button does what.
#pragma once

#include <SDL.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

// Keys are bound by their place on the keyboard (scancodes), so a binding
// means the same key on every layout; a bound key is handed to the game as
// the game's own key for the action (SDLK_LEFT, SDLK_SPACE, ...), so the
// game's key map and its replays never change. An action may have several
// keys (both Alts fire the laser by default). Pad buttons are bound for the
// two weapons only; the D-pad, the stick and Start are fixed.
class KeyBindings {
public:
    enum Action { kTurnLeft, kTurnRight, kThrust, kReverse, kPhoton, kLaser, kPause, kActionCount };

    // "turn-left", as the settings file names it after "key." or "pad.".
    static const char* Name(Action action);
    // "turn left", as the Controls screen shows it.
    static const char* Label(Action action);
    // The game's key for the action; SDLK_UNKNOWN for the pause (the shell's).
    static SDL_Keycode GameKey(Action action);
    // Today's keys and buttons, in the settings file's words.
    static const char* DefaultKeys(Action action);
    static const char* DefaultButtons(Action action);  // "" when not bindable
    static bool HasPadButton(Action action) { return action == kPhoton || action == kLaser; }
    // P or Escape, pressed rather than repeated: pause and resume without
    // the player's bindings.
    static bool IsUnboundPauseKey(const SDL_KeyboardEvent& key) {
        return key.repeat == 0 && (key.keysym.sym == SDLK_p || key.keysym.sym == SDLK_ESCAPE);
    }

    // What the game keeps a key for, whatever the bindings say: Escape
    // leaves every screen, F11 is fullscreen, M mute and Q quit. A key is
    // kept by its place (the scancode) and by what the layout makes it (the
    // keycode), as the game's own keys go by the latter. Null for a key the
    // game does not keep.
    static const char* KeptFor(SDL_Scancode key);
    // A key SDL can name that the game does not keep.
    static bool CanBind(SDL_Scancode key);
    static bool CanBind(SDL_GameControllerButton button);

    // "Left Alt, Right Alt" into scancodes (SDL_GetScancodeFromName, any
    // case); false with what is wrong in `why`. Likewise "b, rightshoulder"
    // (SDL_GameControllerGetButtonFromString). An empty list is refused.
    static bool ParseKeys(const std::string& text, std::vector<SDL_Scancode>& keys,
                          std::string& why);
    static bool ParseButtons(const std::string& text,
                             std::vector<SDL_GameControllerButton>& buttons, std::string& why);
    // Back into those words.
    static std::string KeysText(const std::vector<SDL_Scancode>& keys);
    static std::string ButtonsText(const std::vector<SDL_GameControllerButton>& buttons);

    // The bindings written as `keysText` and `buttonsText` give each action's
    // keys and weapon's buttons (valid words, as Settings keeps them).
    using ActionText = std::function<std::string(Action)>;
    static KeyBindings FromText(const ActionText& keysText, const ActionText& buttonsText);

    // The action bound to a key, or kActionCount.
    Action ActionOf(SDL_Scancode key) const;
    // The game's key for a keyboard event: its action's game key, or
    // SDLK_UNKNOWN for a key bound to nothing or to the pause.
    SDL_Keycode Translate(const SDL_KeyboardEvent& key) const;

    const std::vector<SDL_Scancode>& Keys(Action action) const { return keys[action]; }
    const std::vector<SDL_GameControllerButton>& Buttons(Action action) const {
        return buttons[action];
    }
    // Gamepads::Bit()s of a weapon's buttons.
    Uint32 ButtonBits(Action action) const;

    // Binds `key` alone to `action`. An action that had the key gets
    // `action`'s former keys in its place, so the two swap and no action is
    // left without a key. False, changing nothing, for a key that cannot be
    // bound. Returns the other action changed in `swapped` (or kActionCount).
    bool Bind(Action action, SDL_Scancode key, Action& swapped);
    // The same for a weapon's pad button.
    bool Bind(Action action, SDL_GameControllerButton button, Action& swapped);

private:
    std::array<std::vector<SDL_Scancode>, kActionCount> keys;
    std::array<std::vector<SDL_GameControllerButton>, kActionCount> buttons;
};
