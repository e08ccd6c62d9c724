// One simulation frame (the World's step and both teams' fog, as the game does per frame) in a
// running battle, and the fog alone. Built twice: dromlin-bench-sim with the game's algorithms,
// dromlin-bench-sim-plain with the plain ones. Run both through bench/run.sh.
#include <benchmark/benchmark.h>

#include "Cases.h"
#include "Fields.h"
#include "Runner.h"
#include "world/BattleHash.h"
#include "world/World.h"

namespace {

// Both teams fight on their own, 16 simulated milliseconds per frame, a fixed seed.
RunOptions battleOn(const Field& field) {
    RunOptions options;
    options.mapFile = mapFileOf(field);
    options.seed = 1;
    options.tickMs = 16;
    options.view = 2;
    return options;
}

// Every iteration is the next frame of one battle, so the benchmark's fixed iteration count
// is the number of frames and both builds measure the same frames.
void simulationFrame(benchmark::State& state, const Field& field) {
    Battle battle(battleOn(field));
    if (!battle.load()) {
        state.SkipWithError("the map did not load");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        battle.step(++step);
    }
    state.counters["soldiers"] = static_cast<double>(battle.world().entities.size());
    state.counters["bullets"] = static_cast<double>(battle.world().bullets.size());
}

// Loads the battle and fights its first `warmUp` frames; false, with the benchmark skipped, when
// the map does not load.
bool warmedUp(benchmark::State& state, Battle& battle, int warmUp) {
    if (!battle.load()) {
        state.SkipWithError("the map did not load");
        return false;
    }
    for (int step = 1; step <= warmUp; ++step) {
        battle.step(step);
    }
    return true;
}

// Both teams' fog, again and again, on the battle as it stands after `warmUp` frames.
void fogAlone(benchmark::State& state, const Field& field, int warmUp) {
    Battle battle(battleOn(field));
    if (!warmedUp(state, battle, warmUp)) {
        return;
    }
    World& world = battle.world();
    for (auto _ : state) {
        world.computeFogs();
        benchmark::DoNotOptimize(world.redFog[0]);
    }
}

// The battle's hash, which a replay takes every 60 frames and a network peer might take every
// frame, on the battle as it stands after `warmUp` frames.
void battleHashAlone(benchmark::State& state, const Field& field, int warmUp) {
    Battle battle(battleOn(field));
    if (!warmedUp(state, battle, warmUp)) {
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(battleHash(battle.world()));
    }
}

// Fixed iteration counts: the set-up is a whole battle, run once per repetition, and both
// builds must measure the same frames. The plain build is only run on the first 200 frames of
// the largest battle (bench/run.sh), which take it minutes already.
struct FrameCase {
    const char* name;
    Field field;
    Runs runs;
};

constexpr FrameCase kFrameCases[] = {
    {"map1", kShippedMap, {.iterations = 3000, .repetitions = 3}},
    {"battle128", kBattle128, {.iterations = 1000}},
    {"battle256_first200", kBattle256, {.iterations = 200}},
    {"battle256", kBattle256, {.iterations = 2000}},
};

struct FogCase {
    const char* name;
    Field field;
    int warmUp;
    Runs runs;
};

constexpr FogCase kFogCases[] = {
    {"map1", kShippedMap, 500, {.iterations = 500, .repetitions = 3}},
    {"battle128", kBattle128, 100, {.iterations = 100, .repetitions = 3}},
    {"battle256", kBattle256, 20, {.iterations = 30}},
};

// The same shape as a fog case: a warmed-up battle.
using HashCase = FogCase;

constexpr HashCase kHashCases[] = {
    {"map1", kShippedMap, 500, {.iterations = 5000, .repetitions = 3}},
    {"battle128", kBattle128, 100, {.iterations = 1000, .repetitions = 3}},
    {"battle256", kBattle256, 20, {.iterations = 300, .repetitions = 3}},
};

void registerCases() {
    for (const FrameCase& c : kFrameCases) {
        registerCase("simulationFrame", c.name, c.runs, benchmark::kMicrosecond, simulationFrame,
                     c.field);
    }
    for (const FogCase& c : kFogCases) {
        registerCase("fogAlone", c.name, c.runs, benchmark::kMicrosecond, fogAlone, c.field,
                     c.warmUp);
    }
    for (const HashCase& c : kHashCases) {
        registerCase("battleHash", c.name, c.runs, benchmark::kMicrosecond, battleHashAlone,
                     c.field, c.warmUp);
    }
}

}  // namespace

int main(int argc, char** argv) {
    registerCases();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
