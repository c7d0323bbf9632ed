// Plays a replay on a GameApp, tick by tick.
#pragma once

#include <cstddef>
#include <cstdint>

#include "save/Replay.h"

class GameApp;

// Drives a GameApp exactly as the recording session's shell did. Use:
//   GameApp app;                    // seeds from the clock...
//   player.SeedGame();              // ...so seed again, then
//   app.Init() or app.InitGame();   // the session's first game
//   player.SkipToGame(app);         // fast, nothing presented
//   while (player.Step(app)) app.Present();   // one per timer tick
// Each Step hands over the actions due before the tick, then runs the tick's
// rules and draws its frame (the next tick's hit tests read the outlines that
// drawing leaves), without presenting it. Between two Steps the game is left
// exactly as a tick leaves it, so drawing the frame again (a paused window)
// changes nothing; before the first Step nothing may be drawn, since
// InitGame leaves the outlines empty for the first tick's hit tests.
class ReplayPlayer {
public:
    // Keeps a reference: the replay must outlive the player. It must have no
    // Problem().
    explicit ReplayPlayer(const Replay& replay);

    // Seeds the game's generator with the session's seed.
    void SeedGame() const;

    // Plays the next tick; false, doing nothing, when every tick is played.
    bool Step(GameApp& app);

    // Plays the earlier games of the session, up to the recorded game's
    // first tick, with drawing clipped to a single pixel (the GL state is
    // restored afterwards). The frame left in the back buffer is not one to
    // present: Step once more first.
    void SkipToGame(GameApp& app);
    // The same, a piece at a time: at most `maxTicks` ticks of it. True once
    // the recorded game's first tick is reached.
    bool SkipTowardsGame(GameApp& app, std::uint32_t maxTicks);
    // The ticks of the earlier games, all of which SkipToGame plays.
    std::uint32_t TicksToGame() const { return replay.startTick; }

    // Whether the ticks played so far reach into the recorded game.
    bool InRecordedGame() const { return played > replay.startTick; }
    // Whether every tick is played: the recorded game has just ended.
    bool Finished() const { return played >= replay.tickCount; }
    std::uint32_t TicksPlayed() const { return played; }
    // The speed its game was played at, in per cent: the one to watch it at.
    int Speed() const { return replay.speed; }
    const Replay& Recorded() const { return replay; }

    // Seeds, starts the session with app.InitGame() and plays every tick.
    // The app must be freshly constructed, with a GL context current (or the
    // tests' stand-in). Returns the ticks played; the score is app.score.
    static std::uint32_t PlayAll(GameApp& app, const Replay& replay);

private:
    void Apply(GameApp& app, ReplayAction action);

    const Replay& replay;
    std::uint32_t played = 0;
    std::size_t nextEvent = 0;
    std::size_t run = 0;
    std::uint32_t usedOfRun = 0;
};
