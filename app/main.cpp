// Korvessa: the command line, start-up for a player, the event loop.

#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <exception>

#include "app/EventLoop.h"
#include "app/GameApp.h"
#include "app/GameWindow.h"
#include "app/Options.h"
#include "input/Gamepads.h"
#include "objects/Random.h"

namespace {

constexpr int kBadCommandLine = 2;
constexpr int kStartFailed = 1;

// A closed terminal ends the game as a window manager's SIGTERM does: SDL
// turns that into a quit event, and the game shuts down cleanly.
void EndLikeSigterm(int /*signal*/) { std::raise(SIGTERM); }

void SetDesktopHints() {
    SDL_SetHint(SDL_HINT_APP_NAME, "Korvessa");
    SDL_SetHint(SDL_HINT_SCREENSAVER_INHIBIT_ACTIVITY_NAME, "Playing Korvessa");
}

int Play(const Options& options) {
    GameApp app;
    if (options.hasSeed) SeedRandom(options.seed);
    GameWindow window(app);
    try {
        SetDesktopHints();
        window.Open(options.fullscreen);
        app.StartTimer();
        app.InitGame();
        window.FitViewport();
        Gamepads pads(Gamepads::UserDataFolder());
        EventLoop loop(app, &window);
        loop.pads = &pads;
        loop.Run();
    } catch (const std::exception& error) {
        // One clear line, then release whatever start-up had acquired.
        std::fprintf(stderr, "korvessa: %s\n", error.what());
        app.Shutdown();
        return kStartFailed;
    }
    app.Shutdown();
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    const Options options = Options::Parse(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "korvessa: %s\nTry 'korvessa --help' for more information.\n",
                     options.error.c_str());
        return kBadCommandLine;
    }
    if (options.help) {
        std::fputs(Options::Usage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("korvessa %s\n", KORVESSA_VERSION);
        return 0;
    }
    std::signal(SIGHUP, EndLikeSigterm);
    return Play(options);
}
