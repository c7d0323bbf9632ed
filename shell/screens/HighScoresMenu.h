// High scores: the whole table; choosing a game watches its replay.
#pragma once

#include <string>

#include "shell/screens/MenuScreen.h"

class WatchScreen;

// The table as its file has it now, best first, the newest game marked
// "new"; read each time the screen opens, never written.
class HighScoresMenu : public MenuScreen {
public:
    HighScoresMenu(ScreenHost& screenHost, WatchScreen& watchScreen)
        : MenuScreen(screenHost), watch(watchScreen) {}

protected:
    void Build() override;
    std::string Title() const override { return "high scores"; }
    std::string Hint() const override { return message; }

private:
    WatchScreen& watch;
    std::string message;
};
