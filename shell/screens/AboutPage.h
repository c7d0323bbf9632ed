// What the game is: its version and the licence it comes under.
#pragma once

#include "shell/screens/MenuScreen.h"

class AboutPage : public MenuScreen {
public:
    explicit AboutPage(ScreenHost& screenHost) : MenuScreen(screenHost) {}

protected:
    void Build() override;
    std::string Title() const override { return "about korvessa"; }
};
