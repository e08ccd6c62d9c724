#pragma once

#include <string>
#include <vector>

struct World;

// Every rule of a sound battle that the World breaks now, one line each; empty when all hold.
// Rules: soldiers stand on whole tiles inside the grid, no two living soldiers share a tile,
// goals and hop starts are both -1 or both a tile of the grid, the gun in hand is one of the
// soldier's two, magazines and spare rounds are never negative, health is at most 100, the
// bullets in flight are no more than the soldiers' ammunition allows, every pointer names a
// soldier of the World, a soldier's fired bullets are still in flight, the dead stay dead, and
// no number anywhere is NaN or infinite. The player's keys and clicks cannot break them either.
std::vector<std::string> brokenInvariants(const World& world);
