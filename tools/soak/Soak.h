#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "BattlePlan.h"

// How one soak battle went.
struct BattleResult {
    int stepsRun = 0;
    int dead = 0;                     // soldiers dead at the end
    std::size_t mostBullets = 0;      // the most bullets in flight after any step
    int brokenAtStep = -1;            // 0 = right after loading
    std::vector<std::string> broken;  // the rules broken then; empty when all held
};

// Fights the planned battle as the game would, on the simulated clock (16 ms a step) with
// gameRand() seeded from the plan: every step the World update, then both teams' fog, then every
// rule of Invariants.h. Stops at the first step that breaks a rule.
BattleResult runSoakBattle(const BattlePlan& plan);

struct SoakOptions {
    unsigned seed = 1;
    int64_t totalSteps = 1000000;
    int stepsPerBattle = 4000;
    PlanLimits limits;
};

struct SoakSummary {
    int battles = 0;
    int64_t steps = 0;
    int dead = 0;
    std::size_t mostBullets = 0;
    bool held = true;  // false once a battle broke a rule; the soak stops there
};

using BattleReport =
    std::function<void(int index, const BattlePlan& plan, const BattleResult& result)>;

// Battles 0, 1, 2 ... of the seed's plans until the total of steps is fought (the last battle
// is shortened to fit), each reported as it ends.
SoakSummary runSoak(const SoakOptions& options, const BattleReport& report);
