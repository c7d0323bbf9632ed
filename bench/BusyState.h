// A busy mid-game state that holds still under measurement: everything the
// game can show is alive and drawn, yet no tick ends, hits or scores
// anything, so a benchmark can run it for millions of ticks and still time
// the same amount of work in every one.
//
// Compiled into both the benchmark (real GL) and the frame capture (the
// recording stand-in), so both see the very same state.
#pragma once

#include <string>

class GameApp;

namespace busy {

constexpr int kLiveAsteroids = 8;
constexpr int kLivePhotons = 6;
constexpr int kLiveDebris = 20;
constexpr int kScore = 4350;

// Seeds the random generator, runs InitGame() on `app` (a fresh GameApp with
// a current GL context or the recording stand-in, and no window) and
// arranges the objects, then draws one frame so that every outline can be
// hit from the first tick on.
void Build(GameApp& app);

// Empty while `app` is still as busy as Build() left it; otherwise a short
// description of what ended or changed.
std::string Problem(const GameApp& app);

// A digest of everything a frame of `app` is drawn from. Equal digests mean
// a captured frame belongs to this state.
std::string Fingerprint(const GameApp& app);

}  // namespace busy
