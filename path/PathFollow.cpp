#include <memory>

#include "ai/Entity.h"
#include "base/TileOf.h"
#include "path/Path.h"
#include "world/World.h"

namespace {

constexpr double kNoGoal = -1.0;
constexpr int kNoStep = -1;

std::unique_ptr<Path> planFromHere(const Entity& entity) {
    World* const world = entity.world;
    const int columns = world == nullptr ? 0 : world->columns;
    const int rows = world == nullptr ? 0 : world->rows;
    return std::make_unique<Path>(tileOf(entity.x), tileOf(entity.y), tileOf(entity.goalX),
                                  tileOf(entity.goalY), columns, rows, world);
}

// The soldier moves one whole tile; the drawing slides the sprite from (stepX, stepY).
void hopToNextWaypoint(Entity& entity) {
    Path& path = *entity.path;
    const Waypoint* const from = path.currentWaypoint();
    if (from != nullptr) {
        entity.stepX = from->x;
        entity.stepY = from->y;
        // current moves on even when the next tile is taken; the route is checked from there.
        const Waypoint* const next = path.advance();
        if (next != nullptr && entity.world->isTileFree(next->x, next->y)) {
            entity.x = next->x;
            entity.y = next->y;
        }
    }
    entity.moveProgress = 0;
}

}  // namespace

Path* Entity::requestPath(int column, int row) {
    goalX = column;
    goalY = row;
    path.reset();
    path = planFromHere(*this);
    return path.get();
}

void Entity::followPath() {
    double increment = speed;
    // Diagonal steps take longer: the pace is set by the step that entered the current tile.
    const Waypoint* const here = path ? path->currentWaypoint() : nullptr;
    if (here != nullptr && here->stepCost != 0) {
        increment = speed * (10.0 / here->stepCost);
    }
    moveProgress += increment;
    if (!path) {
        stepX = kNoStep;
        stepY = kNoStep;
        return;
    }
    if (moveProgress > 1.0) {
        if ((goalX == x && goalY == y) || goalX == kNoGoal || goalY == kNoGoal) {
            path.reset();
            goalX = kNoGoal;
            goalY = kNoGoal;
            halted = true;
            stepX = kNoStep;
            stepY = kNoStep;
            return;
        }
        // Also true at the end of a fallback route, which sends the search out again from there.
        if (!path->isRemainingPathClear()) {
            path.reset();
            path = planFromHere(*this);
        }
    }
    if (moveProgress > 1.0) {
        hopToNextWaypoint(*this);
    }
}

void World::clearPaths() {
    for (Entity* const entity : entities) {
        entity->goalX = kNoGoal;
        entity->goalY = kNoGoal;
        entity->path.reset();
    }
}
