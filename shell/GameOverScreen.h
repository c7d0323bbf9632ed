// The game-over screen: the game's own lines, the score table's best games
// under them (with a line between for a slow game), and the game going on
// behind until Space starts a new one.
#pragma once

#include <string>

#include "board/BoardStatusView.h"
#include "save/ScoreBoardView.h"
#include "shell/Screen.h"

class EventLoop;
class GameApp;
class PlayerSession;

class GameOverScreen : public Screen {
public:
    GameOverScreen(GameApp& app, EventLoop& loop, PlayerSession& session);

    void KeyDown(const SDL_KeyboardEvent& key) override;
    void KeyUp(const SDL_KeyboardEvent& key) override;
    void PadAction(Gamepads::Action action) override;
    void DrawOver() const override;

    // Shows the table's best games, the one at `rank` (from 0; -1 for
    // none) marked as the game just kept, played at `speed` per cent: below
    // full speed, a line under the game's own says it was slow.
    void Show(const ScoreTable& table, int rank, int speed);
    // Shows the game with this ticket as being sent to the daily board (0:
    // not sent).
    void ShowSending(std::uint64_t ticket) { boardStatus.Sending(ticket); }
    // What the board says about it; true when the screen changed.
    bool HearBoard(const BoardReport& report) { return boardStatus.Hear(report); }
    // The game goes on behind the screen.
    bool Tick() override;

    const ScoreBoardView& Board() const { return board; }
    const BoardStatusView& BoardStatus() const { return boardStatus; }

private:
    // A new game hides the table and the board's line.
    void Follow(bool newGame);

    GameApp& app;
    EventLoop& loop;
    PlayerSession& session;
    ScoreBoardView board;
    BoardStatusView boardStatus;
    std::string slowLine;  // empty for a game at full speed
};
