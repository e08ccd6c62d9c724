// Feeds arbitrary bytes to the replay reader. A replay it accepts must write back to lines that
// read as the same replay; if its map loads and its orders fit, its first steps are fought with
// its orders given and hashes taken, and every rule of a sound battle is checked after every
// step: a broken rule aborts, so the fuzzer keeps the input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "Invariants.h"
#include "QuietStart.h"
#include "base/GameClock.h"
#include "base/GameRandom.h"
#include "base/Problem.h"
#include "gfx/ResourceCatalogue.h"
#include "world/BattleHash.h"
#include "world/Replay.h"
#include "world/World.h"

namespace {

// Larger battles only load: a step of a big crowded map is too slow to fuzz.
constexpr int kMostFoughtTiles = 64 * 64;
constexpr std::size_t kMostFoughtSoldiers = 16;
constexpr int kMostSteps = 24;

[[noreturn]] void stop(const std::string& why) {
    std::fprintf(stderr, "%s\n", why.c_str());
    std::abort();
}

std::string written(const Replay& replay) {
    std::string text = replayHeaderLine(replay.header) + "\n";
    std::size_t hash = 0;
    for (const StepOrders& orders : replay.orders) {
        while (hash < replay.hashes.size() && replay.hashes[hash].step < orders.step) {
            text += replayHashLine(replay.hashes[hash++]) + "\n";
        }
        text += replayOrdersLine(orders) + "\n";
    }
    while (hash < replay.hashes.size()) {
        text += replayHashLine(replay.hashes[hash++]) + "\n";
    }
    return text + replayEndLine(replay.steps) + "\n";
}

// What was read, written again and read back, must be what was read.
void requireRoundTrip(const Replay& replay) {
    std::istringstream in(written(replay));
    std::string error;
    const std::optional<Replay> again = readReplay(in, error);
    if (!again) {
        stop("a replay written from an accepted one is refused: " + error);
    }
    const bool same = again->header.map == replay.header.map &&
                      again->header.seed == replay.header.seed && again->steps == replay.steps &&
                      again->orders.size() == replay.orders.size() &&
                      again->hashes.size() == replay.hashes.size();
    if (!same) {
        stop("a replay written from an accepted one reads differently");
    }
}

bool ordersFit(const World& world, const Replay& replay) {
    for (const StepOrders& step : replay.orders) {
        for (const Order& order : step.orders) {
            if (!orderProblem(world, order).empty()) {
                return false;
            }
        }
    }
    return true;
}

void fight(World& world, const Replay& replay) {
    world.computeFogs();
    auto next = replay.orders.begin();
    const int steps = replay.steps < kMostSteps ? replay.steps : kMostSteps;
    for (int step = 1; step <= steps; ++step) {
        if (next != replay.orders.end() && next->step == step) {
            for (const Order& order : next->orders) {
                applyOrder(world, order);
            }
            ++next;
        }
        setSimulatedClock(static_cast<int32_t>(step * replay.header.tickMs));
        world.step();
        battleHash(world);
        const std::vector<std::string> broken = brokenInvariants(world);
        if (!broken.empty()) {
            stop("after step " + std::to_string(step) + ": " + broken.front());
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    startQuietly();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::string error;
    const std::optional<Replay> replay = readReplay(in, error);
    if (!replay) {
        if (error.empty() || error.find('\n') != std::string::npos) {
            stop("a refusal must be one line: '" + error + "'");
        }
        return 0;
    }
    requireRoundTrip(*replay);
    setSimulatedClock(0);
    seedGameRand(replay->header.seed);
    World world;
    std::istringstream map(replay->header.map);
    if (!world.loadMap(map, "fuzz")) {
        return 0;
    }
    world.commandedTeams = replay->header.commandedTeams;
    if (world.columns * world.rows <= kMostFoughtTiles &&
        world.entities.size() <= kMostFoughtSoldiers && ordersFit(world, *replay)) {
        fight(world, *replay);
    }
    return 0;
}
