#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "ai/Entity.h"
#include "ai/TileOf.h"
#include "world/World.h"

namespace {

// A soldier spots a tile within this many tiles of it.
constexpr double kSightRange = 15.0;
// Starting "best" distances: larger than any distance on a map.
constexpr double kNoTargetYet = 100000000000.0;
constexpr double kNoThreatYet = 1000000.0;
// Rays from farther out than this are not marched: stepping one tile at a time from there
// would take practically forever.
constexpr double kFarthestOrigin = 1e9;

enum class RayOutcome { Identical, Hit, Clear };

bool isOnGrid(const World& world, double px, double py) {
    return px >= 0 && std::floor(px) < world.columns && py >= 0 && std::floor(py) < world.rows;
}

// Once the point is off the grid and moving away from it, no later point can be tested.
bool isLeavingGrid(const World& world, double px, double py, double sx, double sy) {
    return (px < 0 && sx <= 0) || (std::floor(px) >= world.columns && sx >= 0) ||
           (py < 0 && sy <= 0) || (std::floor(py) >= world.rows && sy >= 0);
}

bool isMarchable(double ox, double oy, double sx, double sy) {
    return std::isfinite(sx) && std::isfinite(sy) && std::fabs(ox) <= kFarthestOrigin &&
           std::fabs(oy) <= kFarthestOrigin;
}

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

bool isLivingEnemyOf(const Entity& other, const Entity& self) {
    return other.team != self.team && other.health > 0;
}

double tileDistance(double x, double y, const Entity& other) {
    return distance(x, y, tileOf(other.x), tileOf(other.y));
}

bool isThreatTo(const Entity& other, const Entity& self, bool pursuersOnly) {
    return isLivingEnemyOf(other, self) && other.target == &self &&
           (!pursuersOnly || other.state == EntityState::Pursue);
}

bool hasThreat(const Entity& self, bool pursuersOnly) {
    const std::vector<Entity*>& list = *self.allEntities;
    return std::any_of(list.begin(), list.end(), [&self, pursuersOnly](const Entity* other) {
        return isThreatTo(*other, self, pursuersOnly);
    });
}

// Ties go to the earlier one in the list.
Entity* nearestThreat(const Entity& self, bool pursuersOnly) {
    Entity* nearest = nullptr;
    double best = kNoThreatYet;
    for (Entity* other : *self.allEntities) {
        if (!isThreatTo(*other, self, pursuersOnly)) {
            continue;
        }
        const double d = tileDistance(self.x, self.y, *other);
        if (d < best) {
            best = d;
            nearest = other;
        }
    }
    return nearest;
}

}  // namespace

bool Entity::hasLineOfSight(double tx, double ty) const {
    const World& w = *world;
    return marchRay(w, x, y, tx, ty, false, [&w](double px, double py) {
               return w.isObstacleAt(px, py);
           }) != RayOutcome::Hit;
}

bool Entity::isFriendInLineOfFire(double tx, double ty) const {
    const World& w = *world;
    const int ownTeam = team;
    const RayOutcome outcome = marchRay(w, x, y, tx, ty, true, [&w, ownTeam](double px, double py) {
        return w.isTeamOnTile(tileOf(px), tileOf(py), ownTeam);
    });
    return outcome != RayOutcome::Clear;
}

bool Entity::isLineClear(double ax, double ay, double bx, double by) const {
    const World& w = *world;
    return marchRay(w, ax, ay, bx, by, true, [&w](double px, double py) {
               return w.isEntityOnTile(tileOf(px), tileOf(py)) || w.isObstacleAt(px, py);
           }) != RayOutcome::Hit;
}

bool Entity::canSeePoint(double tx, double ty) const {
    if (distance(x, y, tx, ty) < kSightRange) {
        return hasLineOfSight(tx, ty);
    }
    for (const Entity* mate : *allEntities) {
        if (mate->team == team && tileDistance(tx, ty, *mate) <= kSightRange &&
            mate->hasLineOfSight(tx, ty)) {
            return true;
        }
    }
    return false;
}

bool Entity::canSeeEntity(const Entity& other) const {
    return canSeePoint(tileOf(other.x), tileOf(other.y));
}

bool Entity::isTargetSpotted() const {
    if (target == nullptr) {
        return false;
    }
    const int tx = tileOf(target->x);
    const int ty = tileOf(target->y);
    for (const Entity* mate : *allEntities) {
        if (mate->team == team && tileDistance(tx, ty, *mate) <= kSightRange &&
            hasLineOfSight(tx, ty) && target->health > 0) {
            return true;
        }
    }
    return false;
}

void Entity::acquireTarget() {
    const std::vector<Entity*>& list = *allEntities;
    const std::size_t count = list.size();
    double best = kNoTargetYet;
    for (std::size_t i = 0; i < count; ++i) {
        const Entity& candidate = *list[i];
        if (!isLivingEnemyOf(candidate, *this)) {
            continue;
        }
        const int cx = tileOf(candidate.x);
        const int cy = tileOf(candidate.y);
        const double d = distance(x, y, cx, cy);
        if (!(d < best)) {
            continue;
        }
        // No early exit: every qualifying spotter makes the same assignment again.
        for (std::size_t k = 0; k < count; ++k) {
            const Entity& mate = *list[k];
            if (mate.team == team && tileDistance(cx, cy, mate) <= kSightRange &&
                hasLineOfSight(cx, cy)) {
                target = world->entityAt(cx, cy);
                best = d;
            }
        }
    }
}

bool Entity::isTargetedByEnemy() const {
    return hasThreat(*this, false);
}

bool Entity::isPursuedByEnemy() const {
    return hasThreat(*this, true);
}

Entity* Entity::nearestEnemyTargeting() const {
    return nearestThreat(*this, false);
}

Entity* Entity::nearestPursuer() const {
    return nearestThreat(*this, true);
}
