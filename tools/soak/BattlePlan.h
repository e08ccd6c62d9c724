#pragma once

#include <cstdint>
#include <string>

// One generated battle of the soak: a random map and how long to fight on it. Everything
// about the battle follows from these numbers, so a failure is replayed from them alone.
struct BattlePlan {
    unsigned seed = 1;  // for the map's walls and soldiers, and for gameRand() during the battle
    int width = 5;
    int height = 5;
    int wallPercent = 0;  // chance of a wall on each tile
    int soldiers = 2;     // both teams together; fewer when the map has too little open floor
    int view = 2;         // the view mode the battle runs in
    int steps = 0;
};

// The largest battles a soak plans.
struct PlanLimits {
    int maxSide = 128;     // 5 to 128
    int maxSoldiers = 60;  // 2 to 60
};

// The plan of battle `index` of the soak started with `soakSeed`. Sides lie between 5 and
// the largest side, soldiers between 2 and the most soldiers, and the view mode cycles red,
// blue, all.
BattlePlan planBattle(unsigned soakSeed, int index, int steps, const PlanLimits& limits);

// The map file the plan describes: walls by chance, then the soldiers on distinct open tiles,
// red and blue alternately.
std::string mapText(const BattlePlan& plan);

// One line that names the plan, enough to rerun it.
std::string describe(const BattlePlan& plan);
