// The keys that do the same on every screen: F11 for fullscreen, M to mute.
#pragma once

#include <SDL.h>

class ScreenHost;
class GameWindow;

// With the player's settings the change is a setting's, kept and shown in
// any menu open; without them (tests, a bare loop) it goes straight to the
// window or the sound.
class GlobalKeys {
public:
    GlobalKeys(ScreenHost& screenHost, GameWindow* gameWindow)
        : host(screenHost), window(gameWindow) {}

    // True when the key was one of them and was taken.
    bool Take(const SDL_KeyboardEvent& key);

private:
    void ToggleFullscreen();
    void ToggleMute();

    ScreenHost& host;
    GameWindow* window;  // null in tests
};
