#include <cmath>
#include <cstdint>
#include <memory>

#include "ai/Entity.h"
#include "base/TileOf.h"
#include "world/FogReach.h"
#include "world/SightMemory.h"
#include "world/World.h"

namespace {

// A tile joins the team's memory once its fog is thinner than this.
constexpr double kDiscoveredBelow = 0.8;

struct FogTarget {
    Grid<double>& fog;
    Grid<int32_t>& known;
};

// Thins one fog cell that a soldier sees, at distance d, and lets its team discover the tile.
void lightCell(World& world, FogTarget team, int fx, int fy, double d) {
    const int r = world.fogResolution;
    double& cell = team.fog[fx][fy];
    cell = cell - r * ((kFogReach * r + 1 - d) * (1.0 / r) * 0.0625);
    // The tile is judged before the clamp below.
    const int tileX = fx / r;
    const int tileY = fy / r;
    if (team.fog[tileX][tileY] < kDiscoveredBelow) {
        team.known[tileX][tileY] = world.tiles[tileX][tileY];
    }
    if (cell < 0) {
        cell = 0;
    }
}

double distanceToCorner(int r, int ex, int ey, int fx, int fy) {
    const double cornerX = fx - r * (ex + 0.25);
    const double cornerY = fy - r * (ey + 0.25);
    return std::sqrt(cornerX * cornerX + cornerY * cornerY);
}

// Lights the fog cells around one soldier, casting a ray to each cell within sight range.
void lightAround(World& world, const Entity& e, FogTarget team, int ex, int ey) {
    const int r = world.fogResolution;
    for (int fx = r * ex - kFogReach * r; fx < r * ex + (kFogReach + 1) * r; ++fx) {
        for (int fy = r * ey - kFogReach * r; fy < r * ey + (kFogReach + 1) * r; ++fy) {
            if (!(0 <= fx && fx < r * world.columns && 0 <= fy && fy < r * world.rows)) {
                continue;
            }
            const double d = distanceToCorner(r, ex, ey, fx, fy);
            // Distance before sight: a ray changes nothing, so only the time taken differs.
            if (!(d <= kFogReach * r) ||
                !e.hasLineOfSight(static_cast<double>(fx) / r, static_cast<double>(fy) / r)) {
                continue;
            }
            lightCell(world, team, fx, fy, d);
        }
    }
}

// The same for a soldier standing on a whole tile with one fog cell per tile, which is how the
// game always is: the cells it sees come from the sight memory, in the same order.
void lightAroundFromMemory(World& world, const Entity& e, FogTarget team, int ex, int ey) {
    const auto& seen = world.sightMemory->cellsSeenBy(world, e, ex, ey);
    for (int i = 0; i < SightMemory::kWindow; ++i) {
        const uint64_t column = seen[static_cast<std::size_t>(i)];
        for (int k = 0; column != 0 && k < SightMemory::kWindow; ++k) {
            if ((column >> k) & 1) {
                const int fx = ex - kFogReach + i;
                const int fy = ey - kFogReach + k;
                lightCell(world, team, fx, fy, distanceToCorner(1, ex, ey, fx, fy));
            }
        }
    }
}

void lightAroundSoldier(World& world, const Entity& e, FogTarget team) {
    const int ex = tileOf(e.x);
    const int ey = tileOf(e.y);
    // Nobody stands that far off the map, but the window arithmetic must not overflow if so.
    if (ex < -kFogReach || ex > world.columns + kFogReach || ey < -kFogReach ||
        ey > world.rows + kFogReach) {
        return;
    }
    if (world.fogResolution == 1 && e.x == ex && e.y == ey) {
        lightAroundFromMemory(world, e, team, ex, ey);
    } else {
        lightAround(world, e, team, ex, ey);
    }
}

}  // namespace

void World::computeFog(int team) {
    if ((team != Team::Red && team != Team::Blue) || fogResolution < 1) {
        return;
    }
    FogTarget target =
        team == Team::Red ? FogTarget{redFog, redKnownTiles} : FogTarget{blueFog, blueKnownTiles};
    target.fog.fill(1.0);
    if (!sightMemory) {
        sightMemory = std::make_unique<SightMemory>();
    }
    for (const Entity* e : entities) {
        if (e->team == team) {
            lightAroundSoldier(*this, *e, target);
        }
    }
}
