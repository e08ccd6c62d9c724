#pragma once

// The game's one random generator: glibc's rand() and srand(), bit for bit, on every platform
// and C library, so that a seed fights the same battle on Linux, on Windows and in the browser.
// It lives with the resource catalogue, the lowest layer, because creating the catalogue seeds
// it; the soldiers above draw from it.

// The next number of the sequence, from 0 to glibc's RAND_MAX (2^31 - 1). Before any seeding
// the sequence is seed 1's, as glibc's is.
int gameRand();

// Starts the sequence the given seed gives glibc's rand(); seed 0 gives seed 1's.
void seedGameRand(unsigned int seed);
