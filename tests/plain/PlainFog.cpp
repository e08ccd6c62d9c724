#include "PlainFog.h"

#include <cmath>

#include "ai/Entity.h"
#include "base/TileOf.h"
#include "world/World.h"

namespace {

constexpr int kFogReach = 16;
constexpr double kDiscoveredBelow = 0.8;

void lightAround(World& world, const Entity& e, Grid<double>& fog, Grid<int32_t>& known) {
    const int r = world.fogResolution;
    const int ex = tileOf(e.x);
    const int ey = tileOf(e.y);
    if (ex < -kFogReach || ex > world.columns + kFogReach || ey < -kFogReach ||
        ey > world.rows + kFogReach) {
        return;
    }
    for (int fx = r * ex - kFogReach * r; fx < r * ex + (kFogReach + 1) * r; ++fx) {
        for (int fy = r * ey - kFogReach * r; fy < r * ey + (kFogReach + 1) * r; ++fy) {
            if (!(0 <= fx && fx < r * world.columns && 0 <= fy && fy < r * world.rows)) {
                continue;
            }
            const double d = std::sqrt((fx - r * (ex + 0.25)) * (fx - r * (ex + 0.25)) +
                                       (fy - r * (ey + 0.25)) * (fy - r * (ey + 0.25)));
            if (!e.hasLineOfSight(static_cast<double>(fx) / r, static_cast<double>(fy) / r)) {
                continue;
            }
            if (!(d <= kFogReach * r)) {
                continue;
            }
            fog[fx][fy] = fog[fx][fy] - r * ((kFogReach * r + 1 - d) * (1.0 / r) * 0.0625);
            if (fog[fx / r][fy / r] < kDiscoveredBelow) {
                known[fx / r][fy / r] = world.tiles[fx / r][fy / r];
            }
            if (fog[fx][fy] < 0) {
                fog[fx][fy] = 0;
            }
        }
    }
}

}  // namespace

void plainComputeFog(World& world, int team) {
    if ((team != Team::Red && team != Team::Blue) || world.fogResolution < 1) {
        return;
    }
    Grid<double>& fog = team == Team::Red ? world.redFog : world.blueFog;
    Grid<int32_t>& known = team == Team::Red ? world.redKnownTiles : world.blueKnownTiles;
    fog.fill(1.0);
    for (const Entity* e : world.entities) {
        if (e->team == team) {
            lightAround(world, *e, fog, known);
        }
    }
}
