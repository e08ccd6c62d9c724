#include "Runner.h"

#include "StateLine.h"
#include "gfx/GameRandom.h"
#include "gfx/ResourceCatalogue.h"
#include "world/GameClock.h"
#include "world/Order.h"
#include "world/World.h"

namespace {

constexpr int kExitMapNotLoaded = 2;

}  // namespace

Battle::Battle(const RunOptions& options) : options_(options) {
    ResourceCatalogue* const catalogue = ResourceCatalogue::instance();
    setSimulatedClock(0);
    seedGameRand(options_.seed);
    catalogue->viewMode = options_.view;
}

Battle::~Battle() = default;

bool Battle::load() {
    world_ = std::make_unique<World>();
    world_->commandedTeams = commandedTeamsInView(options_.view);
    if (!world_->loadMap(options_.mapFile)) {
        return false;
    }
    world_->computeFogs();
    return true;
}

void Battle::step(int number) {
    time_ = static_cast<int32_t>(static_cast<long long>(number) * options_.tickMs);
    setSimulatedClock(time_);
    world_->step();
}

int runBattle(const RunOptions& options, const LineSink& emit) {
    Battle battle(options);
    if (!battle.load()) {
        return kExitMapNotLoaded;
    }
    for (int step = 1; step <= options.steps; ++step) {
        battle.step(step);
        if (options.trace) {
            emit(stateLine(battle.world(), step, battle.time(), false));
        }
    }
    emit(stateLine(battle.world(), options.steps, battle.time(), true));
    return 0;
}
