#include "shell/session/SessionStart.h"

#include "game/GameApp.h"
#include "objects/Random.h"
#include "save/ReplayRecorder.h"
#include "shell/ui/CurrentGame.h"

SessionStart::SessionStart(std::uint32_t sessionSeed, SeedKind seedKind,
                           ReplayRecorder& replayRecorder)
    : seed(sessionSeed), kind(seedKind), recorder(replayRecorder) {}

void SessionStart::Begin(GameApp& app) const {
    SeedRandom(seed);
    recorder.BeginSession(seed, kind);
    app.InitGame();
}

void SessionStart::BecomeDaily(std::time_t when) {
    seed = DailySeed(when);
    kind = SeedKind::kDaily;
}

void SessionStart::BeginAgain(CurrentGame& game) const {
    // The ticks are the shell's own timer's, which goes on.
    game.Replace([this](GameApp& fresh) { Begin(fresh); });
}
