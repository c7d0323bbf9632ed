// A scripted session played the way the shell plays one: everything handed
// to the game is told to a ReplayRecorder too. For replay tests and for the
// generator of the committed replay.
#pragma once

#include <cstdint>

#include "save/ReplayRecorder.h"

class GameApp;

namespace testing_support {

class RecordedSession {
public:
    // Seeds the game with `seed`, starts it with InitGame() and begins
    // recording; `scriptSeed` picks the player's moves, from a generator of
    // their own.
    RecordedSession(GameApp& app, std::uint32_t seed, std::uint32_t scriptSeed,
                    SeedKind kind = SeedKind::kSeed);

    // This tick's keys, then the tick itself (rules and frame, nothing
    // presented). True when a game ended in it.
    bool Tick();

    ReplayRecorder recorder;

private:
    int Below(int n);
    void Release(int key);

    GameApp& app;
    std::uint32_t state;
};

}  // namespace testing_support
