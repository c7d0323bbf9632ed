// The one game a player's window shows at a time.
#pragma once

#include <functional>
#include <memory>

class GameApp;

// Holds the session's game. A session that starts afresh gets a whole new
// GameApp rather than one rebuilt in the old one's memory, so whoever needs
// the game asks here each time and never keeps a reference of its own.
class CurrentGame {
public:
    // Owns `first` and every game that replaces it.
    explicit CurrentGame(std::unique_ptr<GameApp> first);
    // Borrows `first`, which the caller keeps alive and releases (tests make
    // their games on the stack); a game that replaces it is owned.
    explicit CurrentGame(GameApp& first);
    ~CurrentGame();

    CurrentGame(const CurrentGame&) = delete;
    CurrentGame& operator=(const CurrentGame&) = delete;

    GameApp& operator*() const { return *game; }
    GameApp* operator->() const { return game; }

    // A new GameApp in the current one's place. It takes over the window,
    // GL context and SDL's start, so the window stays open; `start` runs on
    // it, and then the hooks the shell attached (listener, star painter) go
    // on with it. An owned old game is destroyed before the new one is made.
    GameApp& Replace(const std::function<void(GameApp&)>& start);

private:
    std::unique_ptr<GameApp> owned;  // null while the first game is borrowed
    GameApp* game;
};
