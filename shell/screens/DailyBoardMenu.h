// Today's daily board from the server: the best ten, the player's own
// entry marked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "board/BoardClient.h"
#include "shell/screens/MenuScreen.h"

// Asks the board when shown and fills in when the answer comes; the menu
// never waits for it. Says so plainly when the board is off, has no player
// yet, or cannot be reached.
class DailyBoardMenu : public MenuScreen {
public:
    static constexpr std::size_t kShown = 10;

    explicit DailyBoardMenu(ScreenHost& screenHost) : MenuScreen(screenHost) {}

    void Shown() override;
    bool HearBoard(const BoardReport& report) override;
    // What the screen says about the board: being asked, its answer, or why
    // there is none.
    const std::string& Status() const { return hint; }

protected:
    void Build() override;
    std::string Title() const override { return "daily board"; }
    std::string Hint() const override { return hint; }

private:
    // A row of the board: rank, name and score, "you" after the player's.
    std::string RowText(const board_client::BoardEntry& entry) const;

    std::uint64_t ticket = 0;  // of the board asked for, 0 when none is
    std::string hint;
    std::vector<board_client::BoardEntry> entries;
};
