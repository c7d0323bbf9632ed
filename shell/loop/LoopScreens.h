// The screens the loop shows under any menu, the pause menu and the welcome
// laid over them, and the player's session they share.
#pragma once

#include <vector>

#include "shell/loop/GamePause.h"
#include "shell/screens/GameOverScreen.h"
#include "shell/screens/PauseMenu.h"
#include "shell/screens/PlayingScreen.h"
#include "shell/screens/ReplayScreen.h"
#include "shell/screens/WelcomeScreen.h"
#include "shell/session/PlayerSession.h"

class Accessibility;
class CurrentGame;
class GameWindow;
class TickTimer;
struct ShellParts;

// Owned by the loop; its members are the loop's to use.
class LoopScreens {
public:
    LoopScreens(CurrentGame& game, ScreenHost& host, const Accessibility& options,
                TickTimer& timer);

    // The screen under any overlay: the replay, the game or its end.
    Screen& Base();
    // The session seeded and its first game begun again: at a new game of a
    // daily session, or (`asDaily`) as today's field whatever it was. False
    // when there is no session to start (a watched replay).
    bool StartSessionAgain(GameWindow* window, bool asDaily);
    // The board's reports handed to the game-over screen and to every screen
    // laid over it; true when any of them changed what it shows.
    bool HearBoard(const std::vector<BoardReport>& reports, const std::vector<Screen*>& overlays);

    PlayerSession session;
    GamePause pause;
    GameOverScreen gameOver;
    PlayingScreen playing;
    ReplayScreen watching;
    PauseMenu pauseMenu;
    WelcomeScreen welcome;

private:
    CurrentGame& game;
    const ShellParts& parts;
};
