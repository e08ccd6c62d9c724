// Feeds arbitrary bytes to the map loader as a map file. A map it accepts is then fought for
// a few dozen steps with both fogs after each, as the game would, and every rule of a sound
// battle is checked after every step: a broken rule aborts, so the fuzzer keeps the input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "Invariants.h"
#include "QuietStart.h"
#include "ai/Entity.h"
#include "base/GameClock.h"
#include "base/GameRandom.h"
#include "base/Problem.h"
#include "gfx/ResourceCatalogue.h"
#include "world/Order.h"
#include "world/World.h"

namespace {

// Larger battles only load: a step of a big crowded map is too slow to fuzz.
constexpr int kMostFoughtTiles = 64 * 64;
constexpr std::size_t kMostFoughtSoldiers = 16;
constexpr int kSteps = 24;
// Long enough between steps for shots, reloads and gun switches to fall due.
constexpr int32_t kStepMs = 400;
constexpr int kDefaultColumns = 40;
constexpr int kDefaultRows = 25;

void stopOn(const std::vector<std::string>& broken, int step) {
    if (broken.empty()) {
        return;
    }
    std::fprintf(stderr, "after step %d:\n", step);
    for (const std::string& line : broken) {
        std::fprintf(stderr, "  %s\n", line.c_str());
    }
    std::abort();
}

void requireUntouched(const World& world) {
    if (world.columns != kDefaultColumns || world.rows != kDefaultRows || !world.entities.empty() ||
        world.tiles.columns() != kDefaultColumns) {
        std::fprintf(stderr, "a refused map changed the World\n");
        std::abort();
    }
}

void fight(World& world) {
    world.computeFogs();
    stopOn(brokenInvariants(world), 0);
    for (int step = 1; step <= kSteps; ++step) {
        setSimulatedClock(step * kStepMs);
        world.step();
        stopOn(brokenInvariants(world), step);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    startQuietly();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    setSimulatedClock(0);
    seedGameRand(static_cast<unsigned>(size));
    ResourceCatalogue::instance()->viewMode = static_cast<int>(size % 3);
    World world;
    world.commandedTeams = commandedTeamsInView(ResourceCatalogue::instance()->viewMode);
    std::istringstream in(bytes);
    if (!world.loadMap(in, "fuzz")) {
        requireUntouched(world);
        return 0;
    }
    stopOn(brokenInvariants(world), 0);
    if (world.columns * world.rows <= kMostFoughtTiles &&
        world.entities.size() <= kMostFoughtSoldiers) {
        fight(world);
    }
    return 0;
}
