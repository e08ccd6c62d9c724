#pragma once

#include <array>
#include <cstdint>

// The game's one random generator: glibc's rand() and srand(), bit for bit, on every platform
// and C library, so that a seed fights the same battle on Linux, on Windows and in the browser.
// It is on the ground floor, base/, because every room above draws from it; creating the
// resource catalogue seeds it with the time.

// The next number of the sequence, from 0 to glibc's RAND_MAX (2^31 - 1). Before any seeding
// the sequence is seed 1's, as glibc's is.
int gameRand();

// Starts the sequence the given seed gives glibc's rand(); seed 0 gives seed 1's.
void seedGameRand(unsigned int seed);

// For a battle whose seed is chosen (a tool, a replay): starts the seed's sequence and keeps the
// game's start-up seeding away from it, so that the resource catalogue may be created before
// or after, in any order.
void fixGameSeed(unsigned int seed);

// The game's start-up seeding, with the time: nothing once a seed is fixed.
void seedGameRandUnlessFixed(unsigned int seed);

// Everything the generator holds: its 31 latest words, and the slot of the oldest, which the
// next draw replaces. Two generators with equal states draw the same numbers from now on.
struct GameRandomState {
    std::array<uint32_t, 31> words{};
    int next = 0;
};

// The generator's state as it is now; reading it draws nothing.
GameRandomState gameRandomState();
// Puts back a state read before, for a program that keeps more than one battle going in turns
// (a test with both players' battles in one process).
void restoreGameRandomState(const GameRandomState& state);
