// The pause: a menu over the frozen frame.
#pragma once

#include "shell/DailyBoardMenu.h"
#include "shell/HighScoresMenu.h"
#include "shell/MenuScreen.h"
#include "shell/QuitMenu.h"
#include "shell/ReplaysMenu.h"
#include "shell/SettingsMenu.h"
#include "shell/WatchScreen.h"

// Resume, Settings, High scores, Replays, Play today's field (not while a
// replay given on the command line plays), Daily board, Quit (asked again). Nothing is
// highlighted at first, so a stray Space or Enter does nothing; P, Escape or
// Start resume, and Q quits at once, as before there was a menu.
class PauseMenu : public MenuScreen {
public:
    explicit PauseMenu(ScreenHost& host);

    void Shown() override;

protected:
    void Build() override;
    std::string Title() const override { return "paused"; }
    std::string Hint() const override;
    void OtherKey(const SDL_KeyboardEvent& key) override;

private:
    WatchScreen watch;
    SettingsMenu settings;
    HighScoresMenu highScores;
    ReplaysMenu replays;
    DailyBoardMenu dailyBoard;
    QuitMenu quit;
};
