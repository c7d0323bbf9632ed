// Controls: every action with its keys and pad buttons, and rebinding.
#pragma once

#include <string>

#include "shell/screens/MenuScreen.h"
#include "shell/settings/KeyBindings.h"

// Choosing an action waits for a key (or, for the weapons, a pad button)
// and binds it; a key another action had swaps the two; Escape or Start
// cancel; the keys the game keeps (Escape, F11, M, Q) cannot be bound, and
// saying so (and what the game keeps the key for) the screen keeps
// waiting.
class ControlsMenu : public MenuScreen {
public:
    explicit ControlsMenu(ScreenHost& screenHost) : MenuScreen(screenHost) {}

    // "turn left      Left                  d-pad, stick": one action as bound.
    static std::string Row(const KeyBindings& bindings, KeyBindings::Action action);

    void KeyDown(const SDL_KeyboardEvent& key) override;
    void PadAction(Gamepads::Action action) override;
    void PadPress(SDL_GameControllerButton button) override;
    void Left() override;
    bool TakesEveryKey() const override { return Waiting(); }

protected:
    void Build() override;
    std::string Title() const override;
    std::string Hint() const override;

private:
    bool Waiting() const { return waitingFor != KeyBindings::kActionCount; }
    void StopWaiting(const std::string& said);
    void Bound(KeyBindings& bindings, bool done, KeyBindings::Action swapped);

    KeyBindings::Action waitingFor = KeyBindings::kActionCount;
    std::string message;
};
