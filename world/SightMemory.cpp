#include "world/SightMemory.h"

#include <cmath>

#include "ai/Entity.h"
#include "world/World.h"

namespace {

bool sameSurroundings(const auto& a, const auto& b) {
    return a.ex == b.ex && a.ey == b.ey && a.columns == b.columns && a.rows == b.rows &&
           a.tileColumns == b.tileColumns && a.tileRows == b.tileRows && a.walls == b.walls;
}

}  // namespace

// Everything a ray from the soldier's tile into its window depends on: where it stands, the
// grid's sizes, and which tiles within reach block sight, as the ray march judges them.
SightMemory::Record SightMemory::surroundings(const World& world, int ex, int ey) {
    Record record;
    record.ex = ex;
    record.ey = ey;
    record.columns = world.columns;
    record.rows = world.rows;
    record.tileColumns = world.tiles.columns();
    record.tileRows = world.tiles.rows();
    for (int i = 0; i < kWallWindow; ++i) {
        const int x = ex - kWallReach + i;
        if (x < 0 || x >= world.columns) {
            continue;
        }
        uint64_t column = 0;
        for (int k = 0; k < kWallWindow; ++k) {
            const int y = ey - kWallReach + k;
            const bool onGrid = y >= 0 && y < world.rows;
            const bool wall =
                onGrid && (!world.tiles.contains(x, y) || world.tiles[x][y] == TileKind::Obstacle);
            column |= static_cast<uint64_t>(wall) << k;
        }
        record.walls[static_cast<std::size_t>(i)] = column;
    }
    return record;
}

void SightMemory::castRays(const World& world, const Entity& e, Record& record) {
    for (int i = 0; i < kWindow; ++i) {
        const int fx = record.ex - kFogReach + i;
        uint64_t column = 0;
        for (int k = 0; k < kWindow; ++k) {
            const int fy = record.ey - kFogReach + k;
            if (!(0 <= fx && fx < world.columns && 0 <= fy && fy < world.rows)) {
                continue;
            }
            const double cornerX = fx - (record.ex + 0.25);
            const double cornerY = fy - (record.ey + 0.25);
            const double d = std::sqrt(cornerX * cornerX + cornerY * cornerY);
            const bool seen = d <= kFogReach && e.hasLineOfSight(fx, fy);
            column |= static_cast<uint64_t>(seen) << k;
        }
        record.seen[static_cast<std::size_t>(i)] = column;
    }
}

const std::array<uint64_t, SightMemory::kWindow>& SightMemory::cellsSeenBy(const World& world,
                                                                           const Entity& e, int ex,
                                                                           int ey) {
    Record now = surroundings(world, ex, ey);
    const auto found = records_.find(&e);
    if (found != records_.end() && sameSurroundings(now, found->second)) {
        return found->second.seen;
    }
    castRays(world, e, now);
    Record& kept = records_[&e];
    kept = now;
    return kept.seen;
}
