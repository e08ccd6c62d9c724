#include <algorithm>
#include <cstddef>
#include <vector>

#include "ai/Entity.h"
#include "base/TileOf.h"
#include "world/World.h"

namespace {

// A soldier spots a tile within this many tiles of it.
constexpr double kSightRange = 15.0;
// Starting "best" distances: larger than any distance on a map.
constexpr double kNoTargetYet = 100000000000.0;
constexpr double kNoThreatYet = 1000000.0;

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
