// The window's own events: focus, size, exposure.
#pragma once

#include <SDL.h>

class ScreenHost;
class GameWindow;

// The game pauses whenever its window loses focus, is minimised or hidden;
// a resized window fits the playfield again and keeps its size as the
// player's; a still frame is drawn again when the window needs it.
class WindowEvents {
public:
    WindowEvents(ScreenHost& screenHost, GameWindow* gameWindow)
        : host(screenHost), window(gameWindow) {}

    void Take(const SDL_WindowEvent& event);

private:
    ScreenHost& host;
    GameWindow* window;  // null in tests
};
