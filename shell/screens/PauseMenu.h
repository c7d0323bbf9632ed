// The pause: a menu over the frozen frame.
#pragma once

#include <memory>

#include "shell/screens/MenuScreen.h"

class WatchScreen;

// Its rows are a table (PauseMenu.cpp): resume, settings, high scores,
// replays, play today's field (not while a replay given on the command line
// plays), daily board, about, quit (asked again). Resume is highlighted at
// first, so Enter or A at once goes back to the game, as P, Escape or Start
// do; Q quits at once, as before there was a menu.
class PauseMenu : public MenuScreen {
public:
    explicit PauseMenu(ScreenHost& host);
    ~PauseMenu() override;

protected:
    void Build() override;
    std::string Title() const override { return "paused"; }
    std::string Hint() const override;
    void OtherKey(const SDL_KeyboardEvent& key) override;

private:
    // A replay chosen from the high scores or the replays, shared by both.
    std::unique_ptr<WatchScreen> watch;
};
