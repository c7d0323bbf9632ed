// Replays: the kept replays, newest first; choosing one watches it.
#pragma once

#include <string>

#include "shell/screens/MenuScreen.h"

class WatchScreen;

class ReplaysMenu : public MenuScreen {
public:
    ReplaysMenu(ScreenHost& screenHost, WatchScreen& watchScreen)
        : MenuScreen(screenHost), watch(watchScreen) {}

    // "14 jun 2025 20:15   12450" from "20250614-201509-12450.kvr"; any
    // other name as it is.
    static std::string Describe(const std::string& fileName);

protected:
    void Build() override;
    std::string Title() const override { return "replays"; }
    std::string Hint() const override { return message; }

private:
    WatchScreen& watch;
    std::string message;
};
