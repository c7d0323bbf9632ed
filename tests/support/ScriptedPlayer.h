// A restless scripted player for long runs: arrows held for a while, photons
// and the laser fired on release, space pressed again and again on the
// game-over screen. It has its own generator, apart from the game's, so the
// input does not change the game's random sequence.
#pragma once

#include <cstdint>

class GameApp;

namespace testing_support {

class ScriptedPlayer {
public:
    explicit ScriptedPlayer(std::uint32_t seed);

    // Sends this tick's key events to the game.
    void Play(GameApp& app);

private:
    int Below(int n);

    std::uint32_t state;
};

}  // namespace testing_support
