#pragma once

#include <algorithm>
#include <cmath>

#include "world/World.h"

// How a march ended: the two points were the same, a tested point hit, or the ray ran clear.
enum class RayOutcome { Identical, Hit, Clear };

namespace ray {

// Rays from farther out than this are not marched: stepping one tile at a time from there
// would take practically forever.
constexpr double kFarthestOrigin = 1e9;

// The floor of a point lies below a whole bound exactly when the point does, so the grid
// tests need no floor.
inline bool isOnGrid(const World& world, double px, double py) {
    return px >= 0 && px < world.columns && py >= 0 && py < world.rows;
}

// Once the point is off the grid and moving away from it, no later point can be tested.
inline bool isLeavingGrid(const World& world, double px, double py, double sx, double sy) {
    return (px < 0 && sx <= 0) || (px >= world.columns && sx >= 0) || (py < 0 && sy <= 0) ||
           (py >= world.rows && sy >= 0);
}

// The World's isObstacleAt for a point on the grid, where truncation is the floor.
inline bool isWallAt(const World& world, double px, double py) {
    if (!(px < world.tiles.columns() && py < world.tiles.rows())) {
        return true;
    }
    return world.tiles[static_cast<int>(px)][static_cast<int>(py)] == TileKind::Obstacle;
}

inline bool isMarchable(double ox, double oy, double sx, double sy) {
    return std::isfinite(sx) && std::isfinite(sy) && std::fabs(ox) <= kFarthestOrigin &&
           std::fabs(oy) <= kFarthestOrigin;
}

}  // namespace ray

// Walks the points one step apart from the origin (or its first step) toward the end point,
// up to the first point within one step of the end or beyond it, and applies the tile test to
// those on the grid. The point advances by adding the step, never by multiplying, so every
// soldier's rays land on the same doubles run after run.
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
    if (!ray::isMarchable(ox, oy, sx, sy)) {
        return RayOutcome::Clear;
    }
    double px = ox;
    double py = oy;
    if (startOneStepOut) {
        px += sx;
        py += sy;
    }
    for (;;) {
        if (ray::isOnGrid(world, px, py) && hits(px, py)) {
            return RayOutcome::Hit;
        }
        const bool done = (px > tx - sx && px > ox) || (px < tx - sx && px < ox) ||
                          (py > ty - sy && py > oy) || (py < ty - sy && py < oy) ||
                          (px == tx - sx && py == ty - sy);
        px += sx;
        py += sy;
        if (done || ray::isLeavingGrid(world, px, py, sx, sy)) {
            return RayOutcome::Clear;
        }
    }
}
