#include "shell/session/SessionStart.h"

#include <new>
#include <utility>

#include "game/GameApp.h"
#include "objects/Random.h"
#include "save/ReplayRecorder.h"

SessionStart::SessionStart(std::uint32_t seed, SeedKind kind, ReplayRecorder& recorder)
    : seed(seed), kind(kind), recorder(recorder) {}

void SessionStart::Begin(GameApp& app) const {
    SeedRandom(seed);
    recorder.BeginSession(seed, kind);
    app.InitGame();
}

void SessionStart::BecomeDaily(std::time_t when) {
    seed = DailySeed(when);
    kind = SeedKind::kDaily;
}

void SessionStart::BeginAgain(GameApp& app) const {
    // The old game's window stays: only what the game is made of is new,
    // and the new game's destructor releases it in the end. The ticks are
    // the shell's own timer's, which goes on.
    SDL_Window* window = std::exchange(app.window, nullptr);
    SDL_GLContext context = std::exchange(app.glContext, nullptr);
    const bool sdlStarted = std::exchange(app.sdlStarted, false);
    GameListener* listener = app.listener;
    StarPainter* starPainter = app.starPainter;
    // Every screen holds a reference to the session's game. A new object of
    // the same type made in the old one's place is what those references
    // then name, since GameApp has no const or reference members.
    app.~GameApp();
    new (&app) GameApp;
    app.window = window;
    app.glContext = context;
    app.sdlStarted = sdlStarted;
    Begin(app);
    // What the shell attached goes on with the new game.
    app.listener = listener;
    app.starPainter = starPainter;
}
