// Korvessa: entered through SDL's main wrapper; takes no arguments.

#include <SDL.h>

#include <cstdio>
#include <exception>

#include "app/GameApp.h"

int main(int /*argc*/, char* /*argv*/[]) {
    GameApp app;
    try {
        app.Init();
    } catch (const std::exception& error) {
        // One clear line, then release whatever start-up had acquired.
        std::fprintf(stderr, "korvessa: %s\n", error.what());
        app.Shutdown();
        return 1;
    }
    app.Run();
    app.Shutdown();
    return 0;
}
