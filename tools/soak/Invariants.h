#pragma once

#include <string>
#include <vector>

struct World;

// What may legitimately happen to the battle. Left alone, the World keeps every rule below;
// the player's keys and clicks may heal a body back to life under a soldier that has since
// taken its tile, or build a wall under a soldier, so those rules hold only without a player.
struct InvariantRules {
    bool playerIntervenes = false;
};

// Every rule of a sound battle that the World breaks now, one line each; empty when all hold.
// Rules: soldiers stand on whole tiles inside the grid, no two living soldiers share a tile,
// goals and hop starts are both -1 or both a tile of the grid, the gun in hand is one of the
// soldier's two, magazines and spare rounds are never negative, health is at most 100, the
// bullets in flight are no more than the soldiers' ammunition allows, every pointer names a
// soldier of the World, and no number anywhere is NaN or infinite.
std::vector<std::string> brokenInvariants(const World& world, const InvariantRules& rules);
