// The mouse over the menus: the pointer's place in the playfield, handed to
// the screen on top as a menu event.
#pragma once

#include <SDL.h>

class EventLoop;
class GameWindow;

// Only the menus take the mouse; while a game is played it does nothing.
class MouseEvents {
public:
    MouseEvents(EventLoop& loop, GameWindow* window) : loop(loop), window(window) {}

    void Take(const SDL_Event& event);

private:
    EventLoop& loop;
    GameWindow* window;  // null in tests: a window of the playfield's size
};
