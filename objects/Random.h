// The game's one random generator. Every random value of a run comes from
// here, so that a seed fixes a whole game on every platform and compiler.
// Its state belongs to the calling thread: seed and draw on the same one.
#pragma once

// Restarts the sequence; the same seed always yields the same values.
void SeedRandom(unsigned int seed);

// Where the sequence stands now: SeedRandom(RandomState()) later carries on
// exactly from here, so the shell can lend the generator and take it back.
unsigned int RandomState();

// The next value of the sequence, from 0 to 32767 inclusive.
int NextRandom();

// NextRandom() / 32767.0: from 0.0 to 1.0 inclusive, 1.0 only for 32767.
double RandomFraction();
