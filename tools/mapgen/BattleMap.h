#pragma once

#include <string>

// A large battlefield for measuring the game at scale: short wall segments scattered over open
// ground, mirrored left to right like the shipped map, and the two teams in clusters near the
// left and right edges. Deterministic: the same numbers always give the same map.
struct BattleMapPlan {
    int columns = 128;
    int rows = 128;
    int soldiers = 100;  // both teams together, half each; fewer when there is no room
    unsigned seed = 1;
    // Open columns between the two teams' start zones; negative: each team starts at its edge.
    int frontGap = -1;
};

// The map file text: the header, then one line of characters per row.
std::string battleMapText(const BattleMapPlan& plan);
