#include "shell/screens/ControlsMenu.h"

#include <cstdio>

#include "shell/screens/ScreenHost.h"
#include "shell/session/PlayerSettings.h"
#include "shell/session/ShellParts.h"

namespace {

// The pad's fixed controls, for the actions whose buttons cannot be bound.
const char* FixedPadControl(KeyBindings::Action action) {
    return action == KeyBindings::kPause ? "start" : "d-pad, stick";
}

}  // namespace

std::string ControlsMenu::Row(const KeyBindings& bindings, KeyBindings::Action action) {
    const std::string pad = KeyBindings::HasPadButton(action)
                                ? KeyBindings::ButtonsText(bindings.Buttons(action))
                                : FixedPadControl(action);
    char text[128];
    std::snprintf(text, sizeof text, "%-14s %-21s %-16s", KeyBindings::Label(action),
                  KeyBindings::KeysText(bindings.Keys(action)).c_str(), pad.c_str());
    return text;
}

void ControlsMenu::Build() {
    for (int a = 0; a < KeyBindings::kActionCount; ++a) {
        const auto action = static_cast<KeyBindings::Action>(a);
        list.Add([this, action] { return Row(host.Parts().settings->Bindings(), action); },
                 [this, action] {
                     waitingFor = action;
                     message.clear();
                     host.Redraw();
                 });
    }
    list.Add("back", [this] { host.Back(); });
}

std::string ControlsMenu::Title() const {
    if (!Waiting()) return "keys and buttons";
    return std::string("press a key for ") + KeyBindings::Label(waitingFor);
}

std::string ControlsMenu::Hint() const {
    if (!message.empty()) return message;
    if (!Waiting()) return "choose an action to bind it";
    if (host.PadLastUsed()) {
        return KeyBindings::HasPadButton(waitingFor) ? "or a pad button; start cancels"
                                                     : "a key only; start cancels";
    }
    return KeyBindings::HasPadButton(waitingFor) ? "or a pad button; escape cancels"
                                                 : "escape cancels";
}

void ControlsMenu::StopWaiting(const std::string& said) {
    waitingFor = KeyBindings::kActionCount;
    message = said;
    host.Redraw();
}

void ControlsMenu::Bound(KeyBindings& bindings, bool done, KeyBindings::Action swapped) {
    host.Parts().settings->Change([&bindings](Settings& s) { s.Bind(bindings); });
    const bool wasSwapped = done && swapped != KeyBindings::kActionCount;
    StopWaiting(wasSwapped ? std::string("swapped with ") + KeyBindings::Label(swapped) : "");
}

void ControlsMenu::KeyDown(const SDL_KeyboardEvent& key) {
    if (!Waiting()) {
        message.clear();
        MenuScreen::KeyDown(key);
        return;
    }
    if (key.repeat != 0) return;
    if (key.keysym.sym == SDLK_ESCAPE) {
        StopWaiting("");
        return;
    }
    KeyBindings bindings = host.Parts().settings->Bindings();
    KeyBindings::Action swapped = KeyBindings::kActionCount;
    if (!bindings.Bind(waitingFor, key.keysym.scancode, swapped)) {
        const char* name = SDL_GetScancodeName(key.keysym.scancode);
        const char* keptFor = KeyBindings::KeptFor(key.keysym.scancode);
        message = std::string(*name != '\0' ? name : "that key") + " cannot be bound" +
                  (keptFor != nullptr ? std::string(": the game keeps it ") + keptFor : "");
        host.Redraw();
        return;
    }
    Bound(bindings, true, swapped);
}

void ControlsMenu::PadAction(Gamepads::Action action) {
    if (Waiting() && action == Gamepads::Action::kPause) {
        StopWaiting("");
    } else if (!Waiting()) {
        MenuScreen::PadAction(action);
    }
}

void ControlsMenu::PadPress(SDL_GameControllerButton button) {
    if (!Waiting()) {
        message.clear();
        MenuScreen::PadPress(button);
        return;
    }
    KeyBindings bindings = host.Parts().settings->Bindings();
    KeyBindings::Action swapped = KeyBindings::kActionCount;
    if (bindings.Bind(waitingFor, button, swapped)) {
        Bound(bindings, true, swapped);
    } else if (button == SDL_CONTROLLER_BUTTON_B) {
        StopWaiting("");  // B goes back, as everywhere, where it cannot bind
    }
}

void ControlsMenu::Left() {
    waitingFor = KeyBindings::kActionCount;
    message.clear();
}
