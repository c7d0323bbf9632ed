// The game-over screen: the game's own lines, the score table's best games
// under them (with a line between for a slow game), and the game going on
// behind until Space starts a new one.
#pragma once

#include <set>
#include <string>

#include "board/BoardStatusView.h"
#include "save/ScoreBoardView.h"
#include "shell/screens/Screen.h"

class ScreenHost;
class PlayerSession;

// The final score stays readable: a new game starts only from a photon key
// (Space unless rebound) or button pressed once the screen has been shown
// for kGuardMs. An earlier press, or one held since the game was played,
// is not handed to the game at all, so replays are as if it never happened.
class GameOverScreen : public Screen {
public:
    static constexpr Uint32 kGuardMs = 1000;
    static constexpr int kMenuHintY = 64;

    GameOverScreen(ScreenHost& host, PlayerSession& session);

    void KeyDown(const SDL_KeyboardEvent& key) override;
    void KeyUp(const SDL_KeyboardEvent& key) override;
    void PadAction(Gamepads::Action action) override;
    void PadPress(SDL_GameControllerButton button) override;
    void DrawOver() const override;

    // The game has just ended: the screen is shown from now on.
    void Begin();
    // The game just ended was played at `speed` per cent: below full speed,
    // a line under the game's own says it was slow.
    void ShowSpeed(int speed);
    // Shows the table's best games, with the game just ended marked, once
    // that game is in the table; until then only the game's own lines.
    void ShowEntered();
    // Shows the game with this ticket as being sent to the daily board (0:
    // not sent).
    void ShowSending(std::uint64_t ticket) { boardStatus.Sending(ticket); }
    // Says that the daily game just ended was played too slow for the board.
    void ShowTooSlowToSend();
    // Every report of the board's sender comes here first: a line on
    // standard error for each problem, and the board's line updated.
    bool HearBoard(const BoardReport& report) override;
    // Hides the table and the lines of the game that ended (a new one began).
    void Clear();
    // The game goes on behind the screen.
    bool Tick() override;

    const ScoreBoardView& Board() const { return board; }
    const BoardStatusView& BoardStatus() const { return boardStatus; }

private:
    // A new game hides the table and the board's line, and may start a daily
    // session afresh.
    void Follow(bool newGame);
    bool GuardPassed(Uint32 when) const;

    ScreenHost& host;
    PlayerSession& session;
    ScoreBoardView board;
    Uint32 shownAt = 0;
    std::set<SDL_Keycode> armedKeys;  // photon keys pressed after the guard
    bool padArmed = false;            // a photon button pressed after the guard
    BoardStatusView boardStatus;
    std::string slowLine;  // empty for a game at full speed
};
