#pragma once

#include <cstdint>
#include <string>

struct World;

// One 64-bit digest of everything a step can change and a later step reads: every soldier of
// the roster (dead and dropped ones too) with its guns and route, the living list's order, the
// bullets, the tile grid, both teams' discovered tiles and fog, the commanded teams, the game
// clock and the random generator; not the camera, which is the viewer's own and which the
// battle never reads. Doubles count by their bits, pointers by the
// creation id or list index of what they point at. Two battles that agree on it will fight on
// alike. Reading it changes nothing and draws no random number.
uint64_t battleHash(const World& world);

// The digest as 16 lower-case hexadecimal digits, the form replays carry.
std::string hashText(uint64_t hash);
