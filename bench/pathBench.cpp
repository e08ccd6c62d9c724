// Full floods: the goal can never be reached, so both searches visit every reachable tile and
// then fall back. Run: build/dromlin-bench-path
#include <benchmark/benchmark.h>

#include <memory>

#include "path/Path.h"
#include "plain/PlainSearch.h"
#include "world/World.h"

namespace {

constexpr int kSides[][2] = {{40, 25}, {128, 128}, {256, 256}};
enum MapKind { Open, Walls, Rooms };
constexpr const char* kMapNames[] = {"open", "walls", "rooms"};

// Short wall segments scattered over open ground, like the game's own battlefield.
bool isSegmentWall(int x, int y) {
    const int bx = x % 10;
    const int by = y % 8;
    return (by == 2 && bx >= 2 && bx < 6) || (bx == 7 && by >= 3 && by < 7);
}

// Closed rooms of 8 x 8 tiles, each wall with a two-tile door in its middle: a narrow
// frontier, the plain search's best case.
bool isRoomWall(int x, int y) {
    const bool wallColumn = x % 8 == 7;
    const bool wallRow = y % 8 == 7;
    const int along = wallColumn ? y % 8 : x % 8;
    return (wallColumn || wallRow) && !(along == 3 || along == 4);
}

void buildWalls(World& world, MapKind kind) {
    for (int x = 0; x < world.columns; ++x) {
        for (int y = 0; y < world.rows; ++y) {
            const bool wall =
                (kind == Walls && isSegmentWall(x, y)) || (kind == Rooms && isRoomWall(x, y));
            if (wall) {
                world.tiles[x][y] = TileKind::Obstacle;
            }
        }
    }
}

// A red soldier in the top-left corner; the goal is a blue soldier's tile in the far corner.
std::unique_ptr<World> makeBattlefield(int columns, int rows, MapKind kind) {
    auto world = std::make_unique<World>();
    world->columns = columns;
    world->rows = rows;
    world->tiles.reset(columns, rows, TileKind::BaseTile);
    buildWalls(*world, kind);
    world->tiles[0][0] = TileKind::BaseTile;
    world->tiles[columns - 1][rows - 1] = TileKind::BaseTile;
    world->addEntity(0, 0, 0);
    world->addEntity(1, columns - 1, rows - 1);
    return world;
}

void fastSearch(benchmark::State& state) {
    const auto& side = kSides[state.range(0)];
    auto world = makeBattlefield(side[0], side[1], static_cast<MapKind>(state.range(1)));
    for (auto _ : state) {
        const Path path(0, 0, side[0] - 1, side[1] - 1, side[0], side[1], world.get());
        benchmark::DoNotOptimize(path.waypoints.data());
    }
    state.SetLabel(kMapNames[state.range(1)]);
}

void plainSearchFlood(benchmark::State& state) {
    const auto& side = kSides[state.range(0)];
    auto world = makeBattlefield(side[0], side[1], static_cast<MapKind>(state.range(1)));
    for (auto _ : state) {
        const SearchResult result =
            plainSearch(0, 0, side[0] - 1, side[1] - 1, side[0], side[1], *world);
        benchmark::DoNotOptimize(result.waypoints.data());
    }
    state.SetLabel(kMapNames[state.range(1)]);
}

}  // namespace

BENCHMARK(fastSearch)
    ->ArgsProduct({{0, 1, 2}, {Open, Walls, Rooms}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(plainSearchFlood)
    ->ArgsProduct({{0, 1, 2}, {Open, Walls, Rooms}})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
