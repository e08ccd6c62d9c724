#include <cmath>

#include "ai/Entity.h"
#include "ai/TileOf.h"
#include "world/World.h"

namespace {

// Fog cells from a soldier's tile to the edge of its sight window, along each axis.
constexpr int kFogReach = 16;
// A tile joins the team's memory once its fog is thinner than this.
constexpr double kDiscoveredBelow = 0.8;

struct FogTarget {
    Grid<double>& fog;
    Grid<int32_t>& known;
};

// Lights the fog cells around one soldier and lets its team discover the tiles it lights.
void lightAround(World& world, const Entity& e, FogTarget team) {
    const int r = world.fogResolution;
    const int ex = tileOf(e.x);
    const int ey = tileOf(e.y);
    // Nobody stands that far off the map, but the window arithmetic must not overflow if so.
    if (ex < -kFogReach || ex > world.columns + kFogReach || ey < -kFogReach ||
        ey > world.rows + kFogReach) {
        return;
    }
    for (int fx = r * ex - kFogReach * r; fx < r * ex + (kFogReach + 1) * r; ++fx) {
        for (int fy = r * ey - kFogReach * r; fy < r * ey + (kFogReach + 1) * r; ++fy) {
            if (!(0 <= fx && fx < r * world.columns && 0 <= fy && fy < r * world.rows)) {
                continue;
            }
            const double cornerX = fx - r * (ex + 0.25);
            const double cornerY = fy - r * (ey + 0.25);
            const double d = std::sqrt(cornerX * cornerX + cornerY * cornerY);
            // Distance before sight: a ray changes nothing, so only the time taken differs.
            if (!(d <= kFogReach * r) ||
                !e.hasLineOfSight(static_cast<double>(fx) / r, static_cast<double>(fy) / r)) {
                continue;
            }
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
    for (const Entity* e : entities) {
        if (e->team == team) {
            lightAround(*this, *e, target);
        }
    }
}
