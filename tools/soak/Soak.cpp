#include "Soak.h"

#include <algorithm>
#include <sstream>

#include "Invariants.h"
#include "ai/Entity.h"
#include "base/GameClock.h"
#include "base/GameRandom.h"
#include "gfx/ResourceCatalogue.h"
#include "world/Order.h"
#include "world/World.h"

namespace {

constexpr int32_t kStepMs = 16;

int countDead(const World& world) {
    return static_cast<int>(std::count_if(world.roster.begin(), world.roster.end(),
                                          [](const auto& e) { return e->health <= 0; }));
}

bool noteBroken(const World& world, int step, BattleResult& result) {
    result.broken = brokenInvariants(world);
    if (result.broken.empty()) {
        return false;
    }
    result.brokenAtStep = step;
    return true;
}

}  // namespace

BattleResult runSoakBattle(const BattlePlan& plan) {
    setSimulatedClock(0);
    fixGameSeed(plan.seed);
    ResourceCatalogue::instance()->viewMode = plan.view;

    BattleResult result;
    World world;
    world.commandedTeams = commandedTeamsInView(plan.view);
    std::istringstream map(mapText(plan));
    if (!world.loadMap(map, "soak map")) {
        result.brokenAtStep = 0;
        result.broken.push_back("the generated map did not load");
        return result;
    }
    // The game's first frame draws, and so computes the fog, before the first update.
    world.computeFogs();
    if (noteBroken(world, 0, result)) {
        return result;
    }
    for (int step = 1; step <= plan.steps; ++step) {
        setSimulatedClock(step * kStepMs);
        world.step();
        result.stepsRun = step;
        result.mostBullets = std::max(result.mostBullets, world.bullets.size());
        if (noteBroken(world, step, result)) {
            break;
        }
    }
    result.dead = countDead(world);
    return result;
}

SoakSummary runSoak(const SoakOptions& options, const BattleReport& report) {
    SoakSummary summary;
    if (options.stepsPerBattle < 1) {
        return summary;
    }
    for (int index = 0; summary.steps < options.totalSteps && summary.held; ++index) {
        const auto left = options.totalSteps - summary.steps;
        const int steps = static_cast<int>(std::min<int64_t>(options.stepsPerBattle, left));
        const BattlePlan plan = planBattle(options.seed, index, steps, options.limits);
        const BattleResult result = runSoakBattle(plan);
        summary.battles += 1;
        summary.steps += result.stepsRun;
        summary.dead += result.dead;
        summary.mostBullets = std::max(summary.mostBullets, result.mostBullets);
        summary.held = result.broken.empty();
        if (report) {
            report(index, plan, result);
        }
    }
    return summary;
}
