// The state of a replayed game after every tick, printed so that two builds'
// runs compare byte for byte.
#pragma once

namespace testing_support {

// For each replay file: its name without its folder, a line "TICK HASH" for
// every tick, then "score N, T ticks" and whatever did not hold. Returns 1,
// with "`program`: why" on standard error, for a file it cannot read.
int PrintReplayTraces(const char* program, int count, char* paths[]);

}  // namespace testing_support
