#include "PlainRayMarch.h"

#include <algorithm>
#include <cmath>

#include "ai/Entity.h"
#include "base/TileOf.h"
#include "world/World.h"

namespace {

constexpr double kFarthestOrigin = 1e9;

enum class RayOutcome { Identical, Hit, Clear };

bool isOnGrid(const World& world, double px, double py) {
    return px >= 0 && std::floor(px) < world.columns && py >= 0 && std::floor(py) < world.rows;
}

bool isLeavingGrid(const World& world, double px, double py, double sx, double sy) {
    return (px < 0 && sx <= 0) || (std::floor(px) >= world.columns && sx >= 0) ||
           (py < 0 && sy <= 0) || (std::floor(py) >= world.rows && sy >= 0);
}

bool isMarchable(double ox, double oy, double sx, double sy) {
    return std::isfinite(sx) && std::isfinite(sy) && std::fabs(ox) <= kFarthestOrigin &&
           std::fabs(oy) <= kFarthestOrigin;
}

template <class TileTest>
RayOutcome marchRay(const World& world, double ox, double oy, double tx, double ty,
                    bool startOneStepOut, TileTest hits) {
    if (ox == tx && oy == ty) {
        return RayOutcome::Identical;
    }
    const double dx = tx - ox;
    const double dy = ty - oy;
    const double m = std::max(std::fabs(dx), std::fabs(dy));
    const double sx = dx / m;
    const double sy = dy / m;
    if (!isMarchable(ox, oy, sx, sy)) {
        return RayOutcome::Clear;
    }
    double px = ox;
    double py = oy;
    if (startOneStepOut) {
        px += sx;
        py += sy;
    }
    for (;;) {
        if (isOnGrid(world, px, py) && hits(px, py)) {
            return RayOutcome::Hit;
        }
        const bool done = (px > tx - sx && px > ox) || (px < tx - sx && px < ox) ||
                          (py > ty - sy && py > oy) || (py < ty - sy && py < oy) ||
                          (px == tx - sx && py == ty - sy);
        px += sx;
        py += sy;
        if (done || isLeavingGrid(world, px, py, sx, sy)) {
            return RayOutcome::Clear;
        }
    }
}

}  // namespace

bool plainHasLineOfSight(const Entity& e, double tx, double ty) {
    const World& w = *e.world;
    return marchRay(w, e.x, e.y, tx, ty, false, [&w](double px, double py) {
               return w.isObstacleAt(px, py);
           }) != RayOutcome::Hit;
}

bool plainIsFriendInLineOfFire(const Entity& e, double tx, double ty) {
    const World& w = *e.world;
    const int team = e.team;
    return marchRay(w, e.x, e.y, tx, ty, true, [&w, team](double px, double py) {
               return w.isTeamOnTile(tileOf(px), tileOf(py), team);
           }) != RayOutcome::Clear;
}

bool plainIsLineClear(const Entity& e, double ax, double ay, double bx, double by) {
    const World& w = *e.world;
    return marchRay(w, ax, ay, bx, by, true, [&w](double px, double py) {
               return w.isEntityOnTile(tileOf(px), tileOf(py)) || w.isObstacleAt(px, py);
           }) != RayOutcome::Hit;
}
