// korvessa --verify FILE: replays a file's game as fast as it can and says
// whether it scores what the file records.
#pragma once

#include <cstdio>
#include <string>

namespace replay_verifier {

constexpr int kScoreMatches = 0;
constexpr int kScoreDiffers = 1;
constexpr int kInvalidFile = 2;

// Reads the replay, plays it on a fresh GameApp over a HeadlessGL context
// (no window is shown) and prints one line to `out`:
//   <file>: score N, T ticks
// where N is the score the replay reached and T the ticks played, followed by
// "; the file records M" when N differs. Returns kScoreMatches when N equals
// the recorded score and the game ended on the last tick, kScoreDiffers when
// not, kInvalidFile (after one "korvessa: <file>: what" line on `err`) when
// the file cannot be read or is not a valid replay. A failure to set up the
// context is reported on `err` too and returns kScoreDiffers, the start-up
// error status.
int Verify(const std::string& path, std::FILE* out = stdout, std::FILE* err = stderr);

}  // namespace replay_verifier
