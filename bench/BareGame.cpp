// The game with nothing around it, as GameApp starts it by itself: Init (the
// window, the timer and the first game), then Run. The startup probe times
// its first frame beside the shell's.

#include <cstdio>
#include <exception>

#include "game/GameApp.h"

int main() {
    GameApp app;
    try {
        app.Init();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "korvessa_bare_game: %s\n", error.what());
        return 1;
    }
    app.Run();
    app.Shutdown();
    return 0;
}
