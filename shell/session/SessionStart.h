// How a player's session starts: seeded, recorded, its first game begun.
#pragma once

#include <cstdint>
#include <ctime>

#include "save/SeedKind.h"

class CurrentGame;
class GameApp;
class ReplayRecorder;

// Seeds the game's generator, begins the recording and starts the first
// game, as at start-up. A daily session starts afresh like this at every new
// game, so that each attempt meets the day's field from its very start, as
// every other player does, and its replay starts at tick 0.
class SessionStart {
public:
    SessionStart(std::uint32_t seed, SeedKind kind, ReplayRecorder& recorder);

    // The session's start on a game that has its window and GL context (or
    // the tests' stand-in) and has not run InitGame.
    void Begin(GameApp& app) const;

    // From now on the session is the daily one of the day `when` falls on.
    void BecomeDaily(std::time_t when);

    // Whether every new game starts the session afresh.
    bool StartsEveryGame() const { return kind == SeedKind::kDaily; }

    // Replaces the current game with a new one, which keeps the window and
    // the shell's hooks, and begins the session on it. The font and the star
    // field are new: whatever the shell added to them must be added again.
    void BeginAgain(CurrentGame& game) const;

private:
    std::uint32_t seed;
    SeedKind kind;
    ReplayRecorder& recorder;
};
