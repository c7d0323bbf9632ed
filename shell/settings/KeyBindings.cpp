#include "shell/settings/KeyBindings.h"

#include <algorithm>

#include "common/Text.h"
#include "input/Gamepads.h"

namespace {

struct ActionInfo {
    const char* name;
    const char* label;
    SDL_Keycode gameKey;
    const char* keys;
    const char* buttons;
};

const ActionInfo kActions[KeyBindings::kActionCount] = {
    {"turn-left", "turn left", SDLK_LEFT, "Left", ""},
    {"turn-right", "turn right", SDLK_RIGHT, "Right", ""},
    {"thrust", "thrust", SDLK_UP, "Up", ""},
    {"reverse", "reverse thrust", SDLK_DOWN, "Down", ""},
    {"photon", "photon", SDLK_SPACE, "Space", "a"},
    {"laser", "laser", SDLK_LALT, "Left Alt, Right Alt", "b, rightshoulder"},
    {"pause", "pause", SDLK_UNKNOWN, "P", ""},
};

constexpr const char* kSeparator = ", ";

// Spaces alone: the separator's, around names in a value already trimmed.
std::string Trimmed(const std::string& text) { return plain_text::Trimmed(text, " "); }

// Splits "a, b, c" into names that `valid` accepts. Key names may hold a
// comma themselves ("," and "Keypad ,"), so a separator counts only where
// the text before it is a whole name.
template <typename Valid>
bool SplitNames(const std::string& text, std::vector<std::string>& names, Valid valid) {
    std::size_t start = 0;
    for (std::size_t at = text.find(kSeparator); at != std::string::npos;
         at = text.find(kSeparator, at + 1)) {
        const std::string name = Trimmed(text.substr(start, at - start));
        if (!valid(name)) continue;
        names.push_back(name);
        start = at + 2;
    }
    names.push_back(Trimmed(text.substr(start)));
    return !names.back().empty() && valid(names.back());
}

template <typename Item>
bool Contains(const std::vector<Item>& items, Item item);

// ": the game keeps it to quit", or nothing for a key not kept, or a button.
std::string KeptReason(SDL_Scancode key) {
    const char* use = KeyBindings::KeptFor(key);
    return use == nullptr ? "" : std::string(": the game keeps it ") + use;
}
std::string KeptReason(SDL_GameControllerButton) { return ""; }

// Names into items, each once, every one known (`FromName` gives `unknown`
// for the others) and bindable.
template <typename Item, typename FromName, typename Bindable>
bool ParseNames(const std::string& text, std::vector<Item>& items, std::string& why,
                const char* what, Item unknown, FromName fromName, Bindable bindable) {
    std::vector<std::string> names;
    const auto known = [&](const std::string& name) { return fromName(name.c_str()) != unknown; };
    if (!SplitNames(text, names, known)) {
        why = std::string("unknown ") + what + " '" + plain_text::Echoed(names.back()) + "'";
        return false;
    }
    items.clear();
    for (const std::string& name : names) {
        const Item item = fromName(name.c_str());
        if (!bindable(item)) {
            why = "'" + plain_text::Echoed(name) + "' cannot be bound" + KeptReason(item);
            return false;
        }
        if (!Contains(items, item)) items.push_back(item);
    }
    return true;
}

template <typename Item>
bool Contains(const std::vector<Item>& items, Item item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

// `item` alone for `action`; an action that had it takes `action`'s former
// items in its place.
template <typename Item, std::size_t N>
void BindAlone(std::array<std::vector<Item>, N>& bound, int action, Item item, int& swapped) {
    swapped = KeyBindings::kActionCount;
    for (int other = 0; other < static_cast<int>(N); ++other) {
        std::vector<Item>& items = bound[static_cast<std::size_t>(other)];
        if (other == action || !Contains(items, item)) continue;
        items.erase(std::find(items.begin(), items.end(), item));
        for (Item former : bound[static_cast<std::size_t>(action)]) {
            if (!Contains(items, former)) items.push_back(former);
        }
        swapped = other;
    }
    bound[static_cast<std::size_t>(action)] = {item};
}

}  // namespace

const char* KeyBindings::Name(Action action) { return kActions[action].name; }
const char* KeyBindings::Label(Action action) { return kActions[action].label; }
SDL_Keycode KeyBindings::GameKey(Action action) { return kActions[action].gameKey; }
const char* KeyBindings::DefaultKeys(Action action) { return kActions[action].keys; }
const char* KeyBindings::DefaultButtons(Action action) { return kActions[action].buttons; }

const char* KeyBindings::KeptFor(SDL_Scancode key) {
    struct Kept {
        SDL_Scancode place;
        SDL_Keycode meaning;
        const char* use;
    };
    static constexpr Kept kKept[] = {
        {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, "to go back"},
        {SDL_SCANCODE_F11, SDLK_F11, "for fullscreen"},
        {SDL_SCANCODE_M, SDLK_m, "to mute"},
        {SDL_SCANCODE_Q, SDLK_q, "to quit"},
    };
    const SDL_Keycode meaning = SDL_GetKeyFromScancode(key);
    for (const Kept& kept : kKept) {
        if (key == kept.place || meaning == kept.meaning) return kept.use;
    }
    return nullptr;
}

bool KeyBindings::CanBind(SDL_Scancode key) {
    return key != SDL_SCANCODE_UNKNOWN && KeptFor(key) == nullptr &&
           *SDL_GetScancodeName(key) != '\0';
}

bool KeyBindings::CanBind(SDL_GameControllerButton button) {
    // Start pauses and resumes; the D-pad moves through menus and steers.
    return button >= SDL_CONTROLLER_BUTTON_A && button < SDL_CONTROLLER_BUTTON_MAX &&
           button != SDL_CONTROLLER_BUTTON_START && button != SDL_CONTROLLER_BUTTON_GUIDE &&
           (button < SDL_CONTROLLER_BUTTON_DPAD_UP || button > SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
}

bool KeyBindings::ParseKeys(const std::string& text, std::vector<SDL_Scancode>& keys,
                            std::string& why) {
    return ParseNames(text, keys, why, "key", SDL_SCANCODE_UNKNOWN, SDL_GetScancodeFromName,
                      [](SDL_Scancode key) { return CanBind(key); });
}

bool KeyBindings::ParseButtons(const std::string& text,
                               std::vector<SDL_GameControllerButton>& buttons, std::string& why) {
    return ParseNames(text, buttons, why, "pad button", SDL_CONTROLLER_BUTTON_INVALID,
                      SDL_GameControllerGetButtonFromString,
                      [](SDL_GameControllerButton button) { return CanBind(button); });
}

std::string KeyBindings::KeysText(const std::vector<SDL_Scancode>& keys) {
    std::string text;
    for (SDL_Scancode key : keys)
        text += (text.empty() ? "" : kSeparator) + std::string(SDL_GetScancodeName(key));
    return text;
}

std::string KeyBindings::ButtonsText(const std::vector<SDL_GameControllerButton>& buttons) {
    std::string text;
    for (SDL_GameControllerButton button : buttons) {
        text += (text.empty() ? "" : kSeparator) +
                std::string(SDL_GameControllerGetStringForButton(button));
    }
    return text;
}

KeyBindings KeyBindings::FromText(const ActionText& keysText, const ActionText& buttonsText) {
    KeyBindings bindings;
    std::string why;
    for (int a = 0; a < kActionCount; ++a) {
        const auto action = static_cast<Action>(a);
        ParseKeys(keysText(action), bindings.keys[action], why);
        if (HasPadButton(action)) {
            ParseButtons(buttonsText(action), bindings.buttons[action], why);
        }
    }
    return bindings;
}

KeyBindings::Action KeyBindings::ActionOf(SDL_Scancode key) const {
    for (int a = 0; a < kActionCount; ++a) {
        const auto action = static_cast<Action>(a);
        if (Contains(keys[action], key)) return action;
    }
    return kActionCount;
}

SDL_Keycode KeyBindings::Translate(const SDL_KeyboardEvent& key) const {
    const Action action = ActionOf(key.keysym.scancode);
    return action == kActionCount ? SDLK_UNKNOWN : GameKey(action);
}

Uint32 KeyBindings::ButtonBits(Action action) const {
    Uint32 bits = 0;
    for (SDL_GameControllerButton button : buttons[action]) bits |= Gamepads::Bit(button);
    return bits;
}

bool KeyBindings::Bind(Action action, SDL_Scancode key, Action& swapped) {
    if (!CanBind(key)) return false;
    int other = kActionCount;
    BindAlone(keys, action, key, other);
    swapped = static_cast<Action>(other);
    return true;
}

bool KeyBindings::Bind(Action action, SDL_GameControllerButton button, Action& swapped) {
    if (!HasPadButton(action) || !CanBind(button)) return false;
    int other = kActionCount;
    BindAlone(buttons, action, button, other);
    swapped = static_cast<Action>(other);
    return true;
}
