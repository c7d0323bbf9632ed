// Quitting, asked again so that a slip of the pad loses no game.
#pragma once

#include "shell/screens/MenuScreen.h"

class QuitMenu : public MenuScreen {
public:
    explicit QuitMenu(ScreenHost& screenHost) : MenuScreen(screenHost) {}

protected:
    void Build() override;
    std::string Title() const override { return "quit korvessa?"; }
};
