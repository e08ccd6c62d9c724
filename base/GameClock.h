#pragma once

#include <cstdint>

// The game's one source of time: milliseconds since the program started, from a steady
// wall clock, as a 32-bit int. Tests and tools switch it to a simulated clock they set.
int32_t gameClock();

// From now on gameClock() returns the given time until it is set again.
void setSimulatedClock(int32_t milliseconds);

// Back to the steady wall clock.
void useWallClock();
