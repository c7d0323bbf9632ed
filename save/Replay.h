// Everything needed to play a recorded game again, exactly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "save/GameSpeed.h"
#include "save/SeedKind.h"

// What the shell hands the game between two ticks, besides the held arrows.
// The values are stored in replay files, so they never change.
enum class ReplayAction : std::uint8_t {
    kSpace = 0,   // Space released: a photon, or a new game on the game-over screen
    kAlt = 1,     // Alt released: the laser
    kRedraw = 2,  // a frame drawn outside a tick (it refreshes the hit outlines)
};

// The input bits held for `length` ticks in a row.
struct InputRun {
    std::uint8_t bits = 0;  // GameApp::kInputUp and the others
    std::uint32_t length = 0;
};

// An action handed to the game just before tick `tick` (counting from 0).
struct ReplayEvent {
    std::uint32_t tick = 0;
    ReplayAction action = ReplayAction::kSpace;
};

// A recorded game as its session's seed and every input from the session's
// start: the game plays the very same code path from InitGame() again, so
// nothing about its start (the outlines last drawn, the saucer's speed, the
// laser's countdown, the generator) needs to be captured separately. The
// recorded game is the one running from tick `startTick` to the last tick,
// where it ended; the ticks before belong to earlier games of the session.
// It plays back at the speed its game was played at.
struct Replay {
    // Version 1 files hold no speed: their games ran at full speed.
    static constexpr std::uint16_t kFormatVersion = 2;
    static constexpr std::uint16_t kFirstVersionWithSpeed = 2;
    // Far beyond any real session (about 35 days of ticks); more is damage.
    static constexpr std::uint32_t kMaxTicks = 100000000;
    static constexpr unsigned kAllInputBits = 0x0F;
    static constexpr std::size_t kMaxGameVersionLength = 32;

    std::uint16_t formatVersion = kFormatVersion;
    std::string gameVersion;  // KORVESSA_VERSION of the recording game
    std::uint32_t seed = 0;
    SeedKind seedKind = SeedKind::kClock;
    std::uint32_t startTick = 0;
    std::int32_t score = 0;  // the recorded game's final score
    // In per cent (game_speed::kChoices): the slowest any tick of the
    // recorded game ran at.
    std::uint8_t speed = game_speed::kFull;
    std::uint32_t tickCount = 0;
    std::vector<InputRun> inputs;     // cover exactly tickCount ticks
    std::vector<ReplayEvent> events;  // in the order they were handed over

    // Whether its game ran at full speed throughout; a slow game's score is
    // not one to compare with others.
    bool AtFullSpeed() const;

    // Empty when the replay can be played; otherwise what is impossible
    // about it, in a few words.
    std::string Problem() const;
};
