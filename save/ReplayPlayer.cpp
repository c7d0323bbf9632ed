#include "save/ReplayPlayer.h"

#include <GL/gl.h>
#include <SDL.h>

#include "game/GameApp.h"
#include "objects/Random.h"

ReplayPlayer::ReplayPlayer(const Replay& recorded) : replay(recorded) {}

void ReplayPlayer::SeedGame() const { SeedRandom(replay.seed); }

void ReplayPlayer::Apply(GameApp& app, ReplayAction action) {
    switch (action) {
        case ReplayAction::kSpace:
            app.HandleKeyUp(SDLK_SPACE);
            break;
        case ReplayAction::kAlt:
            app.HandleKeyUp(SDLK_LALT);
            break;
        case ReplayAction::kRedraw:
            app.DrawFrame();
            break;
    }
}

bool ReplayPlayer::Step(GameApp& app) {
    if (Finished()) return false;
    while (nextEvent < replay.events.size() && replay.events[nextEvent].tick == played) {
        Apply(app, replay.events[nextEvent].action);
        nextEvent += 1;
    }
    const InputRun& current = replay.inputs[run];
    app.input = current.bits;
    app.UpdateGame();
    app.DrawFrame();
    played += 1;
    usedOfRun += 1;
    if (usedOfRun == current.length) {
        run += 1;
        usedOfRun = 0;
    }
    return true;
}

void ReplayPlayer::SkipToGame(GameApp& app) { SkipTowardsGame(app, replay.startTick); }

bool ReplayPlayer::SkipTowardsGame(GameApp& app, std::uint32_t maxTicks) {
    // The frames must still be drawn, for their outlines, but nobody sees
    // them: clipping them to one pixel spares the rasterizer nearly all its
    // work, several times faster on a software renderer at full size.
    glPushAttrib(GL_SCISSOR_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
    for (std::uint32_t n = 0; n < maxTicks && played < replay.startTick; ++n) Step(app);
    glPopAttrib();
    return played >= replay.startTick;
}

std::uint32_t ReplayPlayer::PlayAll(GameApp& app, const Replay& replay) {
    ReplayPlayer player(replay);
    player.SeedGame();
    app.InitGame();
    while (player.Step(app)) {
    }
    return player.TicksPlayed();
}
