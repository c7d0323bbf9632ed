// The mouse over the menus: the pointer's place in the playfield, handed to
// the screen on top as a menu event.
#pragma once

#include <SDL.h>

class ScreenHost;
class GameWindow;

// Only the menus take the mouse; while a game is played it does nothing.
class MouseEvents {
public:
    MouseEvents(ScreenHost& screenHost, GameWindow* gameWindow)
        : host(screenHost), window(gameWindow) {}

    void Take(const SDL_Event& event);

private:
    ScreenHost& host;
    GameWindow* window;  // null in tests: a window of the playfield's size
};
