// The first start: the keys, shown before anything moves.
#pragma once

#include "shell/screens/MenuScreen.h"

// Shown paused at the very first start (no settings file yet): every action
// with its key and pad button. Enter, Space, P or Escape (A or Start on a
// pad, or a click) start the game; from then on the settings file exists,
// so this screen is not shown again.
class WelcomeScreen : public MenuScreen {
public:
    explicit WelcomeScreen(ScreenHost& screenHost) : MenuScreen(screenHost) {}

    void KeyDown(const SDL_KeyboardEvent& key) override;
    void PadAction(Gamepads::Action action) override;
    void PadPress(SDL_GameControllerButton button) override;
    void Pointer(const MenuEvent& event) override;

protected:
    void Build() override;
    std::string Title() const override { return "korvessa"; }
    std::string Hint() const override { return "the keys and pad buttons, as bound now"; }

private:
    void Start();
};
