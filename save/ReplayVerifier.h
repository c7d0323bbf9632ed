// korvessa --verify FILE: replays a file's game as fast as it can and says
// whether the file tells the truth about it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "save/Replay.h"

class GameApp;

namespace replay_verifier {

constexpr int kScoreMatches = 0;
constexpr int kScoreDiffers = 1;
constexpr int kInvalidFile = 2;

// What playing a replay again showed.
struct Outcome {
    std::int32_t score = 0;   // the score the replay reached
    std::uint32_t ticks = 0;  // the ticks played
    // What the file claims that the game did not bear out, each in a few
    // words ("the file records 1200"); empty when every claim holds.
    std::vector<std::string> problems;

    bool Holds() const { return problems.empty(); }
};

// Plays `replay`, which must have no Problem(), on a fresh GameApp drawing
// into whatever GL the program links (a current context, or a GL that draws
// nothing), and checks what the file says about its game: that it reaches
// the recorded score; that a daily seed is a date; that the recorded game
// starts exactly at its start tick (the session's start, or a new game
// started by the actions handed over before that tick) and runs at every
// tick from then on, ending in the last one, not before, not after.
// `afterTick`, when given, sees the game after every tick. With
// `stopAtFirstProblem`, playing stops at the first tick that already decides
// a problem (the game did not start, ended early, or scored past the file's
// score), so that a false file costs no more than the ticks that disprove it;
// `ticks` then says where it stopped.
Outcome Check(const Replay& replay, const std::function<void(const GameApp&)>& afterTick = nullptr,
              bool stopAtFirstProblem = false);

// Reads the replay, plays it with Check() over a HeadlessGL context (no
// window is shown) and prints one line to `out`:
//   <file>: score N, T ticks
// where N is the score the replay reached and T the ticks played, followed by
// "; " and each problem ("; the file records M") when there are any. Returns
// kScoreMatches when there are none, kScoreDiffers when there are,
// kInvalidFile (after one "korvessa: <file>: what" line on `err`) when the
// file cannot be read or is not a valid replay. A failure to set up the
// context is reported on `err` too and returns kScoreDiffers, the start-up
// error status.
int Verify(const std::string& path, std::FILE* out = stdout, std::FILE* err = stderr);

}  // namespace replay_verifier
